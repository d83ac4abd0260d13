#include "analysis/statistics_grid_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/statistics_passes.h"
#include "fake_columns.h"

namespace analysis {
namespace {

using testing::counting;
using testing::FakeColumn;
using testing::repeated;

ColumnStatistics figuresOf(const QStringList& cells) {
    FakeColumn column(cells);
    ColumnStatistics entry;
    columnPass(column, entry, nullptr);
    histogramPass(column, entry);
    return entry;
}

std::string valueAt(const StatisticsGridText& grid, int row) {
    return grid.rows.at(row).value.toStdString();
}

const char* const kRule =
    "--------------------+--------------------+--------------------+--------------------+";

TEST(StatisticsLabels, ExactTextsWithTrailingBlanks) {
    const std::vector<std::string> expected = {
        "Statistics",          "Column Name",      "Count", "Max",    "Min", "Total",  "Average",
        "Standard Deviation",  "Interval",         " +",    "Max | ", "| ",  "| ",     "| ",
        "Ten - Interval   | ", "Histogram     | ", "| ",    "| ",     "| ",  "Min | ", " +"};
    ASSERT_EQ(expected.size(), static_cast<size_t>(StatisticsGridText::kNumericRows));
    for (int r = 0; r < StatisticsGridText::kNumericRows; ++r)
        EXPECT_EQ(StatisticsGridText::label(r).toStdString(), expected[r]) << "row " << r;
    EXPECT_TRUE(StatisticsGridText::label(21).isEmpty());
    EXPECT_TRUE(StatisticsGridText::label(-1).isEmpty());
}

TEST(StatisticsLabels, RuleIsFourGroupsOfTwentyHyphens) {
    const QString rule = StatisticsGridText::rule();
    EXPECT_EQ(rule.size(), 84);
    EXPECT_EQ(rule.toStdString(), kRule);
}

TEST(StatisticsLabels, CountRowsRunFromTheTopInterval) {
    EXPECT_EQ(StatisticsGridText::intervalOfRow(10), 10);
    EXPECT_EQ(StatisticsGridText::intervalOfRow(14), 6);
    EXPECT_EQ(StatisticsGridText::intervalOfRow(15), 5);
    EXPECT_EQ(StatisticsGridText::intervalOfRow(19), 1);
    EXPECT_EQ(StatisticsGridText::intervalOfRow(9), 0);
    EXPECT_EQ(StatisticsGridText::intervalOfRow(20), 0);
}

TEST(StatisticsGrid, OneToFiveCellByCell) {
    const ColumnStatistics entry = figuresOf(counting(1, 5));
    const StatisticsGridText grid = statisticsGridText("Amount", 5, true, &entry);
    ASSERT_EQ(grid.rows.size(), 21u);
    const std::vector<std::string> values = {
        "Value", "Amount", "5",  "5", "1", "15", "3.00", "1.41", "(Max-Min)/10 = 0.4",
        kRule,   "1",      "0",  "1", "0", "0",  "1",    "0",    "1",
        "0",     "1",      kRule};
    for (int r = 0; r < 21; ++r) {
        EXPECT_EQ(valueAt(grid, r), values[r]) << "row " << r;
        EXPECT_EQ(grid.rows[r].label, StatisticsGridText::label(r)) << "row " << r;
    }
    const std::vector<double> bars = {0, 100, 0, 100, 0, 0, 100, 0, 100, 0, 100, 0};
    for (int r = 9; r <= 20; ++r) {
        ASSERT_TRUE(grid.rows[r].barPercent.has_value()) << "row " << r;
        EXPECT_EQ(*grid.rows[r].barPercent, bars[r - 9]) << "row " << r;
    }
    for (int r = 0; r < 9; ++r)
        EXPECT_FALSE(grid.rows[r].barPercent.has_value()) << "row " << r;
}

TEST(StatisticsGrid, ZeroToTenOnlyTheLowestBarIsFull) {
    const ColumnStatistics entry = figuresOf(counting(0, 10));
    const StatisticsGridText grid = statisticsGridText("n", 11, true, &entry);
    EXPECT_EQ(valueAt(grid, 8), "(Max-Min)/10 = 1");
    EXPECT_EQ(valueAt(grid, 19), "2");
    EXPECT_EQ(*grid.rows[19].barPercent, 100.0);
    for (int r = 10; r <= 18; ++r) {
        EXPECT_EQ(valueAt(grid, r), "1") << "row " << r;
        EXPECT_EQ(*grid.rows[r].barPercent, 50.0) << "row " << r;
    }
}

TEST(StatisticsGrid, AllEqual) {
    const ColumnStatistics entry = figuresOf(repeated("5", 3));
    const StatisticsGridText grid = statisticsGridText("x", 3, true, &entry);
    EXPECT_EQ(valueAt(grid, 3), "5");
    EXPECT_EQ(valueAt(grid, 4), "5");
    EXPECT_EQ(valueAt(grid, 6), "5.00");
    EXPECT_EQ(valueAt(grid, 7), "0.00");
    EXPECT_EQ(valueAt(grid, 8), "(Max-Min)/10 = 0");
    EXPECT_EQ(valueAt(grid, 19), "3");
    EXPECT_EQ(*grid.rows[19].barPercent, 100.0);
    EXPECT_EQ(*grid.rows[10].barPercent, 0.0);
}

TEST(StatisticsGrid, BlankAndWordsCountAsZero) {
    const ColumnStatistics entry = figuresOf({"4", "", "n/a"});
    const StatisticsGridText grid = statisticsGridText("x", 3, true, &entry);
    EXPECT_EQ(valueAt(grid, 2), "3");
    EXPECT_EQ(valueAt(grid, 4), "0");
    EXPECT_EQ(valueAt(grid, 6), "1.33");
}

TEST(StatisticsGrid, NonNumericColumnShowsNameAndCountOnly) {
    const StatisticsGridText grid = statisticsGridText("Flag", 42, false, nullptr);
    ASSERT_EQ(grid.rows.size(), 3u);
    EXPECT_EQ(grid.rows[0].label.toStdString(), "Statistics");
    EXPECT_EQ(valueAt(grid, 0), "Value");
    EXPECT_EQ(grid.rows[1].label.toStdString(), "Column Name");
    EXPECT_EQ(valueAt(grid, 1), "Flag");
    EXPECT_EQ(grid.rows[2].label.toStdString(), "Count");
    EXPECT_EQ(valueAt(grid, 2), "42");
    for (const auto& row : grid.rows)
        EXPECT_FALSE(row.barPercent.has_value());
}

TEST(StatisticsGrid, NonNumericIgnoresAnyStoredFigures) {
    const ColumnStatistics entry = figuresOf(counting(1, 5));
    const StatisticsGridText grid = statisticsGridText("Name", 5, false, &entry);
    EXPECT_EQ(grid.rows.size(), 3u);
}

TEST(StatisticsGrid, NumericColumnWithoutEntryKeepsLabelsAndEmptiesValues) {
    const StatisticsGridText grid = statisticsGridText("Added", 7, true, nullptr);
    ASSERT_EQ(grid.rows.size(), 21u);
    EXPECT_EQ(valueAt(grid, 1), "Added");
    EXPECT_EQ(valueAt(grid, 2), "7");
    for (int r : {3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19})
        EXPECT_EQ(valueAt(grid, r), "") << "row " << r;
    EXPECT_EQ(valueAt(grid, 9), kRule);
    EXPECT_EQ(valueAt(grid, 20), kRule);
    for (int r = 0; r < 21; ++r)
        EXPECT_EQ(grid.rows[r].label, StatisticsGridText::label(r));
    for (int r = 9; r <= 20; ++r)
        EXPECT_EQ(*grid.rows[r].barPercent, 0.0) << "row " << r;
}

TEST(StatisticsGrid, NoDataRowsShowsZerosWithoutDividingByZero) {
    const ColumnStatistics entry = figuresOf({});
    const StatisticsGridText grid = statisticsGridText("Empty", 0, true, &entry);
    const std::vector<std::string> values = {
        "Value", "Empty", "0",  "0", "0", "0", "0.00", "0.00", "(Max-Min)/10 = 0",
        kRule,   "0",     "0",  "0", "0", "0", "0",    "0",    "0",
        "0",     "0",     kRule};
    for (int r = 0; r < 21; ++r)
        EXPECT_EQ(valueAt(grid, r), values[r]) << "row " << r;
    for (int r = 9; r <= 20; ++r)
        EXPECT_EQ(*grid.rows[r].barPercent, 0.0) << "row " << r;
}

// The total beyond single precision says so; the average and the spread,
// worked out from the double-precision total, fit and are shown.
TEST(StatisticsGrid, OverflowedTotalSaysOverflowWhileAverageAndSpreadFit) {
    const ColumnStatistics entry = figuresOf({"3E+38", "3E+38", "0"});
    const StatisticsGridText grid = statisticsGridText("Big", 3, true, &entry);
    EXPECT_EQ(valueAt(grid, 3), "3E+38");
    EXPECT_EQ(valueAt(grid, 5), "Overflow");
    EXPECT_EQ(valueAt(grid, 6), "199999993605713849301312521538346418176.00");  // 2E+38
    EXPECT_EQ(valueAt(grid, 7), "141421352308927277366389267736639307776.00");  // 1.414E+38
    EXPECT_EQ(valueAt(grid, 8), "(Max-Min)/10 = 3E+37");
    for (int r = 9; r <= 20; ++r)
        EXPECT_FALSE(std::isnan(*grid.rows[r].barPercent)) << "row " << r;
}

TEST(StatisticsGrid, TitleIsShownAsItStands) {
    const ColumnStatistics entry = figuresOf({"1"});
    const QString title = QStringLiteral(" Price (\u20AC)  ");
    const StatisticsGridText grid = statisticsGridText(title, 1, true, &entry);
    EXPECT_EQ(grid.rows[1].value, title);
}

}  // namespace
}  // namespace analysis
