// The two passes the statistics make over one sheet column: the column pass
// (maximum, minimum, total, average, standard deviation) and the histogram
// pass (ten intervals between minimum and maximum). Each reads the column's
// cells in place through a ColumnSource; a cell's value is its number reading
// rounded to single precision, and every data row counts, blank or not.
#pragma once

#include <array>

#include "analysis/column_source.h"
#include "analysis/column_statistics.h"
#include "analysis/pass_progress.h"

namespace analysis {

// Working extremes a column pass starts from. A column whose values all lie
// beyond them reports the start value as its extreme.
inline constexpr float kWorkingMaximumStart = -1.1e20f;
inline constexpr float kWorkingMinimumStart = 1e20f;

// Fills maximum, minimum, total, average and standard deviation of a numeric
// column; the interval fields are left alone. The extremes are kept in single
// precision; the total and the spread accumulate in compensated double
// precision and are rounded to single only when stored, so a million-row
// column's average and standard deviation come out right to the shown digits.
// A column without data rows gets zeros. `progress` may be null.
void columnPass(const ColumnSource& column, ColumnStatistics& entry, PassProgress* progress);

// What a non-numeric column stores: zeros in the five figures; the interval
// fields are left alone (they are never shown for such a column).
void nonNumericPass(ColumnStatistics& entry);

// Upper bounds of intervals 1 to 9 for the entry's minimum and interval width,
// each formed in double precision and rounded to single.
std::array<float, 9> intervalBounds(const ColumnStatistics& entry);

// The interval (1..10) a value falls into: the first whose upper bound is at
// least the value, else 10. A value equal to a bound belongs to the lower one.
int intervalOf(float value, const std::array<float, 9>& bounds);

// Sets the interval width from the stored maximum and minimum, counts every
// data row into its interval (reading the cells again) and finds the largest
// count. Runs after columnPass() on the same column.
void histogramPass(const ColumnSource& column, ColumnStatistics& entry);

}  // namespace analysis
