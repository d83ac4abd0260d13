#include "splitter_drag.h"

namespace ui {

namespace {

void showHbarIndicator(SplitterDragState& s, bool limitBar) {
    s.hbar1Visible = !limitBar;
    s.hbar2Visible = limitBar;
}

void showVbarIndicator(SplitterDragState& s, bool limitBar) {
    s.vbar1Visible = !limitBar;
    s.vbar2Visible = limitBar;
}

// The tree above the splitter and the tab control with its pages below it,
// measured from the frame's outer height.
SkippedList resizeAroundHbar(PaneGeometry& g, const LayoutFrame& f) {
    SkippedList skipped;
    const int T = f.toolbarHeight;
    const TwipsRect& hbar = g[Pane::HBar];
    for (Pane pane : {Pane::TreeView1, Pane::VTPan}) {
        g[pane].top = T;
        setHeight(g, pane, hbar.top - T, skipped);
    }
    g[Pane::fb].top = kPageTop;
    g[Pane::TabStrip1].top = hbar.top + hbar.height;
    setHeight(g, Pane::TabStrip1,
              f.outerHeight - hbar.top - hbar.height - kTabStripBottomAllowance - f.statusBarHeight,
              skipped);
    setHeight(g, Pane::fb, g[Pane::TabStrip1].height - kPageHeightAllowance, skipped);
    for (Pane page : {Pane::fs, Pane::Tree2}) {
        g[page].top = g[Pane::fb].top;
        setHeight(g, page, g[Pane::fb].height, skipped);
    }
    g[Pane::txtSQL].top = g[Pane::fb].top;
    setHeight(g, Pane::txtSQL, g[Pane::fb].height - kButtonRowAllowance, skipped);
    placeSqlButtons(g);
    return skipped;
}

// The panes left and right of the vertical splitter, measured from the
// frame's outer width.
SkippedList resizeAroundVbar(PaneGeometry& g, const LayoutFrame& f) {
    SkippedList skipped;
    const TwipsRect& vbar = g[Pane::VBar];
    for (Pane bar : {Pane::HBar, Pane::HBar1, Pane::HBar2}) {
        setWidth(g, bar, vbar.left, skipped);
    }
    g[Pane::fa].left = vbar.left + vbar.width;
    setWidth(g, Pane::fa, f.outerWidth - vbar.left - vbar.width - kSheetRightAllowance, skipped);
    for (Pane pane : {Pane::TreeView1, Pane::VTPan, Pane::TabStrip1}) {
        setWidth(g, pane, vbar.left, skipped);
    }
    setWidth(g, Pane::fb, g[Pane::TabStrip1].width - kPageWidthAllowance, skipped);
    setColumn1Width(g, Pane::fb, g[Pane::fb].width - g.fbColumn0Width, skipped);
    setWidth(g, Pane::fs, g[Pane::fb].width, skipped);
    setColumn1Width(g, Pane::fs, g[Pane::fs].width - g.fsColumn0Width, skipped);
    for (Pane page : {Pane::Tree2, Pane::txtSQL}) {
        setWidth(g, page, g[Pane::fb].width, skipped);
    }
    return skipped;
}

}  // namespace

void hbarPress(PaneGeometry& g, SplitterDragState& s) {
    showHbarIndicator(s, false);
    s.cursor = SplitterCursor::SizeNorthSouth;
    if (s.atLowerLimit) {
        g[Pane::HBar1].top -= kLimitNudge;
    }
}

void hbarMove(PaneGeometry& g, SplitterDragState& s, int buttons, int y, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::SizeNorthSouth;
    if (buttons != LeftButton) {
        return;
    }
    TwipsRect& indicator = g[Pane::HBar1];
    const int pointer = g[Pane::HBar].top + y;
    // The upper check looks at where the indicator was left by the previous
    // move, so the pointer must stay above the limit for two moves.
    s.atUpperLimit = indicator.top <= kUpperLimit;
    if (s.atUpperLimit) {
        indicator.top = g[Pane::HBar2].top = kUpperLimit;
    } else {
        indicator.top = pointer;
    }

    const int lowest = frame.outerHeight - kLowerMargin - kLowerMoveAllowance;
    s.atLowerLimit = lowest < indicator.top;
    indicator.top = s.atLowerLimit ? lowest : pointer;
    if (s.atLowerLimit) {
        g[Pane::HBar2].top = lowest;
    }
    // The limit bar shows at either limit. (Taking the lower check's word
    // alone would show the drag indicator past the upper limit, where the
    // splitter will not go.)
    showHbarIndicator(s, s.atUpperLimit || s.atLowerLimit);
}

SkippedList hbarRelease(PaneGeometry& g, SplitterDragState& s, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::Arrow;
    s.hbar1Visible = s.hbar2Visible = false;
    TwipsRect& hbar = g[Pane::HBar];
    if (g[Pane::HBar2].top == kUpperLimit && s.atUpperLimit) {
        g[Pane::HBar1].top = hbar.top = kUpperLimit;
        s.atUpperLimit = false;
    }
    const int lowest = frame.outerHeight - frame.toolbarHeight - kLowerMargin;
    if (lowest <= g[Pane::HBar2].top && s.atLowerLimit) {
        hbar.top = lowest - hbar.height;
        g[Pane::HBar1].top = hbar.top;
        s.atLowerLimit = false;
    }
    hbar.top = g[Pane::HBar1].top;
    return resizeAroundHbar(g, frame);
}

void vbarPress(PaneGeometry& g, SplitterDragState& s) {
    showVbarIndicator(s, false);
    s.cursor = SplitterCursor::SizeWestEast;
    if (s.atRightLimit) {
        g[Pane::VBar1].left -= kLimitNudge;
    }
}

void vbarMove(PaneGeometry& g, SplitterDragState& s, int buttons, int x, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::SizeWestEast;
    if (buttons != LeftButton) {
        return;
    }
    TwipsRect& indicator = g[Pane::VBar1];
    const int pointer = g[Pane::VBar].left + x;
    // Unlike the upper limit, a position equal to the left limit passes.
    s.atLeftLimit = indicator.left < kLeftLimit;
    if (s.atLeftLimit) {
        indicator.left = g[Pane::VBar2].left = kLeftLimit;
    } else {
        indicator.left = pointer;
    }

    const int rightmost = frame.outerWidth - kRightMargin;
    s.atRightLimit = rightmost < indicator.left;
    indicator.left = s.atRightLimit ? rightmost : pointer;
    if (s.atRightLimit) {
        g[Pane::VBar2].left = rightmost;
    }
    showVbarIndicator(s, s.atLeftLimit || s.atRightLimit);
}

SkippedList vbarRelease(PaneGeometry& g, SplitterDragState& s, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::Arrow;
    s.vbar1Visible = s.vbar2Visible = false;
    TwipsRect& vbar = g[Pane::VBar];
    if (g[Pane::VBar2].left == kLeftLimit && s.atLeftLimit) {
        g[Pane::VBar1].left = vbar.left = kLeftLimit;
        s.atLeftLimit = false;
    }
    const int rightmost = frame.outerWidth - kRightMargin;
    if (rightmost < g[Pane::VBar2].left && s.atRightLimit) {
        g[Pane::VBar1].left = vbar.left = rightmost;
        s.atRightLimit = false;
    }
    vbar.left = g[Pane::VBar1].left;
    return resizeAroundVbar(g, frame);
}

}  // namespace ui
