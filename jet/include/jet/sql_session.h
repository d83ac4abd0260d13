// Runs Access SQL against one open database: record sets from a table name,
// a saved query name or SQL text, and the parameters they ask for. Each
// table of the file is an SQLite virtual table over the engine's reader;
// nothing here ever writes to the file.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "jet/database.h"
#include "jet/query_info.h"
#include "jet/recordset.h"
#include "jet/status.h"

namespace jet {

// Parameter values by name (matched without regard to case), as text; each
// is converted to the parameter's declared type when the statement runs.
using ParameterValues = std::vector<std::pair<std::string, std::string>>;

class SqlSession {
  public:
    // The session reads `db`, which must outlive it and every record set it opened.
    static Result<std::unique_ptr<SqlSession>> open(const Database& db);
    ~SqlSession();
    SqlSession(const SqlSession&) = delete;
    SqlSession& operator=(const SqlSession&) = delete;

    // Opens `source`: a table name, a saved query name, or an SQL statement.
    // Fails with "Too few parameters. Expected N." when parameters have no
    // value, ReadOnly for action queries, Syntax/Semantic/NotFound for bad
    // statements. A record set must not outlive the session.
    Result<std::unique_ptr<Recordset>> openRecordset(const std::string& source,
                                                     const ParameterValues& parameters = {});

    // The parameters `source` asks for: declared ones in PARAMETERS order,
    // then undeclared names in order of appearance. Empty for a table.
    Result<std::vector<QueryParameter>> parameters(const std::string& source);

    // The output field names of `source` without reading its rows.
    Result<std::vector<RecordsetField>> fields(const std::string& source);

    class Impl;

  private:
    explicit SqlSession(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace jet
