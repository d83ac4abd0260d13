// The placement at load and the full layout run on every resize.
#include <gtest/gtest.h>

#include "layout_fixture.h"

namespace ui {

void PrintTo(const TwipsRect& r, std::ostream* os) {
    *os << "{left " << r.left << ", top " << r.top << ", width " << r.width << ", height "
        << r.height << "}";
}

namespace {

using namespace ui::testing;

struct StoredCase {
    int storedHbarTop;
    int storedVbarLeft;
    int hbarTop;
    int vbarLeft;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << "stored " << c.storedHbarTop << " / " << c.storedVbarLeft;
}

class InitialSplitters : public ::testing::TestWithParam<StoredCase> {};

TEST_P(InitialSplitters, StoredPositionOrDefault) {
    const StoredCase& c = GetParam();
    const PaneGeometry g = initialPlacement(0, c.storedHbarTop, c.storedVbarLeft, 0, 0);
    for (Pane bar : {Pane::horizontalSplitter, Pane::horizontalDragBar, Pane::horizontalLimitBar}) {
        EXPECT_EQ(g[bar].top, c.hbarTop) << paneName(bar);
        EXPECT_EQ(g[bar].height, kSplitterThickness) << paneName(bar);
    }
    for (Pane bar : {Pane::verticalSplitter, Pane::verticalDragBar, Pane::verticalLimitBar}) {
        EXPECT_EQ(g[bar].left, c.vbarLeft) << paneName(bar);
        EXPECT_EQ(g[bar].width, kSplitterThickness) << paneName(bar);
    }
}

const StoredCase kStoredCases[] = {
    {0, 0, 2970, 3570},        // first run: nothing stored
    {-400, -1, 2970, 3570},    // negative values
    {1500, 4000, 1500, 4000},  // used unchanged
    {1, 1, 1, 1},
    {2'000'000'000, 2'000'000'000, kMaxPosition, kMaxPosition},  // hostile file
};

INSTANTIATE_TEST_SUITE_P(Settings, InitialSplitters, ::testing::ValuesIn(kStoredCases));

TEST(InitialPlacement, PanesAndTabPageControls) {
    const PaneGeometry g = initialPlacement(kToolbar, 0, 0, kFbColumn0, kFsColumn0);
    for (Pane pane : {Pane::dataSheet, Pane::databaseTree, Pane::captionPanel}) {
        EXPECT_EQ(g[pane].top, kToolbar) << paneName(pane);
    }
    for (Pane pane : {Pane::databaseTree, Pane::captionPanel, Pane::tabStrip}) {
        EXPECT_EQ(g[pane].left, 0) << paneName(pane);
    }
    for (Pane page : {Pane::formView, Pane::statisticsGrid, Pane::tableTree, Pane::sqlBox}) {
        EXPECT_EQ(g[page].left, 100) << paneName(page);
        EXPECT_EQ(g[page].top, 400) << paneName(page);
    }
    const std::pair<Pane, int> buttons[] = {
        {Pane::runButton, 105},          {Pane::clearButton, 528}, {Pane::saveQueryButton, 951},
        {Pane::deleteQueryButton, 1374}, {Pane::lockButton, 1800}, {Pane::unlockButton, 1800}};
    for (const auto& [button, left] : buttons) {
        EXPECT_EQ(g[button].left, left) << paneName(button);
        EXPECT_EQ(g[button].width, 345) << paneName(button);
        EXPECT_EQ(g[button].height, 330) << paneName(button);
    }
    EXPECT_EQ(g.formViewColumn0Width, kFbColumn0);
    EXPECT_EQ(g.statisticsColumn0Width, kFsColumn0);
}

// Every rectangle of the full layout for a window of 12000 x 8100 twips, the
// splitters at 2970 / 3570, worked out by hand from the layout's steps.
struct FullCase {
    const char* name;
    int toolbarHeight;
    Pane pane;
    TwipsRect expected;
};

void PrintTo(const FullCase& c, std::ostream* os) {
    *os << c.name;
}

class FullLayout : public ::testing::TestWithParam<FullCase> {};

TEST_P(FullLayout, PlacesThePane) {
    const FullCase& c = GetParam();
    PaneGeometry g = initialPlacement(c.toolbarHeight, 0, 0, kFbColumn0, kFsColumn0);
    const SkippedList skipped = fullLayout(g, frame(c.toolbarHeight));
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(g[c.pane], c.expected) << paneName(c.pane);
}

// With the toolbar (T = 390): the sheet is 8100 - 390 - 300 = 7410 high.
const FullCase kFullCases[] = {
    {"SheetWithToolbar", kToolbar, Pane::dataSheet, {3630, 390, 8370, 7410}},
    {"TreeWithToolbar", kToolbar, Pane::databaseTree, {0, 390, 3570, 2580}},
    {"CaptionPanelWithToolbar", kToolbar, Pane::captionPanel, {0, 390, 3570, 2580}},
    {"VBarWithToolbar", kToolbar, Pane::verticalSplitter, {3570, 390, 60, 7410}},
    {"VBar1WithToolbar", kToolbar, Pane::verticalDragBar, {3570, 390, 60, 7410}},
    {"VBar2WithToolbar", kToolbar, Pane::verticalLimitBar, {3570, 390, 60, 7410}},
    {"HBarWithToolbar", kToolbar, Pane::horizontalSplitter, {0, 2970, 3570, 60}},
    {"HBar1WithToolbar", kToolbar, Pane::horizontalDragBar, {0, 2970, 3570, 60}},
    {"HBar2WithToolbar", kToolbar, Pane::horizontalLimitBar, {0, 2970, 3570, 60}},
    // 8100 - 2970 - 60 - 300 = 4770 high, below the splitter.
    {"TabStripWithToolbar", kToolbar, Pane::tabStrip, {0, 3030, 3570, 4770}},
    {"FormView", kToolbar, Pane::formView, {100, 400, 3370, 4290}},
    {"StatisticsGrid", kToolbar, Pane::statisticsGrid, {100, 400, 3370, 4290}},
    {"TableTree", kToolbar, Pane::tableTree, {100, 400, 3370, 4290}},
    {"SqlBox", kToolbar, Pane::sqlBox, {100, 400, 3370, 3790}},
    {"RunButton", kToolbar, Pane::runButton, {105, 4290, 345, 330}},
    {"ClearButton", kToolbar, Pane::clearButton, {528, 4290, 345, 330}},
    {"SaveButton", kToolbar, Pane::saveQueryButton, {951, 4290, 345, 330}},
    {"DeleteButton", kToolbar, Pane::deleteQueryButton, {1374, 4290, 345, 330}},
    {"LockButton", kToolbar, Pane::lockButton, {1800, 4290, 345, 330}},
    {"UnlockButton", kToolbar, Pane::unlockButton, {1800, 4290, 345, 330}},
    {"ProgressBar", kToolbar, Pane::progressBar, {50, 7850, 1500, 200}},
    // Without the toolbar everything above the splitter starts at the top;
    // the tab control does not move.
    {"SheetWithoutToolbar", 0, Pane::dataSheet, {3630, 0, 8370, 7800}},
    {"TreeWithoutToolbar", 0, Pane::databaseTree, {0, 0, 3570, 2970}},
    {"CaptionPanelWithoutToolbar", 0, Pane::captionPanel, {0, 0, 3570, 2970}},
    {"VBarWithoutToolbar", 0, Pane::verticalSplitter, {3570, 0, 60, 7800}},
    {"TabStripWithoutToolbar", 0, Pane::tabStrip, {0, 3030, 3570, 4770}},
};

INSTANTIATE_TEST_SUITE_P(Steps, FullLayout, ::testing::ValuesIn(kFullCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FullLayoutColumns, FormViewValueColumnFillsItsWidth) {
    const PaneGeometry g = loaded(kToolbar);
    EXPECT_EQ(g.formViewColumn1Width, 3370 - kFbColumn0);
    // The statistics grid takes the form view's column, not its own share.
    EXPECT_EQ(g.statisticsColumn1Width, 3370 - kFbColumn0);
}

TEST(FullLayoutSplitters, PositionsAreUsedUnclamped) {
    // A splitter beyond the window is not pulled back: the sheet's width
    // would be negative and keeps its previous value.
    PaneGeometry g = loaded(0);
    g[Pane::verticalSplitter].left = 20000;
    const SkippedList skipped = fullLayout(g, frame(0));
    EXPECT_EQ(g[Pane::verticalSplitter].left, 20000);
    EXPECT_EQ(g[Pane::dataSheet].left, 20060);
    EXPECT_EQ(g[Pane::dataSheet].width, 8370);
    EXPECT_EQ(g[Pane::databaseTree].width, 20000);
    EXPECT_EQ(skipped, (SkippedList{{Pane::dataSheet, Dimension::Width, 12000 - 20060}}));
}

TEST(FullLayoutSplitters, SplitterAboveTheToolbarLeavesTheTreeAlone) {
    PaneGeometry g = loaded(kToolbar);
    g[Pane::horizontalSplitter].top = 300;
    const SkippedList skipped = fullLayout(g, frame(kToolbar));
    EXPECT_EQ(g[Pane::databaseTree].height, 2580);
    EXPECT_EQ(g[Pane::captionPanel].height, 2580);
    EXPECT_EQ(skipped, (SkippedList{{Pane::databaseTree, Dimension::Height, -90},
                                    {Pane::captionPanel, Dimension::Height, -90}}));
    EXPECT_EQ(g[Pane::tabStrip].top, 360);
}

TEST(FullLayoutShrinking, NegativeSizesAreSkippedAndPanesKeepTheirSize) {
    PaneGeometry g = loaded(kToolbar);
    const PaneGeometry before = g;
    // 600 high and 2000 wide: H - T - S = -90 for the sheet, and the tab
    // control, form view and SQL box come out negative too.
    const SkippedList skipped = fullLayout(g, frame(kToolbar, 2000, 600, 2120, 1300));
    EXPECT_EQ(g[Pane::dataSheet].height, before[Pane::dataSheet].height);
    EXPECT_EQ(g[Pane::dataSheet].width, before[Pane::dataSheet].width);
    EXPECT_EQ(g[Pane::verticalSplitter].height, before[Pane::verticalSplitter].height);
    EXPECT_EQ(g[Pane::tabStrip].height, before[Pane::tabStrip].height);
    EXPECT_EQ(g[Pane::formView].height, before[Pane::formView].height);
    // Tops still follow: the progress bar sits 250 above the bottom.
    EXPECT_EQ(g[Pane::progressBar].top, 350);
    const SkippedAssignment faHeight{Pane::dataSheet, Dimension::Height, 600 - kToolbar - kS};
    const SkippedAssignment faWidth{Pane::dataSheet, Dimension::Width, 2000 - 3630};
    const SkippedAssignment tabHeight{Pane::tabStrip, Dimension::Height, 600 - 3030 - kS};
    EXPECT_NE(std::find(skipped.begin(), skipped.end(), faHeight), skipped.end());
    EXPECT_NE(std::find(skipped.begin(), skipped.end(), faWidth), skipped.end());
    EXPECT_NE(std::find(skipped.begin(), skipped.end(), tabHeight), skipped.end());
    for (const SkippedAssignment& s : skipped) {
        EXPECT_LT(s.rejectedValue, 0) << paneName(s.pane);
    }
}

TEST(FullLayoutShrinking, EnlargingAgainRestoresTheArithmetic) {
    PaneGeometry g = loaded(kToolbar);
    const PaneGeometry normal = g;
    fullLayout(g, frame(kToolbar, 2000, 600, 2120, 1300));
    ASSERT_NE(g, normal);
    EXPECT_TRUE(fullLayout(g, frame(kToolbar)).empty());
    EXPECT_EQ(g, normal);
}

TEST(FullLayoutShrinking, ZeroSizedWindowDoesNotSkipZeroSizes) {
    PaneGeometry g = initialPlacement(0, 0, 0, 0, 0);
    const SkippedList skipped = fullLayout(g, frame(0, 3630, 3030 + kS + 980, 3750, 5000));
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(g[Pane::dataSheet].width, 0);
    EXPECT_EQ(g[Pane::sqlBox].height, 0);
}

TEST(FullLayoutRepeat, SameWindowGivesSameGeometry) {
    PaneGeometry g = loaded(kToolbar, 1500, 4000);
    const PaneGeometry first = g;
    fullLayout(g, frame(kToolbar));
    EXPECT_EQ(g, first);
}

TEST(PaneNames, EveryPaneIsNamed) {
    EXPECT_STREQ(paneName(Pane::dataSheet), "fa");
    EXPECT_STREQ(paneName(Pane::tabStrip), "TabStrip1");
    EXPECT_STREQ(paneName(Pane::unlockButton), "cmdUnlockSQL");
    EXPECT_STREQ(paneName(Pane::progressBar), "Progress");
}

}  // namespace
}  // namespace ui
