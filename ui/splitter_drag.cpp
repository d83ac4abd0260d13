#include "splitter_drag.h"

namespace ui {

namespace {

void showHbarIndicator(SplitterDragState& s, bool limitBar) {
    s.horizontalDragBarShown = !limitBar;
    s.horizontalLimitBarShown = limitBar;
}

void showVbarIndicator(SplitterDragState& s, bool limitBar) {
    s.verticalDragBarShown = !limitBar;
    s.verticalLimitBarShown = limitBar;
}

// The tree above the splitter and the tab control with its pages below it,
// measured from the frame's outer height.
SkippedList resizeAroundHbar(PaneGeometry& g, const LayoutFrame& f) {
    SkippedList skipped;
    const int T = f.toolbarHeight;
    const TwipsRect& hbar = g[Pane::horizontalSplitter];
    for (Pane pane : {Pane::databaseTree, Pane::captionPanel}) {
        g[pane].top = T;
        setHeight(g, pane, hbar.top - T, skipped);
    }
    g[Pane::formView].top = kPageTop;
    g[Pane::tabStrip].top = hbar.top + hbar.height;
    setHeight(g, Pane::tabStrip,
              f.outerHeight - hbar.top - hbar.height - kTabStripBottomAllowance - f.statusBarHeight,
              skipped);
    setHeight(g, Pane::formView, g[Pane::tabStrip].height - kPageHeightAllowance, skipped);
    for (Pane page : {Pane::statisticsGrid, Pane::tableTree}) {
        g[page].top = g[Pane::formView].top;
        setHeight(g, page, g[Pane::formView].height, skipped);
    }
    g[Pane::sqlBox].top = g[Pane::formView].top;
    setHeight(g, Pane::sqlBox, g[Pane::formView].height - kButtonRowAllowance, skipped);
    placeSqlButtons(g);
    return skipped;
}

// The panes left and right of the vertical splitter, measured from the
// frame's outer width.
SkippedList resizeAroundVbar(PaneGeometry& g, const LayoutFrame& f) {
    SkippedList skipped;
    const TwipsRect& vbar = g[Pane::verticalSplitter];
    for (Pane bar : {Pane::horizontalSplitter, Pane::horizontalDragBar, Pane::horizontalLimitBar}) {
        setWidth(g, bar, vbar.left, skipped);
    }
    g[Pane::dataSheet].left = vbar.left + vbar.width;
    setWidth(g, Pane::dataSheet, f.outerWidth - vbar.left - vbar.width - kSheetRightAllowance,
             skipped);
    for (Pane pane : {Pane::databaseTree, Pane::captionPanel, Pane::tabStrip}) {
        setWidth(g, pane, vbar.left, skipped);
    }
    setWidth(g, Pane::formView, g[Pane::tabStrip].width - kPageWidthAllowance, skipped);
    setColumn1Width(g, Pane::formView, g[Pane::formView].width - g.formViewColumn0Width, skipped);
    setWidth(g, Pane::statisticsGrid, g[Pane::formView].width, skipped);
    setColumn1Width(g, Pane::statisticsGrid,
                    g[Pane::statisticsGrid].width - g.statisticsColumn0Width, skipped);
    for (Pane page : {Pane::tableTree, Pane::sqlBox}) {
        setWidth(g, page, g[Pane::formView].width, skipped);
    }
    return skipped;
}

}  // namespace

void hbarPress(PaneGeometry& g, SplitterDragState& s) {
    showHbarIndicator(s, false);
    s.cursor = SplitterCursor::SizeNorthSouth;
    if (s.atLowerLimit) {
        g[Pane::horizontalDragBar].top -= kLimitNudge;
    }
}

void hbarMove(PaneGeometry& g, SplitterDragState& s, int buttons, int y, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::SizeNorthSouth;
    if (buttons != LeftButton) {
        return;
    }
    TwipsRect& indicator = g[Pane::horizontalDragBar];
    const int pointer = g[Pane::horizontalSplitter].top + y;
    // The upper check looks at where the indicator was left by the previous
    // move, so the pointer must stay above the limit for two moves.
    s.atUpperLimit = indicator.top <= kUpperLimit;
    if (s.atUpperLimit) {
        indicator.top = g[Pane::horizontalLimitBar].top = kUpperLimit;
    } else {
        indicator.top = pointer;
    }

    const int lowest = frame.outerHeight - kLowerMargin - kLowerMoveAllowance;
    s.atLowerLimit = lowest < indicator.top;
    indicator.top = s.atLowerLimit ? lowest : pointer;
    if (s.atLowerLimit) {
        g[Pane::horizontalLimitBar].top = lowest;
    }
    // The limit bar shows at either limit. (Taking the lower check's word
    // alone would show the drag indicator past the upper limit, where the
    // splitter will not go.)
    showHbarIndicator(s, s.atUpperLimit || s.atLowerLimit);
}

SkippedList hbarRelease(PaneGeometry& g, SplitterDragState& s, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::Arrow;
    s.horizontalDragBarShown = s.horizontalLimitBarShown = false;
    TwipsRect& hbar = g[Pane::horizontalSplitter];
    if (g[Pane::horizontalLimitBar].top == kUpperLimit && s.atUpperLimit) {
        g[Pane::horizontalDragBar].top = hbar.top = kUpperLimit;
        s.atUpperLimit = false;
    }
    const int lowest = frame.outerHeight - frame.toolbarHeight - kLowerMargin;
    if (lowest <= g[Pane::horizontalLimitBar].top && s.atLowerLimit) {
        hbar.top = lowest - hbar.height;
        g[Pane::horizontalDragBar].top = hbar.top;
        s.atLowerLimit = false;
    }
    hbar.top = g[Pane::horizontalDragBar].top;
    return resizeAroundHbar(g, frame);
}

void vbarPress(PaneGeometry& g, SplitterDragState& s) {
    showVbarIndicator(s, false);
    s.cursor = SplitterCursor::SizeWestEast;
    if (s.atRightLimit) {
        g[Pane::verticalDragBar].left -= kLimitNudge;
    }
}

void vbarMove(PaneGeometry& g, SplitterDragState& s, int buttons, int x, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::SizeWestEast;
    if (buttons != LeftButton) {
        return;
    }
    TwipsRect& indicator = g[Pane::verticalDragBar];
    const int pointer = g[Pane::verticalSplitter].left + x;
    // Unlike the upper limit, a position equal to the left limit passes.
    s.atLeftLimit = indicator.left < kLeftLimit;
    if (s.atLeftLimit) {
        indicator.left = g[Pane::verticalLimitBar].left = kLeftLimit;
    } else {
        indicator.left = pointer;
    }

    const int rightmost = frame.outerWidth - kRightMargin;
    s.atRightLimit = rightmost < indicator.left;
    indicator.left = s.atRightLimit ? rightmost : pointer;
    if (s.atRightLimit) {
        g[Pane::verticalLimitBar].left = rightmost;
    }
    showVbarIndicator(s, s.atLeftLimit || s.atRightLimit);
}

SkippedList vbarRelease(PaneGeometry& g, SplitterDragState& s, const LayoutFrame& frame) {
    s.cursor = SplitterCursor::Arrow;
    s.verticalDragBarShown = s.verticalLimitBarShown = false;
    TwipsRect& vbar = g[Pane::verticalSplitter];
    if (g[Pane::verticalLimitBar].left == kLeftLimit && s.atLeftLimit) {
        g[Pane::verticalDragBar].left = vbar.left = kLeftLimit;
        s.atLeftLimit = false;
    }
    const int rightmost = frame.outerWidth - kRightMargin;
    if (rightmost < g[Pane::verticalLimitBar].left && s.atRightLimit) {
        g[Pane::verticalDragBar].left = vbar.left = rightmost;
        s.atRightLimit = false;
    }
    vbar.left = g[Pane::verticalDragBar].left;
    return resizeAroundVbar(g, frame);
}

}  // namespace ui
