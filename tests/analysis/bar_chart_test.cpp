#include "analysis/bar_chart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/statistics_passes.h"
#include "fake_columns.h"

namespace analysis {
namespace {

using testing::counting;
using testing::FakeColumn;
using testing::repeated;

ColumnStatistics figuresOf(const FakeColumn& column) {
    ColumnStatistics entry;
    columnPass(column, entry, nullptr);
    histogramPass(column, entry);
    return entry;
}

struct BarCase {
    std::string name;
    QStringList cells;
    std::vector<double> percents;
};

void PrintTo(const BarCase& c, std::ostream* os) {
    *os << c.name;
}

class BarChartDrawing : public ::testing::TestWithParam<BarCase> {};

TEST_P(BarChartDrawing, ScalesEveryCellToTheStoredRange) {
    const BarCase& c = GetParam();
    FakeColumn column(c.cells);
    const ColumnStatistics entry = figuresOf(column);
    ASSERT_EQ(toggleBarChart(column, &entry), BarChartOutcome::Drawn);
    for (int r = 1; r <= column.dataRowCount(); ++r) {
        EXPECT_EQ(column.percent(r), c.percents[r - 1]) << "row " << r;
        EXPECT_EQ(column.colour(r), kBarChartColour) << "row " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BarChartDrawing,
    ::testing::Values(BarCase{"PositiveFromZero", {"2", "4", "8"}, {25, 50, 100}},
                      BarCase{"NegativeFromMinimum", {"-10", "0", "10"}, {0, 50, 100}},
                      BarCase{"AllNegative", {"-4", "-2", "-1"}, {0, 2.0 / 3.0 * 100.0, 100}},
                      BarCase{"BlankAndWordsReadZero", {"8", "", "n/a", "2kg"}, {100, 0, 0, 25}},
                      BarCase{"ZeroMinimumIsFromZero", {"0", "5", "10"}, {0, 50, 100}},
                      // The cell's own reading, not its single-precision value.
                      BarCase{"ReadsCellsInDouble", {"0.1", "1"}, {0.1 / 1.0 * 100.0, 100}}),
    [](const auto& info) { return info.param.name; });

TEST(BarChartToggle, SecondToggleRemovesAndLeavesColoursBelowRowOne) {
    FakeColumn column({"2", "4", "8"});
    const ColumnStatistics entry = figuresOf(column);
    ASSERT_EQ(toggleBarChart(column, &entry), BarChartOutcome::Drawn);
    ASSERT_EQ(toggleBarChart(column, &entry), BarChartOutcome::Removed);
    EXPECT_EQ(column.colour(1), kBarChartRemovedMarker);
    EXPECT_EQ(column.colour(2), kBarChartColour);
    EXPECT_EQ(column.colour(3), kBarChartColour);
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(column.percent(r), 0.0) << "row " << r;
    EXPECT_EQ(toggleBarChart(column, &entry), BarChartOutcome::Drawn) << "white marker: draw again";
    EXPECT_EQ(column.percent(3), 100.0);
    EXPECT_EQ(column.colour(1), kBarChartColour);
}

TEST(BarChartToggle, NothingForColumnsWithoutARange) {
    FakeColumn equal(repeated("5", 3));
    const ColumnStatistics equalEntry = figuresOf(equal);
    EXPECT_EQ(toggleBarChart(equal, &equalEntry), BarChartOutcome::Unchanged);

    FakeColumn text({"a", "b"});
    ColumnStatistics textEntry;
    nonNumericPass(textEntry);
    EXPECT_EQ(toggleBarChart(text, &textEntry), BarChartOutcome::Unchanged);

    FakeColumn added({"1", "2"});
    EXPECT_EQ(toggleBarChart(added, nullptr), BarChartOutcome::Unchanged);

    for (const FakeColumn* column : {&equal, &text, &added}) {
        for (int r = 1; r <= column->dataRowCount(); ++r) {
            EXPECT_EQ(column->colour(r), 0u);
            EXPECT_EQ(column->percent(r), 0.0);
        }
    }
}

TEST(BarChartToggle, NothingOnASheetWithoutDataRows) {
    FakeColumn empty;
    ColumnStatistics entry;
    entry.maximum = 10;
    entry.minimum = 1;
    EXPECT_EQ(toggleBarChart(empty, &entry), BarChartOutcome::Unchanged);
}

TEST(BarChartToggle, EditedValuesAreNotClamped) {
    FakeColumn positive({"2", "4", "8"});
    const ColumnStatistics positiveEntry = figuresOf(positive);
    positive.setText(2, "16");
    positive.setText(3, "-4");
    ASSERT_EQ(toggleBarChart(positive, &positiveEntry), BarChartOutcome::Drawn);
    EXPECT_EQ(positive.percent(2), 200.0);
    EXPECT_EQ(positive.percent(3), -50.0);

    FakeColumn negative({"-10", "0", "10"});
    const ColumnStatistics negativeEntry = figuresOf(negative);
    negative.setText(1, "-20");
    negative.setText(3, "30");
    ASSERT_EQ(toggleBarChart(negative, &negativeEntry), BarChartOutcome::Drawn);
    EXPECT_EQ(negative.percent(1), -50.0);
    EXPECT_EQ(negative.percent(3), 200.0);
}

TEST(BarChartToggle, CoversEveryRowPastSixteenBits) {
    FakeColumn column(counting(1, 40000));
    const ColumnStatistics entry = figuresOf(column);
    ASSERT_EQ(toggleBarChart(column, &entry), BarChartOutcome::Drawn);
    EXPECT_EQ(column.percent(40000), 100.0);
    EXPECT_EQ(column.percent(32768), 32768.0 / 40000.0 * 100.0);
    EXPECT_EQ(column.colour(40000), kBarChartColour);
    ASSERT_EQ(toggleBarChart(column, &entry), BarChartOutcome::Removed);
    EXPECT_EQ(column.percent(40000), 0.0);
}

}  // namespace
}  // namespace analysis
