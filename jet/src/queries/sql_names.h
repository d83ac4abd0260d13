// How Access brackets stored names when it writes them back into SQL text.
#pragma once

#include <string>
#include <string_view>

namespace jet {

// One name part: bracketed when it holds anything but ASCII letters, digits
// and underscores, starts with a digit or is a reserved word ("[Table]"),
// unless it is bracketed already. Used for aliases, which
// are never split at dots.
std::string bracketPart(std::string_view part);

// A possibly qualified name ("Table1.col1", "[My Table].col"): split at the
// dots outside brackets and bracket each part as bracketPart does.
std::string bracketName(std::string_view name);

// Case-insensitive ASCII comparison, as Jet compares names.
bool sameName(std::string_view a, std::string_view b);

}  // namespace jet
