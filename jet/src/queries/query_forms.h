// The SQL text of each saved-query kind built from its parsed elements:
// select, make-table, append, update, delete and crosstab. Each result ends
// in ";" and has no PARAMETERS line.
#pragma once

#include <string>

#include "jet/status.h"
#include "queries/query_elements.h"

namespace jet {

Result<std::string> selectQuerySql(const QueryElements& elements);
Result<std::string> makeTableQuerySql(const QueryElements& elements);
Result<std::string> appendQuerySql(const QueryElements& elements);
Result<std::string> updateQuerySql(const QueryElements& elements);
Result<std::string> deleteQuerySql(const QueryElements& elements);
Result<std::string> crosstabQuerySql(const QueryElements& elements);

}  // namespace jet
