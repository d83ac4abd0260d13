// Runs a translated statement on an SQLite connection: binds the parameter
// values (converted to their declared types), reads rows as typed values and
// applies TOP's tie rule for the outermost SELECT.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <sqlite3.h>

#include "jet/status.h"
#include "jet/value.h"
#include "sql/translator.h"

namespace jet::sql {

using ParameterValues = std::vector<std::pair<std::string, std::string>>;  // name, value as text

class StatementRunner {
  public:
    // Fails with "Too few parameters. Expected N." when values are missing,
    // or with SQLite's complaint about the translated text.
    static Result<std::unique_ptr<StatementRunner>> start(sqlite3* db, Translation translation,
                                                          const ParameterValues& values);
    ~StatementRunner();
    StatementRunner(const StatementRunner&) = delete;
    StatementRunner& operator=(const StatementRunner&) = delete;

    const std::vector<OutputColumn>& columns() const { return translation_.columns; }
    // Moves to the next row; false at the end or on failure (see status()).
    bool next();
    const std::vector<Value>& row() const { return row_; }
    const Status& status() const { return status_; }

    // Binds `values` to `stmt` for `parameters`; used for crosstab pivot lookups too.
    static Status bindParameters(sqlite3_stmt* stmt, const std::vector<ParameterRef>& parameters,
                                 const ParameterValues& values);

  private:
    StatementRunner(sqlite3* db, Translation t) : db_(db), translation_(std::move(t)) {}
    Status prepare(const std::string& sql, const ParameterValues& values);
    Status bufferTopRows(const ParameterValues& values);
    bool stepInto(std::vector<Value>& out, std::vector<Value>* keys);

    sqlite3* db_;
    Translation translation_;
    sqlite3_stmt* stmt_ = nullptr;
    std::vector<Value> row_;
    Status status_;
    bool buffered_ = false;
    std::vector<std::vector<Value>> buffer_;
    std::size_t bufferAt_ = 0;
};

// Why sqlite3_step returned `rc`: Corrupt when the file's pages are damaged
// (a caller may offer to read past them), else Semantic.
Status stepError(sqlite3* db, int rc);

// A value read from SQLite, typed by the column's static type.
Value valueFromSqlite(sqlite3_value* v, SqlType type);
// A table value as valueFromSqlite reads it once the table module has handed
// it to SQLite, without the round trip: a view of v's bytes, or of `scratch`
// for a text made from them (a GUID's braces form).
ValueRef refFromTable(const ValueRef& v, SqlType type, std::string& scratch);

}  // namespace jet::sql
