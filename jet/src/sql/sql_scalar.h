// A table value in the form the table module hands it to SQLite: Yes/No as
// -1/0, Currency and Decimal as doubles, GUIDs as braced text, NaN as Null.
// One mapping for everything the module does with values (returning them,
// copying them, testing and ordering them inside a scan), so a test made in
// the scan sees exactly what SQLite would have seen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <sqlite3.h>

#include "jet/value.h"

namespace jet::sql {

struct SqlScalar {
    int kind = SQLITE_NULL;  // SQLITE_NULL, _INTEGER, _FLOAT, _TEXT or _BLOB
    int64_t i = 0;
    double d = 0;
    std::string_view bytes;  // text and blobs
};

// `scratch` holds a GUID's text while the scalar is in use.
SqlScalar toSqlScalar(const ValueRef& v, std::string& scratch);
// A value passed to the module by SQLite (a constraint's right-hand side).
SqlScalar toSqlScalar(sqlite3_value* v);

void resultScalar(sqlite3_context* ctx, const SqlScalar& s);

// SQLite's order of two values: Null, then numbers (integers and reals
// compared exactly), then text (by the ACCESS collation when
// `accessText`, else bytewise), then blobs bytewise.
int compareScalars(const SqlScalar& a, const SqlScalar& b, bool accessText);

}  // namespace jet::sql
