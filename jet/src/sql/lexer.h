// Splits an Access SQL statement into tokens. Knows Access quoting: brackets
// for names, single or double quotes for text, #...# for dates.
#pragma once

#include <string>
#include <vector>

#include "jet/status.h"
#include "sql/token.h"

namespace jet::sql {

// Tokens of `text`, ending with one End token; a syntax error names the
// position of the unterminated string, name or date.
Result<std::vector<Token>> tokenize(const std::string& text);

}  // namespace jet::sql
