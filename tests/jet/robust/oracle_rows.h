// Rows of a table as JSON arrays, once as this engine reads them and once as
// the independent reader mdb-reader (run by node) reads them, in the same
// column order and value forms, so tests can compare them line by line.
#pragma once

#include <string>
#include <vector>

#include "jet/database.h"

namespace jet {

// The oracle's rows of `table`; its column order is taken from the oracle's
// header line and remembered for rowsAsJson. Fails when node or mdb-reader
// cannot be found (TABLESCOPE_ORACLE_NODE_PATH names the node_modules folder).
Result<std::vector<std::string>> oracleRows(const std::string& path, const TableDef& table,
                                            const std::string& password);

// Our rows of `table`, columns in the order the last oracleRows call of the
// same table reported (descriptor order when there was none).
Result<std::vector<std::string>> rowsAsJson(const Database& db, const TableDef& table);

}  // namespace jet
