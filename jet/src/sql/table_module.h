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

// Registers the module "jet_table" for `db`'s tables on `connection`.
Status registerTableModule(sqlite3* connection, const Database& db);

// The CREATE VIRTUAL TABLE statement that exposes `table` as `sqlName`.
std::string createTableStatement(const std::string& sqlName, const TableDef& table);

}  // namespace jet::sql
