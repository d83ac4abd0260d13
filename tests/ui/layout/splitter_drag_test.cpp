// Dragging the two splitters: indicator and limit bars, limit flags, wrong
// buttons, and where a release leaves the panes.
#include <gtest/gtest.h>

#include "layout_fixture.h"
#include "ui/splitter_drag.h"

namespace ui {
namespace {

using namespace ui::testing;

// The window of the fixture with a splitter drag going on.
class Drag : public ::testing::Test {
  protected:
    void load(int toolbarHeight) {
        T = toolbarHeight;
        g = loaded(T);
    }
    // A whole drag of HBar: press, one move per pointer position (relative
    // to HBar's top), release.
    SkippedList dragHbar(std::initializer_list<int> ys, int buttons = LeftButton) {
        hbarPress(g, s);
        for (int y : ys) {
            hbarMove(g, s, buttons, y, frame(T));
        }
        return hbarRelease(g, s, frame(T));
    }
    SkippedList dragVbar(std::initializer_list<int> xs, int buttons = LeftButton) {
        vbarPress(g, s);
        for (int x : xs) {
            vbarMove(g, s, buttons, x, frame(T));
        }
        return vbarRelease(g, s, frame(T));
    }
    // The pointer offset within a splitter that puts it at position.
    int toY(int position) const { return position - g[Pane::horizontalSplitter].top; }
    int toX(int position) const { return position - g[Pane::verticalSplitter].left; }

