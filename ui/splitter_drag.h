// Dragging the two splitters: the horizontal one (HBar, between the tree and
// the tab control) and the vertical one (VBar, left of the data sheet). While
// the left button drags, an indicator bar (HBar1 / VBar1) follows the pointer;
// a limit bar (HBar2 / VBar2) stands in for it at a limit. On release the
// splitter jumps to the indicator and the panes beside it are resized.
//
// The rules are deliberately uneven and kept so: the upper limit also catches
// a position equal to it while the left limit does not; the upper and left
// checks look at where the indicator was left by the previous move, so the
// pointer must stay past those limits for two moves; a move stops at
// OH - 1300 but a release measures OH - T - 1000; the release steps work from
// the outer frame size with fixed allowances (700 below the tab control, 120
// right of the sheet) rather than from the client area.
#pragma once

#include "pane_layout.h"

namespace ui {

enum class SplitterCursor { Arrow, SizeNorthSouth, SizeWestEast };

// Pressed mouse buttons as flags; a move acts only when exactly LeftButton is
// pressed.
enum MouseButtonFlag : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

constexpr int kUpperLimit = 600;          // highest top of HBar during a drag
constexpr int kLowerMargin = 1000;        // HBar's distance kept from the frame's bottom
constexpr int kLowerMoveAllowance = 300;  // extra distance used while moving
constexpr int kLeftLimit = 500;           // leftmost left of VBar during a drag
constexpr int kRightMargin = 600;         // VBar's distance kept from the frame's right
constexpr int kLimitNudge = 10;           // press at a limit steps back by this much
constexpr int kTabStripBottomAllowance = 700;
constexpr int kSheetRightAllowance = 120;

// Everything a drag remembers between events. The limit flags outlive a drag:
// a flag left set changes where the next press and release put the splitter.
struct SplitterDragState {
    bool atUpperLimit = false;
    bool atLowerLimit = false;
    bool atLeftLimit = false;
    bool atRightLimit = false;
    bool horizontalDragBarShown = false;
    bool horizontalLimitBarShown = false;
    bool verticalDragBarShown = false;
    bool verticalLimitBarShown = false;
    SplitterCursor cursor = SplitterCursor::Arrow;  // the cursor the last event asked for
};

// y and x are the pointer's position within HBar / VBar in twips; buttons are
// MouseButtonFlag values or'ed together.
void hbarPress(PaneGeometry& g, SplitterDragState& s);
void hbarMove(PaneGeometry& g, SplitterDragState& s, int buttons, int y, const LayoutFrame& frame);
SkippedList hbarRelease(PaneGeometry& g, SplitterDragState& s, const LayoutFrame& frame);

void vbarPress(PaneGeometry& g, SplitterDragState& s);
void vbarMove(PaneGeometry& g, SplitterDragState& s, int buttons, int x, const LayoutFrame& frame);
SkippedList vbarRelease(PaneGeometry& g, SplitterDragState& s, const LayoutFrame& frame);

}  // namespace ui
