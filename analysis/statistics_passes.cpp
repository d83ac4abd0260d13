#include "analysis/statistics_passes.h"

#include <cmath>
#include <limits>

#include "analysis/number_reading.h"

namespace analysis {
namespace {

float cellValue(const ColumnSource& column, int row) {
    return toSingle(readNumber(column.text(row)));
}

// sqrt(N x sum of squares - total^2) / N in double precision. Rounding can
// make the radicand slightly negative when all values are equal; the spread
// is then 0. A total that overflowed single precision leaves no meaningful
// spread, which shows as an overflow too.
float standardDeviation(int rows, double sumOfSquares, float total) {
    if (!std::isfinite(total))
        return std::numeric_limits<float>::infinity();
    const double n = rows;
    const double t = total;
    const double radicand = n * sumOfSquares - t * t;
    if (!(radicand > 0.0))
        return 0.0f;
    return toSingle(std::sqrt(radicand) / n);
}

}  // namespace

void columnPass(const ColumnSource& column, ColumnStatistics& entry, PassProgress* progress) {
    float maximum = kWorkingMaximumStart;
    float minimum = kWorkingMinimumStart;
    float total = 0.0f;
    double sumOfSquares = 0.0;
    const int rows = column.dataRowCount();
    for (int r = 1; r <= rows; ++r) {
        const float x = cellValue(column, r);
        if (x > maximum)
            maximum = x;
        if (x < minimum)
            minimum = x;
        total = total + x;  // float + float: rounded to single at each step
        sumOfSquares += static_cast<double>(x) * x;
        if (progress)
            progress->rowDone(r, rows);
    }
    if (rows <= 0) {
        nonNumericPass(entry);
        return;
    }
    entry.maximum = maximum;
    entry.minimum = minimum;
    entry.total = total;
    entry.average = toSingle(static_cast<double>(total) / rows);
    entry.standardDeviation = standardDeviation(rows, sumOfSquares, total);
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
