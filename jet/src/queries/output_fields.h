// The output field names of a select query, as far as its stored elements
// tell them without looking at the tables.
#pragma once

#include <string>
#include <vector>

#include "queries/query_elements.h"

namespace jet {

// One name per select-list item: the alias; else the column name of a plain
// column reference ("Table1.col1" -> "col1"); else "Expr1000", "Expr1001", ...
// as Access names unnamed expressions. A star item ("Table1.*", and "*" for
// the all-fields option) is kept as written: it stands for every field of the
// table, which the caller expands.
std::vector<std::string> outputFieldNames(const QueryElements& elements);

}  // namespace jet
