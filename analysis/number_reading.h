// Number reading: how every cell of the data sheet becomes a number for the
// statistics and the bar chart. Never fails: a text without a leading number
// reads 0.
#pragma once

#include <QStringView>
#include <string_view>

namespace analysis {

// Reads the leading number of a cell's text, the way the statistics see it:
// blanks, tabs and line feeds anywhere are ignored; then the longest leading
// part that forms a number is read: an optional sign, digits with at most one
// "." (whatever the locale), an optional exponent after E or D (either case)
// with an optional sign; "&H" and "&O" read a hexadecimal or octal integer.
// Reading stops at the first other character: "12kg" reads 12, "1,234" reads
// 1, "$5" and "abc" read 0. Magnitudes beyond the double range read as
// +/-infinity, tiny ones as 0; the result is never NaN and never -0.
double readNumber(QStringView text);
// The same for 8-bit text (ASCII or UTF-8; bytes above 127 stop the reading).
double readNumber(std::string_view text);

// Rounds a double to single precision with the usual round-to-nearest rule;
// magnitudes past the single range become +/-infinity.
float toSingle(double value);

}  // namespace analysis
