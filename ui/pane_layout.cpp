#include "pane_layout.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// The SQL buttons' size and the progress bar's height.
constexpr int kButtonWidth = 345;
constexpr int kButtonHeight = 330;
constexpr int kProgressHeight = 200;
constexpr double kDefaultDpi = 96.0;

constexpr Pane kSqlButtons[] = {Pane::cmdRun,       Pane::cmdClear,   Pane::cmdSaveSQL,
                                Pane::cmdDeleteSQL, Pane::cmdLockSQL, Pane::cmdUnlockSQL};
constexpr int kSqlButtonLefts[] = {105, 528, 951, 1374, 1800, 1800};

const char* const kPaneNames[kPaneCount] = {
    "fa",     "TreeView1", "VTPan",      "VBar",         "VBar1",      "VBar2",        "HBar",
    "HBar1",  "HBar2",     "TabStrip1",  "fb",           "fs",         "Tree2",        "txtSQL",
    "cmdRun", "cmdClear",  "cmdSaveSQL", "cmdDeleteSQL", "cmdLockSQL", "cmdUnlockSQL", "Progress"};

int storedPosition(int stored, int fallback) {
    return stored <= 0 ? fallback : std::min(stored, kMaxPosition);
}

// The sheet, the tree with its caption panel, and the splitters around them.
void layoutLeftColumn(PaneGeometry& g, const LayoutFrame& f, SkippedList& skipped) {
    const int T = f.toolbarHeight;
    g[Pane::fa].top = T;
    setHeight(g, Pane::fa, f.clientHeight - T - f.statusBarHeight, skipped);
    g[Pane::TreeView1].top = T;
    g[Pane::VTPan].top = T;
    setHeight(g, Pane::TreeView1, g[Pane::HBar].top - T, skipped);
    setHeight(g, Pane::VTPan, g[Pane::HBar].top - T, skipped);
    for (Pane bar : {Pane::VBar, Pane::VBar1, Pane::VBar2}) {
        g[bar].top = g[Pane::fa].top;
        setHeight(g, bar, g[Pane::fa].height, skipped);
    }
    for (Pane bar : {Pane::HBar, Pane::HBar1, Pane::HBar2}) {
        g[bar].left = 0;
        setWidth(g, bar, g[Pane::VBar].left, skipped);
    }
    g[Pane::TreeView1].top = g[Pane::fa].top;
    g[Pane::fa].left = g[Pane::VBar].left + g[Pane::VBar].width;
    setWidth(g, Pane::fa, f.clientWidth - g[Pane::VBar].left - g[Pane::VBar].width, skipped);
    setWidth(g, Pane::TreeView1, g[Pane::VBar].left, skipped);
    setWidth(g, Pane::VTPan, g[Pane::VBar].left, skipped);
}

// The tab control and the controls on its pages.
void layoutTabPages(PaneGeometry& g, const LayoutFrame& f, SkippedList& skipped) {
    const TwipsRect& hbar = g[Pane::HBar];
    g[Pane::TabStrip1].top = hbar.top + hbar.height;
    setWidth(g, Pane::TabStrip1, g[Pane::TreeView1].width, skipped);
    setHeight(g, Pane::TabStrip1, f.clientHeight - hbar.top - hbar.height - f.statusBarHeight,
              skipped);
    setHeight(g, Pane::fb, g[Pane::TabStrip1].height - kPageHeightAllowance, skipped);
    setWidth(g, Pane::fb, g[Pane::TabStrip1].width - kPageWidthAllowance, skipped);
    setColumn1Width(g, Pane::fb, g[Pane::fb].width - g.fbColumn0Width, skipped);
    for (Pane page : {Pane::fs, Pane::Tree2}) {
        setHeight(g, page, g[Pane::fb].height, skipped);
        setWidth(g, page, g[Pane::fb].width, skipped);
    }
    setColumn1Width(g, Pane::fs, g.fbColumn1Width, skipped);
    setHeight(g, Pane::txtSQL, g[Pane::fb].height - kButtonRowAllowance, skipped);
    setWidth(g, Pane::txtSQL, g[Pane::fb].width, skipped);
    placeSqlButtons(g);
}

}  // namespace

const char* paneName(Pane pane) {
    return kPaneNames[static_cast<int>(pane)];
}

void setWidth(PaneGeometry& g, Pane pane, int value, SkippedList& skipped) {
    if (value < 0) {
        skipped.push_back({pane, Dimension::Width, value});
    } else {
        g[pane].width = value;
    }
}

