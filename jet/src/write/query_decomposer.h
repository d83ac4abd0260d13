// Turns the text of a SELECT statement into the MSysQueries rows that store
// it, clause by clause as Access writes them: start, type, options,
// parameters, inputs, output columns, joins, WHERE, GROUP BY, HAVING,
// ORDER BY, end. Expressions are kept as written. A UNION is stored as
// Access stores it: its text in two parts (everything before the last UNION,
// and the last SELECT), UNION or UNION ALL in the options row, ORDER BY in
// rows of its own. Other statements (action queries, SELECT INTO,
// crosstabs, subqueries in FROM) are refused with a message the user can act
// on.
#pragma once

#include <string>
#include <vector>

#include "jet/status.h"
#include "queries/query_rebuilder.h"

namespace jet::write {

struct DecomposedQuery {
    std::vector<QueryRow> rows;  // ObjectId left 0; Order set
    std::string rebuiltSql;      // the text Access would show for these rows
    int32_t objectFlags = 0;     // MSysObjects.Flags: 0 select, 128 union
};

// `jet3` decides whether Text parameters keep their size (Jet 4 only).
Result<DecomposedQuery> decomposeSelect(const std::string& sql, bool jet3);

}  // namespace jet::write
