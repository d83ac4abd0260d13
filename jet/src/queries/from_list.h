// The FROM list of a saved query: its input tables (attribute 5) combined by
// its joins (attribute 7) into nested JOIN expressions, as Access writes them.
#pragma once

#include <string>

#include "jet/status.h"
#include "queries/query_elements.h"

namespace jet {

// The text after "FROM " ("Table3, Table1 INNER JOIN Table2 ON ..."); empty
// when the query has no input tables. Fails with ErrorCode::Corrupt when a
// join row names an unknown join type or contradicts an earlier one.
Result<std::string> buildFromList(const QueryElements& elements);

}  // namespace jet
