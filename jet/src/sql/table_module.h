// The SQLite virtual table over one table of the Access file: rows stream
// from the engine's table cursor, nothing is copied for a scan. An equality
// on a column that is asked for again and again (the inner side of a join)
// gets a lookup built on its second use, holding only the columns the
// statement reads, within a memory budget.
#pragma once

#include <string>

#include <sqlite3.h>

#include "jet/database.h"
#include "jet/status.h"

namespace jet::sql {

// Registers the module `module` for `db`'s tables on `connection`: one
// module per database a statement reads (the file, back-ends, IN files).
Status registerTableModule(sqlite3* connection, const Database& db,
                           const std::string& module = "jet_table");

// The CREATE VIRTUAL TABLE statement that exposes `table` of the module's
// database as `sqlName`.
std::string createTableStatement(const std::string& sqlName, const TableDef& table,
                                 const std::string& module = "jet_table");

}  // namespace jet::sql
