// A saved select query as one SQLite SELECT that runs on an ordinary SQLite
// database holding copies of the file's tables, with none of the engine's
// functions or virtual tables: what an export to SQLite keeps as a view.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/status.h"
#include "jet/value.h"

namespace jet {

struct PortableColumn {
    std::string name;
    // What the SELECT yields, in the engine's own forms: Boolean as -1/0,
    // DateTime as the Access date number, Currency and Decimal as doubles,
    // Guid as braced text. Null when the type varies from row to row.
    ValueType type = ValueType::Null;
};

struct PortableQuery {
    std::string sql;
    std::vector<PortableColumn> columns;
};

// `tableSource(table)` gives the SQLite text that stands for a local table in
// a FROM clause: a quoted table name or a parenthesised SELECT that exposes
// its columns (same names) in the engine's forms above. Text comparisons use
// SQLite's NOCASE collation in place of Access's text order.
using PortableTableSource = std::function<std::string(const TableDef&)>;

// Fails, with a reason a user can read, for queries that are not selects,
// ask for parameters, are crosstabs (their columns depend on the data) or
// cannot be translated. Whether the text needs one of the engine's SQL
// functions shows only when SQLite prepares it (`no such function`).
Result<PortableQuery> portableQuery(const Database& db, const QueryDef& query,
                                    const PortableTableSource& tableSource);

}  // namespace jet
