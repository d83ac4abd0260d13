// Access's limits on one statement, shared by running a statement and saving
// a query: about 64,000 characters of text, 99 ANDs in a WHERE or HAVING
// clause, 255 output fields, and a bound on how deeply expressions nest
// (chains of one operator, a OR b OR c ..., count as one level). Within them
// a statement runs; beyond them it gets Access's own messages.
#pragma once

#include <cstddef>
#include <string>

#include "jet/status.h"
#include "sql/ast.h"

namespace jet::sql {

inline constexpr std::size_t kMaxStatementCharacters = 64000;
inline constexpr int kMaxAndsInClause = 99;
inline constexpr int kMaxOutputFields = 255;
inline constexpr int kMaxNesting = 30;
// Terms in one chain of one operator (SQLite's expression trees stop at 1000).
inline constexpr int kMaxChainTerms = 900;

// Access's message for a statement past its limits: "Query is too complex."
Status tooComplex();
// "Too many fields defined.": more than kMaxOutputFields output fields.
Status tooManyFields();
// One of the two messages above ("Query is too complex.", "Too many fields defined.").
bool isLimitError(const Status& status);

// The text's length.
Status checkStatementText(const std::string& text);
// The parsed statement: nesting, ANDs per clause, output fields.
Status checkStatementLimits(const Statement& statement);
// Both, for callers that hold only the text (saving a query checks with
// this before it writes). Syntax errors are left to the parser's caller.
Status checkAccessLimits(const std::string& text);

}  // namespace jet::sql
