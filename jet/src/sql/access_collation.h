// The ACCESS collation registered in SQLite: text compares as Jet compares it
// (case-insensitive, accents only break ties) and trailing spaces are ignored,
// so '=' , ORDER BY, GROUP BY and DISTINCT agree with Access.
#pragma once

#include <string>
#include <string_view>

#include <sqlite3.h>

namespace jet::sql {

int compareAccessText(std::string_view a, std::string_view b);
int registerAccessCollation(sqlite3* db);

}  // namespace jet::sql
