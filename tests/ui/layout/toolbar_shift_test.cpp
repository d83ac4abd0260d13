// Showing and hiding the toolbar shifts the panes below it without a full
// layout; a later resize must agree with the full layout.
#include <gtest/gtest.h>

#include "layout_fixture.h"

namespace ui {
namespace {

using namespace ui::testing;

constexpr Pane kShifted[] = {Pane::dataSheet,        Pane::databaseTree,    Pane::captionPanel,
                             Pane::verticalSplitter, Pane::verticalDragBar, Pane::verticalLimitBar};

TEST(ToolbarShift, ShowingMovesPanesBelowTheToolbar) {
    PaneGeometry g = loaded(0);
    EXPECT_TRUE(shiftForToolbar(g, true, kToolbar).empty());
    EXPECT_EQ(g[Pane::dataSheet].top, kToolbar);
    EXPECT_EQ(g[Pane::dataSheet].height, 7800 - kToolbar);
    EXPECT_EQ(g[Pane::databaseTree].top, kToolbar);
    EXPECT_EQ(g[Pane::databaseTree].height, 2970 - kToolbar);
    EXPECT_EQ(g[Pane::captionPanel], g[Pane::databaseTree]);
    for (Pane bar : {Pane::verticalSplitter, Pane::verticalDragBar, Pane::verticalLimitBar}) {
        EXPECT_EQ(g[bar].top, kToolbar) << paneName(bar);
        EXPECT_EQ(g[bar].height, 7800 - kToolbar) << paneName(bar);
    }
}

TEST(ToolbarShift, SplitterAndTabControlStay) {
    PaneGeometry g = loaded(0);
    const PaneGeometry before = g;
    shiftForToolbar(g, true, kToolbar);
    for (Pane pane : {Pane::horizontalSplitter, Pane::tabStrip, Pane::formView, Pane::sqlBox}) {
        EXPECT_EQ(g[pane], before[pane]) << paneName(pane);
    }
}

TEST(ToolbarShift, TogglingTwiceRestoresTopsAndHeights) {
    for (bool startShown : {false, true}) {
        const int T = startShown ? kToolbar : 0;
        PaneGeometry g = loaded(T);
        const PaneGeometry first = g;
        shiftForToolbar(g, !startShown, kToolbar);
        shiftForToolbar(g, startShown, kToolbar);
        for (Pane pane : kShifted) {
            EXPECT_EQ(g[pane], first[pane]) << paneName(pane) << " starting shown " << startShown;
        }
    }
}

TEST(ToolbarShift, HidingGrowsATreeShorterThanTheToolbar) {
    PaneGeometry g = loaded(kToolbar, kToolbar + 60);
    ASSERT_EQ(g[Pane::databaseTree].height, 60);
    EXPECT_TRUE(shiftForToolbar(g, false, kToolbar).empty());
    EXPECT_EQ(g[Pane::databaseTree].top, 0);
    EXPECT_EQ(g[Pane::databaseTree].height, 60 + kToolbar);
    EXPECT_EQ(g[Pane::captionPanel].height, 60 + kToolbar);
}

TEST(ToolbarShift, ShowingOverATreeShorterThanTheToolbarSkipsItsHeight) {
    PaneGeometry g = loaded(0, 200);
    ASSERT_EQ(g[Pane::databaseTree].height, 200);
    const SkippedList skipped = shiftForToolbar(g, true, kToolbar);
    EXPECT_EQ(skipped, (SkippedList{{Pane::databaseTree, Dimension::Height, 200 - kToolbar}}));
    EXPECT_EQ(g[Pane::databaseTree].top, kToolbar);
    EXPECT_EQ(g[Pane::databaseTree].height, 200);
    EXPECT_EQ(g[Pane::captionPanel], g[Pane::databaseTree]);
}

TEST(ToolbarShift, HidingThenResizingEqualsTheLayoutWithoutToolbar) {
    PaneGeometry g = loaded(kToolbar, 1800, 4200);
    shiftForToolbar(g, false, kToolbar);
    fullLayout(g, frame(0));
    EXPECT_EQ(g, loaded(0, 1800, 4200));
}

TEST(ToolbarShift, ShowingThenResizingEqualsTheLayoutWithToolbar) {
    PaneGeometry g = loaded(0, 1800, 4200);
    shiftForToolbar(g, true, kToolbar);
    fullLayout(g, frame(kToolbar));
    EXPECT_EQ(g, loaded(kToolbar, 1800, 4200));
}

}  // namespace
}  // namespace ui
