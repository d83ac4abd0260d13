// A window of a fixed size for the layout tests: its frame measures and the
// panes as the load and the first full layout leave them.
#pragma once

#include "ui/pane_layout.h"

namespace ui::testing {

constexpr int kW = 12000;  // 800 x 540 pixels at 96 DPI
constexpr int kH = 8100;
constexpr int kOW = 12120;  // 4-pixel borders
constexpr int kOH = 8800;   // title bar, menu bar and borders
constexpr int kS = 300;
constexpr int kToolbar = 390;
constexpr int kFirstPanel = 3000;
constexpr int kFbColumn0 = 1000;
constexpr int kFsColumn0 = 1200;

inline LayoutFrame frame(int toolbarHeight, int w = kW, int h = kH, int ow = kOW, int oh = kOH) {
    LayoutFrame f;
    f.clientWidth = w;
    f.clientHeight = h;
    f.outerWidth = ow;
    f.outerHeight = oh;
    f.toolbarHeight = toolbarHeight;
    f.statusBarHeight = kS;
    f.firstPanelWidth = kFirstPanel;
    return f;
}

// The panes after load and the first layout, with the splitters as stored.
inline PaneGeometry loaded(int toolbarHeight, int hbarTop = 0, int vbarLeft = 0) {
    PaneGeometry g = initialPlacement(toolbarHeight, hbarTop, vbarLeft, kFbColumn0, kFsColumn0);
    fullLayout(g, frame(toolbarHeight));
    return g;
}

}  // namespace ui::testing