    int T = 0;
    PaneGeometry g = loaded(0);
    SplitterDragState s;
};

TEST_F(Drag, FirstRunSplitterPositions) {
    EXPECT_EQ(g[Pane::horizontalSplitter].top, 2970);
    EXPECT_EQ(g[Pane::verticalSplitter].left, 3570);
}

TEST_F(Drag, HbarIndicatorFollowsThePointer) {
    hbarPress(g, s);
    EXPECT_TRUE(s.horizontalDragBarShown);
    EXPECT_FALSE(s.horizontalLimitBarShown);
    EXPECT_EQ(s.cursor, SplitterCursor::SizeNorthSouth);
    hbarMove(g, s, LeftButton, 500, frame(T));
    EXPECT_EQ(g[Pane::horizontalDragBar].top, 3470);
    hbarMove(g, s, LeftButton, -1000, frame(T));
    EXPECT_EQ(g[Pane::horizontalDragBar].top, 1970);
    EXPECT_EQ(g[Pane::horizontalSplitter].top, 2970) << "the splitter itself waits for the release";
    EXPECT_TRUE(s.horizontalDragBarShown);
    EXPECT_FALSE(s.horizontalLimitBarShown);
}

TEST_F(Drag, HbarReleaseResizesTreeAndTabControl) {
    load(kToolbar);
    g[Pane::formView].top = 1234;
    EXPECT_TRUE(dragHbar({500}).empty());
    EXPECT_EQ(s.cursor, SplitterCursor::Arrow);
    EXPECT_FALSE(s.horizontalDragBarShown || s.horizontalLimitBarShown);
    EXPECT_EQ(g[Pane::horizontalSplitter].top, 3470);
    EXPECT_EQ(g[Pane::horizontalDragBar].top, 3470);
    for (Pane pane : {Pane::databaseTree, Pane::captionPanel}) {
        EXPECT_EQ(g[pane].top, kToolbar) << paneName(pane);
        EXPECT_EQ(g[pane].height, 3470 - kToolbar) << paneName(pane);
    }
    // From the outer height: 8800 - 3470 - 60 - 700 - 300.
    EXPECT_EQ(g[Pane::tabStrip].top, 3530);
    EXPECT_EQ(g[Pane::tabStrip].height, 4270);
    for (Pane page : {Pane::formView, Pane::statisticsGrid, Pane::tableTree}) {
        EXPECT_EQ(g[page].top, 400) << paneName(page);
        EXPECT_EQ(g[page].height, 3790) << paneName(page);
    }
    EXPECT_EQ(g[Pane::sqlBox].top, 400);
    EXPECT_EQ(g[Pane::sqlBox].height, 3290);
    for (Pane button : {Pane::runButton, Pane::clearButton, Pane::saveQueryButton,
                        Pane::deleteQueryButton, Pane::lockButton, Pane::unlockButton}) {
        EXPECT_EQ(g[button].top, 3790) << paneName(button);
    }
}

TEST_F(Drag, HbarHeldAboveUpperLimitForTwoMovesEndsAtIt) {
    EXPECT_TRUE(dragHbar({toY(470), toY(470)}).empty());
    EXPECT_EQ(g[Pane::horizontalSplitter].top, 600);
    EXPECT_FALSE(s.atUpperLimit);
}

TEST_F(Drag, HbarUpperCheckLooksAtThePreviousMove) {
    // One move past the limit is not caught yet: the check sees where the
    // indicator was before this move.
    dragHbar({toY(470)});
    EXPECT_EQ(g[Pane::horizontalSplitter].top, 470);
}

TEST_F(Drag, HbarUpperLimitCatchesAPositionEqualToIt) {
    dragHbar({toY(600), toY(900)});
    EXPECT_EQ(g[Pane::horizontalSplitter].top, 600);
}

TEST_F(Drag, HbarLimitBarShowsWhileCaughtAtTheUpperLimit) {
    hbarPress(g, s);
    const std::pair<int, bool> moves[] = {{470, false}, {470, true}, {1500, true}, {1500, false}};
    for (const auto& [position, caught] : moves) {
        hbarMove(g, s, LeftButton, toY(position), frame(T));
        EXPECT_EQ(s.horizontalLimitBarShown, caught) << position;
        EXPECT_EQ(s.horizontalDragBarShown, !caught) << position;
        EXPECT_EQ(s.atUpperLimit, caught) << position;
    }
    EXPECT_EQ(g[Pane::horizontalLimitBar].top, 600);
    EXPECT_EQ(g[Pane::horizontalDragBar].top, 1500);
}

TEST_F(Drag, HbarLowerLimitWithoutToolbarEndsAtOuterHeightLess1300) {
    hbarPress(g, s);
    hbarMove(g, s, LeftButton, toY(8000), frame(T));
    EXPECT_EQ(g[Pane::horizontalDragBar].top, kOH - 1300);
    EXPECT_EQ(g[Pane::horizontalLimitBar].top, kOH - 1300);
    EXPECT_TRUE(s.horizontalLimitBarShown);
    EXPECT_FALSE(s.horizontalDragBarShown);
    EXPECT_TRUE(s.atLowerLimit);
    hbarRelease(g, s, frame(T));
    EXPECT_EQ(g[Pane::horizontalSplitter].top, kOH - 1300);
    // The release's own limit (OH - T - 1000) is not reached, so the flag stays.
    EXPECT_TRUE(s.atLowerLimit);
}

TEST_F(Drag, HbarLowerLimitWithToolbarEndsAboveTheReleaseLimit) {
    load(kToolbar);
    dragHbar({toY(8000), toY(8100)});
    EXPECT_EQ(g[Pane::horizontalSplitter].top, kOH - kToolbar - 1000 - 60);
    EXPECT_EQ(g[Pane::horizontalDragBar].top, g[Pane::horizontalSplitter].top);
    EXPECT_FALSE(s.atLowerLimit);
}

TEST_F(Drag, HbarLowerLimitWithLowToolbarEndsAtOuterHeightLess1300) {
    load(200);
    dragHbar({toY(8000)});
    EXPECT_EQ(g[Pane::horizontalSplitter].top, kOH - 1300);
}

TEST_F(Drag, HbarLeftoverLowerFlagStepsBackOnTheNextPress) {
    dragHbar({toY(8000)});
    ASSERT_TRUE(s.atLowerLimit);
    hbarPress(g, s);
    EXPECT_EQ(g[Pane::horizontalDragBar].top, kOH - 1300 - 10);
    hbarRelease(g, s, frame(T));
    EXPECT_EQ(g[Pane::horizontalSplitter].top, kOH - 1300 - 10);
}

class HbarWrongButtons : public Drag, public ::testing::WithParamInterface<int> {};

TEST_P(HbarWrongButtons, MoveNothing) {
    hbarPress(g, s);
    hbarMove(g, s, GetParam(), 1000, frame(T));
    EXPECT_EQ(s.cursor, SplitterCursor::SizeNorthSouth);
    EXPECT_EQ(g[Pane::horizontalDragBar].top, 2970);
    hbarRelease(g, s, frame(T));
    EXPECT_EQ(g[Pane::horizontalSplitter].top, 2970);
    EXPECT_EQ(g[Pane::databaseTree].height, 2970);
}

TEST_P(HbarWrongButtons, ButALeftoverFlagStillNudges) {
    dragHbar({toY(8000)});
    dragHbar({-3000}, GetParam());
    EXPECT_EQ(g[Pane::horizontalSplitter].top, kOH - 1300 - 10);
}

INSTANTIATE_TEST_SUITE_P(Buttons, HbarWrongButtons,
                         ::testing::Values(0, RightButton, MiddleButton, LeftButton | RightButton,
                                           LeftButton | MiddleButton));

TEST_F(Drag, HbarReleaseInATinyFrameSkipsNegativeHeights) {
    const int tabHeight = g[Pane::tabStrip].height;
    hbarPress(g, s);
    hbarMove(g, s, LeftButton, 0, frame(T));
    const LayoutFrame tiny = frame(T, 3000, 2000, 3120, 3000);
    const SkippedList skipped = hbarRelease(g, s, tiny);
    EXPECT_EQ(g[Pane::tabStrip].height, tabHeight);
    EXPECT_EQ(g[Pane::formView].height, tabHeight - 480);
    ASSERT_FALSE(skipped.empty());
    EXPECT_EQ(skipped.front(),
              (SkippedAssignment{Pane::tabStrip, Dimension::Height, 3000 - 2970 - 60 - 700 - kS}));
}

TEST_F(Drag, VbarReleaseResizesSheetAndLeftColumn) {
    vbarPress(g, s);
    EXPECT_EQ(s.cursor, SplitterCursor::SizeWestEast);
    EXPECT_TRUE(s.verticalDragBarShown);
    vbarMove(g, s, LeftButton, 1000, frame(T));
    EXPECT_EQ(g[Pane::verticalDragBar].left, 4570);
    EXPECT_EQ(g[Pane::verticalSplitter].left, 3570);
    EXPECT_TRUE(vbarRelease(g, s, frame(T)).empty());
    EXPECT_EQ(s.cursor, SplitterCursor::Arrow);
    EXPECT_FALSE(s.verticalDragBarShown || s.verticalLimitBarShown);
    EXPECT_EQ(g[Pane::verticalSplitter].left, 4570);
    for (Pane pane : {Pane::horizontalSplitter, Pane::horizontalDragBar, Pane::horizontalLimitBar,
                      Pane::databaseTree, Pane::captionPanel, Pane::tabStrip}) {
        EXPECT_EQ(g[pane].width, 4570) << paneName(pane);
    }
    // From the outer width: 12120 - 4570 - 60 - 120.
    EXPECT_EQ(g[Pane::dataSheet].left, 4630);
    EXPECT_EQ(g[Pane::dataSheet].width, 7370);
    for (Pane page : {Pane::formView, Pane::statisticsGrid, Pane::tableTree, Pane::sqlBox}) {
        EXPECT_EQ(g[page].width, 4370) << paneName(page);
    }
    EXPECT_EQ(g.formViewColumn1Width, 4370 - kFbColumn0);
    EXPECT_EQ(g.statisticsColumn1Width, 4370 - kFsColumn0);
}

TEST_F(Drag, VbarHeldLeftOfTheLimitForTwoMovesEndsAtIt) {
    dragVbar({toX(370), toX(370)});
    EXPECT_EQ(g[Pane::verticalSplitter].left, 500);
    EXPECT_FALSE(s.atLeftLimit);
}

TEST_F(Drag, VbarLeftCheckLooksAtThePreviousMove) {
    dragVbar({toX(370)});
    EXPECT_EQ(g[Pane::verticalSplitter].left, 370);
}

TEST_F(Drag, VbarLeftLimitLetsAPositionEqualToItPass) {
    dragVbar({toX(500), toX(900)});
    EXPECT_EQ(g[Pane::verticalSplitter].left, 900);
}

TEST_F(Drag, VbarLimitBarShowsWhileCaughtAtTheLeftLimit) {
    vbarPress(g, s);
    const std::pair<int, bool> moves[] = {{300, false}, {300, true}, {2000, true}, {2000, false}};
    for (const auto& [position, caught] : moves) {
        vbarMove(g, s, LeftButton, toX(position), frame(T));
        EXPECT_EQ(s.verticalLimitBarShown, caught) << position;
        EXPECT_EQ(s.verticalDragBarShown, !caught) << position;
        EXPECT_EQ(s.atLeftLimit, caught) << position;
    }
    EXPECT_EQ(g[Pane::verticalLimitBar].left, 500);
    EXPECT_EQ(g[Pane::verticalDragBar].left, 2000);
}

TEST_F(Drag, VbarHeldBeyondTheRightLimitEndsAtIt) {
    vbarPress(g, s);
    vbarMove(g, s, LeftButton, toX(13000), frame(T));
    EXPECT_EQ(g[Pane::verticalDragBar].left, kOW - 600);
    EXPECT_EQ(g[Pane::verticalLimitBar].left, kOW - 600);
    EXPECT_TRUE(s.verticalLimitBarShown);
    EXPECT_FALSE(s.verticalDragBarShown);
    vbarRelease(g, s, frame(T));
    EXPECT_EQ(g[Pane::verticalSplitter].left, kOW - 600);
    EXPECT_TRUE(s.atRightLimit);
}

class VbarWrongButtons : public Drag, public ::testing::WithParamInterface<int> {};

TEST_P(VbarWrongButtons, MoveNothing) {
    dragVbar({1000, 2000}, GetParam());
    EXPECT_EQ(g[Pane::verticalSplitter].left, 3570);
    EXPECT_EQ(g[Pane::dataSheet].left, 3630);
}

TEST_P(VbarWrongButtons, ButALeftoverFlagStillNudges) {
    dragVbar({toX(13000)});
    dragVbar({-3000}, GetParam());
    EXPECT_EQ(g[Pane::verticalSplitter].left, kOW - 600 - 10);
}

INSTANTIATE_TEST_SUITE_P(Buttons, VbarWrongButtons,
                         ::testing::Values(0, RightButton, MiddleButton, LeftButton | RightButton));

TEST_F(Drag, VbarLeftoverRightFlagFollowsAShrunkWindow) {
    dragVbar({toX(13000)});
    ASSERT_TRUE(s.atRightLimit);
    const LayoutFrame narrower = frame(T, 9880, kH, 10000, kOH);
    vbarPress(g, s);
    const SkippedList skipped = vbarRelease(g, s, narrower);
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(g[Pane::verticalSplitter].left, 10000 - 600);
    EXPECT_FALSE(s.atRightLimit);
    EXPECT_EQ(g[Pane::dataSheet].width, 10000 - 9400 - 60 - 120);
}

TEST_F(Drag, VbarReleaseInANarrowFrameSkipsTheSheetWidth) {
    const int sheetWidth = g[Pane::dataSheet].width;
    vbarPress(g, s);
    vbarMove(g, s, LeftButton, 0, frame(T));
    const SkippedList skipped = vbarRelease(g, s, frame(T, 3000, kH, 3120, kOH));
    EXPECT_EQ(g[Pane::dataSheet].width, sheetWidth);
    EXPECT_EQ(g[Pane::dataSheet].left, 3630);
    EXPECT_EQ(skipped, (SkippedList{{Pane::dataSheet, Dimension::Width, 3120 - 3570 - 60 - 120}}));
}

TEST_F(Drag, NarrowLeftColumnSkipsNegativePageWidths) {
    dragVbar({toX(600), toX(600)});
    ASSERT_EQ(g[Pane::verticalSplitter].left, 600);
    EXPECT_EQ(g[Pane::formView].width, 400);
    EXPECT_EQ(g.formViewColumn1Width, 3370 - kFbColumn0) << "400 - 1000 is skipped";
    EXPECT_EQ(g.statisticsColumn1Width, 3370 - kFbColumn0) << "400 - 1200 is skipped";
}

}  // namespace
}  // namespace ui
