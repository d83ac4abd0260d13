// How the statistics grid writes numbers: single-precision figures in their
// general form, averages and spreads with two decimals. Always "." as the
// decimal point, whatever the locale. A figure that overflowed single
// precision (infinity, or NaN derived from it) shows as "Overflow".
#pragma once

#include <QString>

namespace analysis {

// General form with at most seven significant digits, no trailing zeros;
// exponent form "1.234568E+07" from 1E+07 up and below 1E-04.
QString formatGeneral(float value);

// Fixed form "0.00": at least one integer digit, exactly two decimals. A value
// that rounds to zero shows without a minus sign.
QString formatTwoDecimals(float value);

// Text shown for a figure that left the single-precision range.
inline constexpr const char* kOverflowText = "Overflow";

}  // namespace analysis
