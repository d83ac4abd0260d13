#include "analysis/statistics_passes.h"

#include <cmath>
#include <limits>

#include "analysis/number_reading.h"

namespace analysis {
namespace {

float cellValue(const ColumnSource& column, int row) {
    return toSingle(readNumber(column.text(row)));
}

// Running figures of a column pass. The total is a compensated double sum
// and the spread is kept as Welford's sum of squared deviations from the
// running mean: a million values of any size keep their last digits, where a
// single-precision total drifts (and N x sum of squares - total^2 cancels).
class RunningFigures {
  public:
    void add(double x) {
        addCompensated(x);
        ++count_;
        const double delta = x - mean_;
        mean_ += delta / count_;
        squaredDeviations_ += delta * (x - mean_);
    }
    double total() const { return sum_ + compensation_; }
    // Population standard deviation. Equal values give exactly 0; a column
    // holding infinities has no spread to show and gives NaN.
    double deviation() const {
        if (count_ == 0 || !(squaredDeviations_ > 0.0))
            return std::isnan(squaredDeviations_) ? squaredDeviations_ : 0.0;
        return std::sqrt(squaredDeviations_ / count_);
    }

  private:
    // Neumaier's variant of Kahan summation: the low-order bits each addition
    // loses are collected and added back at the end.
    void addCompensated(double x) {
        const double sum = sum_ + x;
        if (std::fabs(sum_) >= std::fabs(x))
            compensation_ += (sum_ - sum) + x;
        else
            compensation_ += (x - sum) + sum_;
        sum_ = sum;
    }

    double sum_ = 0.0;
    double compensation_ = 0.0;
    double mean_ = 0.0;
    double squaredDeviations_ = 0.0;
    long long count_ = 0;
};

}  // namespace

void columnPass(const ColumnSource& column, ColumnStatistics& entry, PassProgress* progress) {
    float maximum = kWorkingMaximumStart;
    float minimum = kWorkingMinimumStart;
    RunningFigures figures;
    const int rows = column.dataRowCount();
    for (int r = 1; r <= rows; ++r) {
        const float x = cellValue(column, r);
        if (x > maximum)
            maximum = x;
        if (x < minimum)
            minimum = x;
        figures.add(x);
        if (progress)
            progress->rowDone(r, rows);
    }
    if (rows <= 0) {
        nonNumericPass(entry);
        return;
    }
    entry.maximum = maximum;
    entry.minimum = minimum;
    entry.total = toSingle(figures.total());
    entry.average = toSingle(figures.total() / rows);
    entry.standardDeviation = toSingle(figures.deviation());
}

void nonNumericPass(ColumnStatistics& entry) {
    entry.maximum = 0.0f;
    entry.minimum = 0.0f;
    entry.total = 0.0f;
    entry.average = 0.0f;
    entry.standardDeviation = 0.0f;
}

std::array<float, 9> intervalBounds(const ColumnStatistics& entry) {
    std::array<float, 9> bounds{};
    for (int k = 1; k <= 9; ++k)
        bounds[k - 1] = toSingle(static_cast<double>(entry.minimum) +
                                 k * static_cast<double>(entry.intervalWidth));
    return bounds;
}

int intervalOf(float value, const std::array<float, 9>& bounds) {
    for (int k = 1; k <= 9; ++k) {
        if (bounds[k - 1] >= value)
            return k;
    }
    return 10;
}

void histogramPass(const ColumnSource& column, ColumnStatistics& entry) {
    entry.intervalCounts.fill(0);
    entry.intervalWidth =
        toSingle((static_cast<double>(entry.maximum) - static_cast<double>(entry.minimum)) / 10.0);
    const std::array<float, 9> bounds = intervalBounds(entry);
    const int rows = column.dataRowCount();
    for (int r = 1; r <= rows; ++r)
        ++entry.intervalCounts[intervalOf(cellValue(column, r), bounds) - 1];
    entry.largestCount = 0;
    for (const std::int32_t count : entry.intervalCounts) {
        if (count > entry.largestCount)
            entry.largestCount = count;
    }
}

}  // namespace analysis
