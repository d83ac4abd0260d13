#include "analysis/statistics_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_columns.h"

namespace analysis {
namespace {

using testing::counting;
using testing::FakeColumn;

class FakeSheet : public StatisticsSheet {
  public:
    void add(QStringList cells, bool numeric) {
        columns_.push_back(std::make_unique<FakeColumn>(std::move(cells)));
        numeric_.push_back(numeric);
    }
    int columnCount() const override { return static_cast<int>(columns_.size()); }
    bool isNumericColumn(int c) const override { return numeric_.at(c); }
    const ColumnSource& column(int c) const override { return *columns_.at(c); }
    const FakeColumn& fake(int c) const { return *columns_.at(c); }

  private:
    std::vector<std::unique_ptr<FakeColumn>> columns_;
    std::vector<bool> numeric_;
};

// Records the run's steps as text, e.g. "start 1", "row 3/3", "done 1".
class RecordingObserver : public StatisticsRunObserver {
  public:
    void columnStarted(int c) override { steps.push_back("start " + std::to_string(c)); }
    void rowDone(int row, int rows) override {
        steps.push_back("row " + std::to_string(row) + "/" + std::to_string(rows));
    }
    void columnDone(int c) override { steps.push_back("done " + std::to_string(c)); }
    std::vector<std::string> steps;
};

TEST(StatisticsRun, PassesEveryColumnAndReadsNumericOnesTwice) {
    FakeSheet sheet;
    sheet.add({"", "", ""}, false);     // the flag column
    sheet.add({"a", "b", "c"}, false);  // text
    sheet.add({"3", "1", "2"}, true);   // numbers
    StatisticsStore store;
    RecordingObserver observer;
    const StatisticsRunSummary summary = runColumnStatistics(sheet, store, observer);
    EXPECT_EQ(summary.columns, 3);
    EXPECT_EQ(summary.numericColumns, 1);
    ASSERT_EQ(store.size(), 3);
    EXPECT_EQ(sheet.fake(0).reads(), 0);
    EXPECT_EQ(sheet.fake(1).reads(), 0);
    EXPECT_EQ(sheet.fake(2).reads(), 6);
    const std::vector<std::string> expected = {"start 2", "row 1/3", "row 2/3", "row 3/3",
                                               "done 2"};
    EXPECT_EQ(observer.steps, expected);
    EXPECT_EQ(store.entry(2)->maximum, 3.0f);
    EXPECT_EQ(store.entry(2)->minimum, 1.0f);
    EXPECT_EQ(store.entry(2)->largestCount, 1);
    EXPECT_EQ(store.entry(1)->maximum, 0.0f);
    EXPECT_EQ(store.entry(1)->total, 0.0f);
}

TEST(StatisticsRun, StoreFollowsTheSheetsColumnCount) {
    StatisticsStore store;
    StatisticsRunObserver quiet;
    FakeSheet wide;
    for (int c = 0; c < 5; ++c)
        wide.add(counting(1, 3 + c), true);
    runColumnStatistics(wide, store, quiet);
    ASSERT_EQ(store.size(), 5);
    EXPECT_EQ(store.entry(4)->maximum, 7.0f);
    EXPECT_EQ(store.entry(5), nullptr);

    FakeSheet narrow;
    narrow.add({"x", "y"}, false);
    narrow.add(counting(10, 20), true);
    runColumnStatistics(narrow, store, quiet);
    EXPECT_EQ(store.size(), 2);
    EXPECT_EQ(store.entry(2), nullptr) << "entries past the sheet are dropped";
    EXPECT_EQ(store.entry(1)->maximum, 20.0f);
    EXPECT_EQ(store.entry(1)->largestCount, 2);
    // A non-numeric pass zeroes the figures and leaves the intervals alone.
    EXPECT_EQ(store.entry(0)->maximum, 0.0f);
    EXPECT_EQ(store.entry(0)->largestCount, 1);

    FakeSheet none;
    runColumnStatistics(none, store, quiet);
    EXPECT_EQ(store.size(), 0);
}

TEST(StatisticsStore, EntriesAbsentUntilPrepared) {
    StatisticsStore store;
    EXPECT_EQ(store.entry(0), nullptr);
    EXPECT_EQ(store.entry(-1), nullptr);
    store.prepare(2).maximum = 4.0f;
    EXPECT_EQ(store.size(), 3);
    ASSERT_NE(store.entry(0), nullptr);
    EXPECT_EQ(store.entry(0)->maximum, 0.0f);
    EXPECT_EQ(store.entry(2)->maximum, 4.0f);
    store.prepare(0);
    EXPECT_EQ(store.size(), 1);
    store.resize(-3);
    EXPECT_EQ(store.size(), 0);
}

}  // namespace
}  // namespace analysis