void setHeight(PaneGeometry& g, Pane pane, int value, SkippedList& skipped) {
    if (value < 0) {
        skipped.push_back({pane, Dimension::Height, value});
    } else {
        g[pane].height = value;
    }
}

void setColumn1Width(PaneGeometry& g, Pane pane, int value, SkippedList& skipped) {
    if (value < 0) {
        skipped.push_back({pane, Dimension::Column1Width, value});
    } else if (pane == Pane::fs) {
        g.fsColumn1Width = value;
    } else {
        g.fbColumn1Width = value;
    }
}

void placeSqlButtons(PaneGeometry& g) {
    g[Pane::cmdRun].top = g[Pane::txtSQL].height + kButtonRowAllowance;
    for (Pane button : kSqlButtons) {
        g[button].top = g[Pane::cmdRun].top;
    }
}

PaneGeometry initialPlacement(int toolbarTop, int storedHbarTop, int storedVbarLeft,
                              int fbColumn0Width, int fsColumn0Width) {
    PaneGeometry g;
    for (Pane bar : {Pane::HBar, Pane::HBar1, Pane::HBar2}) {
        g[bar].top = storedPosition(storedHbarTop, kDefaultHbarTop);
        g[bar].height = kSplitterThickness;
    }
    for (Pane bar : {Pane::VBar, Pane::VBar1, Pane::VBar2}) {
        g[bar].left = storedPosition(storedVbarLeft, kDefaultVbarLeft);
        g[bar].width = kSplitterThickness;
    }
    for (Pane pane : {Pane::fa, Pane::TreeView1, Pane::VTPan}) {
        g[pane].top = toolbarTop;
    }
    for (Pane page : {Pane::fb, Pane::fs, Pane::Tree2, Pane::txtSQL}) {
        g[page].left = g[Pane::TabStrip1].left + kPageLeft;
        g[page].top = kPageTop;
    }
    for (int i = 0; i < int(std::size(kSqlButtons)); ++i) {
        g[kSqlButtons[i]] = {kSqlButtonLefts[i], 0, kButtonWidth, kButtonHeight};
    }
    g[Pane::Progress].height = kProgressHeight;
    g.fbColumn0Width = std::max(0, fbColumn0Width);
    g.fsColumn0Width = std::max(0, fsColumn0Width);
    return g;
}

SkippedList fullLayout(PaneGeometry& g, const LayoutFrame& frame) {
    SkippedList skipped;
    layoutLeftColumn(g, frame, skipped);
    layoutTabPages(g, frame, skipped);
    setWidth(g, Pane::Progress, frame.firstPanelWidth / 2, skipped);
    g[Pane::Progress].top = frame.clientHeight - 250;
    g[Pane::Progress].left = frame.statusBarLeft + 50;
    return skipped;
}

SkippedList shiftForToolbar(PaneGeometry& g, bool shown, int toolbarHeight) {
    SkippedList skipped;
    const int change = shown ? -toolbarHeight : toolbarHeight;
    const int top = shown ? toolbarHeight : 0;
    for (Pane pane : {Pane::fa, Pane::TreeView1}) {
        g[pane].top = top;
        setHeight(g, pane, g[pane].height + change, skipped);
    }
    for (Pane bar : {Pane::VBar, Pane::VBar1, Pane::VBar2}) {
        g[bar].top = top;
        setHeight(g, bar, g[Pane::fa].height, skipped);
    }
    g[Pane::VTPan].top = g[Pane::TreeView1].top;
    g[Pane::VTPan].height = g[Pane::TreeView1].height;
    return skipped;
}

int twipsToPixels(int twips, double dpi) {
    if (!(dpi > 0)) {
        dpi = kDefaultDpi;
    }
    return int(std::lround(double(twips) * dpi / kTwipsPerInch));
}

int pixelsToTwips(int pixels, double dpi) {
    if (!(dpi > 0)) {
        dpi = kDefaultDpi;
    }
    return int(std::lround(double(pixels) * kTwipsPerInch / dpi));
}

QRect toPixels(const TwipsRect& r, double dpiX, double dpiY) {
    const int left = twipsToPixels(r.left, dpiX);
    const int top = twipsToPixels(r.top, dpiY);
    const int right = twipsToPixels(r.left + r.width, dpiX);
    const int bottom = twipsToPixels(r.top + r.height, dpiY);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace ui
