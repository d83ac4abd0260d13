// Saved queries whose SQL text Jet stores rather than parses: union queries
// (two stored halves), data-definition and pass-through queries.
#pragma once

#include <string>

#include "jet/status.h"
#include "queries/query_elements.h"

namespace jet {

// "part 1" CRLF "UNION [ALL] part 2" [CRLF "ORDER BY ..."] ";"
Result<std::string> unionQuerySql(const QueryElements& elements);

// The stored text of a data-definition or pass-through query, without the
// NUL characters Access leaves at its end.
Result<std::string> storedQuerySql(const QueryElements& elements);

}  // namespace jet
