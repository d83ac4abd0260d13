// The ACCESS collation registered in SQLite: text compares as Jet compares it
// (case-insensitive, accents only break ties) and trailing spaces are ignored,
// so '=' , ORDER BY, GROUP BY and DISTINCT agree with Access.
#pragma once

#include <string>
#include <string_view>

#include <sqlite3.h>

namespace jet::sql {

int compareAccessText(std::string_view a, std::string_view b);
// Appends a key whose byte order is the order of compareAccessText: two texts
// have equal keys exactly when they compare equal. SQLite groups and sorts
// such keys with memcmp, far cheaper than calling the collation per pair.
void appendAccessSortKey(std::string_view text, std::string& out);
// Registers the collation ACCESS and the function acc_key(x): the sort key of
// a text, other values as they are.
int registerAccessCollation(sqlite3* db);

}  // namespace jet::sql
