// A catalog over plain SQLite tables in memory, for tests that need no
// Access file: column types come from the declared SQLite types (LONG, TEXT,
// DATE, CURRENCY, BOOLEAN, ...), saved queries are given as text.
#pragma once

#include <map>
#include <string>

#include <sqlite3.h>

#include "sql/sql_catalog.h"
#include "sql/statement_runner.h"

namespace jet::sql::test {

class MemoryCatalog : public SqlCatalog {
  public:
    MemoryCatalog();
    ~MemoryCatalog() override;

    // Runs setup SQL (CREATE TABLE, INSERT) directly in SQLite.
    void exec(const std::string& sql);
    void addQuery(const std::string& name, const std::string& sql,
                  QueryKind kind = QueryKind::Select);
    sqlite3* db() const { return db_; }

    Result<CatalogTable> table(std::string_view name) override;
    std::optional<CatalogQuery> query(std::string_view name) override;
    Result<std::vector<PivotValue>> pivotValues(
        const std::string& sql, const std::vector<ParameterRef>& parameters) override;

    ParameterValues values;  // what pivotValues binds

  private:
    sqlite3* db_ = nullptr;
    std::map<std::string, CatalogQuery> queries_;
};

// Parses, translates and runs `sql`; rows as display texts joined by '|'
// (Null as <null>), the first line holding the field names; or the error
// message.
std::string runToText(MemoryCatalog& catalog, const std::string& sql,
                      const ParameterValues& values = {});

}  // namespace jet::sql::test
