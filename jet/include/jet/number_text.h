// Number text read and written the same way on every machine: checked (no
// exceptions, a failure is an empty optional) and independent of the C
// locale, which a Qt program sets from the user's environment (a German
// locale would otherwise read "1.5" as 1 and write it as "1,5").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jet {

// The whole of `text` as a whole number in `base`; empty when it is not one
// or does not fit the type.
std::optional<long long> parseInteger(std::string_view text, int base = 10);
std::optional<int> parseInt(std::string_view text, int base = 10);

// The whole of `text` as a decimal number ("12", "-1.5", ".5", "+2E-4"): no
// blanks, no hex, no "inf"/"nan". A magnitude beyond the range of a double
// gives infinity, one below it zero, as strtod does.
std::optional<double> parseDouble(std::string_view text);

// Shortest text that reads back as the same double, with '.' as the decimal
// point ("0.1", "1e+300", "inf").
std::string realText(double d);

}  // namespace jet
