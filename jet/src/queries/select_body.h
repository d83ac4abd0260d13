// The clauses of a select-type query (SELECT list, INTO, FROM, WHERE, GROUP
// BY, HAVING, ORDER BY) as Access writes them, one clause a line.
#pragma once

#include <string>
#include <vector>

#include "jet/status.h"
#include "queries/query_elements.h"

namespace jet {

// Which rows a query kind puts into the select list and GROUP BY.
struct BodyRows {
    std::vector<const QueryRow*> columns;
    std::vector<const QueryRow*> groupBy;
    std::string into;  // " INTO ..." for a make-table query, else empty
};

// "DISTINCT ", "DISTINCTROW ", "TOP n ", "TOP n PERCENT " as the options ask.
std::string selectPredicate(const QueryElements& elements);

// The ORDER BY items ("expr", "expr DESC") joined by ", "; empty when none.
std::string orderByList(const QueryElements& elements);

// One select-list item: the expression and, when named, " AS alias".
std::string columnItem(const QueryRow& row);

// "<predicate><columns><into>" CRLF "FROM ..." and the following clauses,
// without the leading "SELECT " / "DELETE " keyword, the owner-access line
// and the final ";".
Result<std::string> selectBody(const QueryElements& elements, const BodyRows& rows);

// " IN 'path' [type]" for a name, path and database type; empty when both
// path and type are empty.
std::string inDatabase(const std::string& path, const std::string& type);

// CRLF "WITH OWNERACCESS OPTION" when the options ask for it, then ";".
std::string queryEnd(const QueryElements& elements);

}  // namespace jet
