// Number reading for cell texts: decides whether a text is a number, for
// sorting numbers as numbers and for the column display formats.
#pragma once

#include <optional>
#include <string_view>

namespace sheet {

// A decimal number with optional sign, fraction and exponent, surrounded by
// optional blanks ("12", " -3.5 ", "1e6", ".5"). Anything else is text.
std::optional<double> readNumber(std::string_view text);

}  // namespace sheet
