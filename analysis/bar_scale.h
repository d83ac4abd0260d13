// How the instant bar chart maps a cell's value to the length of its bar,
// from the column's maximum and minimum in the statistics store.
#pragma once

#include <optional>

#include "analysis/column_statistics.h"

namespace analysis {

struct BarScale {
    float maximum = 0.0f;
    float minimum = 0.0f;

    // A scale for the stored figures, or none when the chart cannot be drawn:
    // no entry, or maximum - minimum (in single precision) is 0 or undefined.
    static std::optional<BarScale> from(const ColumnStatistics* entry);

    // A column with a negative minimum is drawn from its minimum (it gets an
    // empty bar, the maximum a full one); otherwise bars start at zero and the
    // maximum fills its cell. Not clamped: values outside the stored range
    // give less than 0 or more than 100. Never NaN.
    double percent(double value) const;
};

}  // namespace analysis
