#include "analysis/statistics_passes.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "analysis/number_format.h"
#include "analysis/number_reading.h"
#include "fake_columns.h"

namespace analysis {
namespace {

using testing::counting;
using testing::FakeColumn;
using testing::repeated;

ColumnStatistics runBothPasses(const FakeColumn& column) {
    ColumnStatistics entry;
    columnPass(column, entry, nullptr);
    histogramPass(column, entry);
    return entry;
}

// One column and every figure the two passes give it; the two-decimal and
// general texts are what the statistics grid shows.
struct StatisticsCase {
    std::string name;
    QStringList cells;
    float maximum;
    float minimum;
    float total;
    std::string average;
    std::string deviation;
    std::string width;
    std::array<int, 10> counts;  // interval 1 first
    int largest;
};

void PrintTo(const StatisticsCase& c, std::ostream* os) {
    *os << c.name;
}

class ColumnFigures : public ::testing::TestWithParam<StatisticsCase> {};

TEST_P(ColumnFigures, MatchTheSinglePrecisionRules) {
    const StatisticsCase& c = GetParam();
    const ColumnStatistics entry = runBothPasses(FakeColumn(c.cells));
    EXPECT_EQ(entry.maximum, c.maximum);
    EXPECT_EQ(entry.minimum, c.minimum);
    EXPECT_EQ(entry.total, c.total);
    EXPECT_EQ(formatTwoDecimals(entry.average).toStdString(), c.average);
    EXPECT_EQ(formatTwoDecimals(entry.standardDeviation).toStdString(), c.deviation);
    EXPECT_EQ(formatGeneral(entry.intervalWidth).toStdString(), c.width);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(entry.count(k), c.counts[k - 1]) << "interval " << k;
    EXPECT_EQ(entry.largestCount, c.largest);
    const int landed = std::accumulate(entry.intervalCounts.begin(), entry.intervalCounts.end(), 0);
    EXPECT_EQ(landed, c.cells.size()) << "every row lands in exactly one interval";
}

std::vector<StatisticsCase> statisticsCases() {
    return {
        {"OneToFive",
         counting(1, 5),
         5,
         1,
         15,
         "3.00",
         "1.41",
         "0.4",
         {1, 0, 1, 0, 1, 0, 0, 1, 0, 1},
         1},
        {"ZeroToTen",
         counting(0, 10),
         10,
         0,
         55,
         "5.00",
         "3.16",
         "1",
         {2, 1, 1, 1, 1, 1, 1, 1, 1, 1},
         2},
        {"AllEqual",
         repeated("5", 3),
         5,
         5,
         15,
         "5.00",
         "0.00",
         "0",
         {3, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         3},
        {"BlankAndWordsCountAsZero",
         {"4", "", "n/a"},
         4,
         0,
         4,
         "1.33",
         "1.89",
         "0.4",
         {2, 0, 0, 0, 0, 0, 0, 0, 0, 1},
         2},
        {"UnitsAndThousandsSeparator",
         {"12kg", "1,234"},
         12,
         1,
         13,
         "6.50",
         "5.50",
         "1.1",
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 1},
         1},
        {"NegativeValues",
         {"-10", "0", "10"},
         10,
         -10,
         0,
         "0.00",
         "8.16",
         "2",
         {1, 0, 0, 0, 1, 0, 0, 0, 0, 1},
         1},
        {"DescendingValues",
         {"9", "3", "-3", "-9"},
         9,
         -9,
         0,
         "0.00",
         "6.71",
         "1.8",
         {1, 0, 0, 1, 0, 0, 1, 0, 0, 1},
         1},
        // 0.1 + 0.1 + 0.1 in single precision is 0.3f, a little more than three
        // times 0.1f: N x sum of squares - total^2 comes out negative.
        {"EqualValuesWithNegativeRadicand",
         repeated("0.1", 3),
         0.1f,
         0.1f,
         0.3f,
         "0.10",
         "0.00",
         "0",
         {3, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         3},
        {"NoDataRows", {}, 0, 0, 0, "0.00", "0.00", "0", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"OneRow",
         {"-7.5"},
         -7.5f,
         -7.5f,
         -7.5f,
         "-7.50",
         "0.00",
         "0",
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         1},
        // 16777216 + 1 is not a single, but the total accumulates in double
        // precision and only the stored figure is rounded.
        {"TotalAccumulatedBeyondSinglePrecision",
         {"16777216", "1", "1"},
         16777216,
         1,
         16777218,
         "5592406.00",
         "7908855.00",
         "1677722",
         {2, 0, 0, 0, 0, 0, 0, 0, 0, 1},
         2},
        {"ValuesRoundedToSingle",
         {"16777217", "0.1"},
         16777216,
         0.1f,
         16777216,
         "8388608.00",
         "8388608.00",
         "1677722",
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 1},
         1},
        {"HexOctalAndExponents",
         {"&H10", "&O10", "1D1", "2E0"},
         16,
         2,
         36,
         "9.00",
         "5.00",
         "1.4",
         {1, 0, 0, 0, 1, 1, 0, 0, 0, 1},
         1},
    };
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnFigures, ::testing::ValuesIn(statisticsCases()),
                         [](const auto& info) { return info.param.name; });

TEST(ColumnPass, ExtremesStartFromTheWorkingValues) {
    // A column entirely above 1E+20 never goes below the starting minimum, and
    // one entirely below -1.1E+20 never above the starting maximum.
    const ColumnStatistics high = runBothPasses(FakeColumn({"1E+25", "2E+25"}));
    EXPECT_EQ(high.maximum, 2e25f);
    EXPECT_EQ(high.minimum, 1e20f);
    const ColumnStatistics low = runBothPasses(FakeColumn({"-1E+25", "-2E+25"}));
    EXPECT_EQ(low.maximum, -1.1e20f);
    EXPECT_EQ(low.minimum, -2e25f);
    EXPECT_EQ(formatGeneral(low.maximum), QStringLiteral("-1.1E+20"));
}

TEST(ColumnPass, SumOfSquaresKeptInDoublePrecision) {
    // 4097^2 + 1 needs 25 bits: in single precision the spread would come out
    // as 2047.9998 instead of exactly 2048.
    const ColumnStatistics entry = runBothPasses(FakeColumn({"4097", "1"}));
    EXPECT_EQ(entry.standardDeviation, 2048.0f);
    EXPECT_EQ(entry.average, 2049.0f);
}

TEST(ColumnPass, LeavesTheIntervalFieldsAlone) {
    ColumnStatistics entry;
    entry.intervalCounts[4] = 9;
    entry.largestCount = 9;
    entry.intervalWidth = 3.0f;
    columnPass(FakeColumn(counting(1, 3)), entry, nullptr);
    EXPECT_EQ(entry.count(5), 9);
    EXPECT_EQ(entry.largestCount, 9);
    EXPECT_EQ(entry.intervalWidth, 3.0f);
    nonNumericPass(entry);
    EXPECT_EQ(entry.count(5), 9);
    EXPECT_EQ(entry.maximum, 0.0f);
    EXPECT_EQ(entry.minimum, 0.0f);
    EXPECT_EQ(entry.total, 0.0f);
    EXPECT_EQ(entry.average, 0.0f);
    EXPECT_EQ(entry.standardDeviation, 0.0f);
}

TEST(ColumnPass, TotalBeyondSingleRangeStillGivesAverageAndSpread) {
    // The total does not fit a single and shows as an overflow; the average
    // and the spread, accumulated in double precision, are still right.
    const ColumnStatistics entry = runBothPasses(FakeColumn({"3E+38", "3E+38", "3E+38", "0"}));
    EXPECT_EQ(entry.maximum, 3e38f);
    EXPECT_EQ(entry.minimum, 0.0f);
    EXPECT_TRUE(std::isinf(entry.total));
    EXPECT_EQ(entry.average, toSingle((3.0 * static_cast<double>(3e38f)) / 4));
    EXPECT_FLOAT_EQ(entry.standardDeviation, 1.299038e38f);
    EXPECT_EQ(entry.intervalWidth, 3e37f);
    EXPECT_EQ(entry.count(1), 1);
    EXPECT_EQ(entry.count(10), 3);
    const ColumnStatistics beyond = runBothPasses(FakeColumn({"1E+39", "-1E+39", "5"}));
    EXPECT_TRUE(std::isinf(beyond.maximum));
    EXPECT_TRUE(std::isinf(beyond.minimum));
    EXPECT_TRUE(std::isnan(beyond.total));
    EXPECT_EQ(beyond.count(10), 3) << "undefined bounds send every row to the top interval";
}

// Regression: the total was kept in single precision, so on a million rows
// of 0, 0.25, 0.5, ... (the benchmark's Big.Amount) the average showed
// 124974.28 and the standard deviation 72213.09.
TEST(ColumnPass, SinglePrecisionTotalDriftOnMillionRows) {
    QStringList cells;
    cells.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        cells << QString::number(i * 0.25, 'g', 10);
    const ColumnStatistics entry = runBothPasses(FakeColumn(cells));
    EXPECT_EQ(entry.average, 124999.875f);
    EXPECT_EQ(formatTwoDecimals(entry.average), QStringLiteral("124999.88"));
    EXPECT_EQ(formatTwoDecimals(entry.standardDeviation), QStringLiteral("72168.78"));
    EXPECT_EQ(entry.total, toSingle(124999875000.0));
    EXPECT_EQ(entry.maximum, 249999.75f);
    EXPECT_EQ(entry.minimum, 0.0f);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(entry.count(k), 100'000) << "interval " << k;
}

// Values far from zero with a small spread: N x sum of squares - total^2
// cancels to nothing in double precision; the running deviation does not.
TEST(ColumnPass, SpreadOfLargeValuesSurvivesCancellation) {
    QStringList cells;
    for (int i = 0; i < 100'000; ++i)
        cells << QString::number(10'000'000 + (i % 2 == 0 ? -1 : 1));
    const ColumnStatistics entry = runBothPasses(FakeColumn(cells));
    EXPECT_EQ(entry.average, 10'000'000.0f);
    EXPECT_EQ(entry.standardDeviation, 1.0f);
}

class CountingProgress : public PassProgress {
  public:
    void rowDone(int row, int rows) override {
        EXPECT_EQ(row, ++calls);
        total = rows;
    }
    int calls = 0;
    int total = -1;
};

TEST(ColumnPass, ReportsEveryRowAndReadsEachCellOnce) {
    FakeColumn column(counting(1, 1000));
    CountingProgress progress;
    ColumnStatistics entry;
    columnPass(column, entry, &progress);
    EXPECT_EQ(progress.calls, 1000);
    EXPECT_EQ(progress.total, 1000);
    EXPECT_EQ(column.reads(), 1000);
    histogramPass(column, entry);
    EXPECT_EQ(column.reads(), 2000) << "the histogram reads the sheet again";
}

struct BoundCase {
    float value;
    int interval;
};

class IntervalOfValue : public ::testing::TestWithParam<BoundCase> {};

// Bounds of 0..10 (width 1): 1, 2, ..., 9.
TEST_P(IntervalOfValue, FirstBoundAtLeastTheValue) {
    ColumnStatistics entry;
    entry.minimum = 0;
    entry.intervalWidth = 1;
    EXPECT_EQ(intervalOf(GetParam().value, intervalBounds(entry)), GetParam().interval);
}

INSTANTIATE_TEST_SUITE_P(Table, IntervalOfValue,
                         ::testing::Values(BoundCase{-100, 1}, BoundCase{0, 1}, BoundCase{1, 1},
                                           BoundCase{1.0000001f, 2}, BoundCase{2, 2},
                                           BoundCase{5, 5}, BoundCase{8.5f, 9}, BoundCase{9, 9},
                                           BoundCase{9.000001f, 10}, BoundCase{1e30f, 10}));

TEST(IntervalBounds, FormedInDoubleThenRounded) {
    ColumnStatistics entry;
    entry.minimum = 1.0f;
    entry.intervalWidth = 0.4f;  // 0.4000000059604645
    const std::array<float, 9> bounds = intervalBounds(entry);
    for (int k = 1; k <= 9; ++k) {
        const double exact = 1.0 + k * static_cast<double>(0.4f);
        EXPECT_EQ(bounds[k - 1], static_cast<float>(exact)) << "bound " << k;
    }
    EXPECT_EQ(bounds[4], 3.0f) << "so 3 of 1..5 lands in interval 5";
}

}  // namespace
}  // namespace analysis
