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

constexpr Pane kSqlButtons[] = {Pane::runButton,         Pane::clearButton, Pane::saveQueryButton,
                                Pane::deleteQueryButton, Pane::lockButton,  Pane::unlockButton};
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
    g[Pane::dataSheet].top = T;
    setHeight(g, Pane::dataSheet, f.clientHeight - T - f.statusBarHeight, skipped);
    g[Pane::databaseTree].top = T;
    g[Pane::captionPanel].top = T;
    setHeight(g, Pane::databaseTree, g[Pane::horizontalSplitter].top - T, skipped);
    setHeight(g, Pane::captionPanel, g[Pane::horizontalSplitter].top - T, skipped);
    for (Pane bar : {Pane::verticalSplitter, Pane::verticalDragBar, Pane::verticalLimitBar}) {
        g[bar].top = g[Pane::dataSheet].top;
        setHeight(g, bar, g[Pane::dataSheet].height, skipped);
    }
    for (Pane bar : {Pane::horizontalSplitter, Pane::horizontalDragBar, Pane::horizontalLimitBar}) {
        g[bar].left = 0;
        setWidth(g, bar, g[Pane::verticalSplitter].left, skipped);
    }
    g[Pane::databaseTree].top = g[Pane::dataSheet].top;
    g[Pane::dataSheet].left = g[Pane::verticalSplitter].left + g[Pane::verticalSplitter].width;
    setWidth(g, Pane::dataSheet,
             f.clientWidth - g[Pane::verticalSplitter].left - g[Pane::verticalSplitter].width,
             skipped);
    setWidth(g, Pane::databaseTree, g[Pane::verticalSplitter].left, skipped);
    setWidth(g, Pane::captionPanel, g[Pane::verticalSplitter].left, skipped);
}

// The tab control and the controls on its pages.
void layoutTabPages(PaneGeometry& g, const LayoutFrame& f, SkippedList& skipped) {
    const TwipsRect& hbar = g[Pane::horizontalSplitter];
    g[Pane::tabStrip].top = hbar.top + hbar.height;
    setWidth(g, Pane::tabStrip, g[Pane::databaseTree].width, skipped);
    setHeight(g, Pane::tabStrip, f.clientHeight - hbar.top - hbar.height - f.statusBarHeight,
              skipped);
    setHeight(g, Pane::formView, g[Pane::tabStrip].height - kPageHeightAllowance, skipped);
    setWidth(g, Pane::formView, g[Pane::tabStrip].width - kPageWidthAllowance, skipped);
    setColumn1Width(g, Pane::formView, g[Pane::formView].width - g.formViewColumn0Width, skipped);
    for (Pane page : {Pane::statisticsGrid, Pane::tableTree}) {
        setHeight(g, page, g[Pane::formView].height, skipped);
        setWidth(g, page, g[Pane::formView].width, skipped);
    }
    setColumn1Width(g, Pane::statisticsGrid, g.formViewColumn1Width, skipped);
    setHeight(g, Pane::sqlBox, g[Pane::formView].height - kButtonRowAllowance, skipped);
    setWidth(g, Pane::sqlBox, g[Pane::formView].width, skipped);
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
    } else if (pane == Pane::statisticsGrid) {
        g.statisticsColumn1Width = value;
    } else {
        g.formViewColumn1Width = value;
    }
}

void placeSqlButtons(PaneGeometry& g) {
    g[Pane::runButton].top = g[Pane::sqlBox].height + kButtonRowAllowance;
    for (Pane button : kSqlButtons) {
        g[button].top = g[Pane::runButton].top;
    }
}

PaneGeometry initialPlacement(int toolbarTop, int storedHbarTop, int storedVbarLeft,
                              int formViewColumn0Width, int statisticsColumn0Width) {
    PaneGeometry g;
    for (Pane bar : {Pane::horizontalSplitter, Pane::horizontalDragBar, Pane::horizontalLimitBar}) {
        g[bar].top = storedPosition(storedHbarTop, kDefaultHbarTop);
        g[bar].height = kSplitterThickness;
    }
    for (Pane bar : {Pane::verticalSplitter, Pane::verticalDragBar, Pane::verticalLimitBar}) {
        g[bar].left = storedPosition(storedVbarLeft, kDefaultVbarLeft);
        g[bar].width = kSplitterThickness;
    }
    for (Pane pane : {Pane::dataSheet, Pane::databaseTree, Pane::captionPanel}) {
        g[pane].top = toolbarTop;
    }
    for (Pane page : {Pane::formView, Pane::statisticsGrid, Pane::tableTree, Pane::sqlBox}) {
        g[page].left = g[Pane::tabStrip].left + kPageLeft;
        g[page].top = kPageTop;
    }
    for (int i = 0; i < int(std::size(kSqlButtons)); ++i) {
        g[kSqlButtons[i]] = {kSqlButtonLefts[i], 0, kButtonWidth, kButtonHeight};
    }
    g[Pane::progressBar].height = kProgressHeight;
    g.formViewColumn0Width = std::max(0, formViewColumn0Width);
    g.statisticsColumn0Width = std::max(0, statisticsColumn0Width);
    return g;
}

SkippedList fullLayout(PaneGeometry& g, const LayoutFrame& frame) {
    SkippedList skipped;
    layoutLeftColumn(g, frame, skipped);
    layoutTabPages(g, frame, skipped);
    setWidth(g, Pane::progressBar, frame.firstPanelWidth / 2, skipped);
    g[Pane::progressBar].top = frame.clientHeight - 250;
    g[Pane::progressBar].left = frame.statusBarLeft + 50;
    return skipped;
}

SkippedList shiftForToolbar(PaneGeometry& g, bool shown, int toolbarHeight) {
    SkippedList skipped;
    const int change = shown ? -toolbarHeight : toolbarHeight;
    const int top = shown ? toolbarHeight : 0;
    for (Pane pane : {Pane::dataSheet, Pane::databaseTree}) {
        g[pane].top = top;
        setHeight(g, pane, g[pane].height + change, skipped);
    }
    for (Pane bar : {Pane::verticalSplitter, Pane::verticalDragBar, Pane::verticalLimitBar}) {
        g[bar].top = top;
        setHeight(g, bar, g[Pane::dataSheet].height, skipped);
    }
    g[Pane::captionPanel].top = g[Pane::databaseTree].top;
    g[Pane::captionPanel].height = g[Pane::databaseTree].height;
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
