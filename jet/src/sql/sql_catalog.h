// What the translator needs to know about the database: the SQLite name and
// columns of each table, the SQL of each saved query, and a way to read the
// distinct pivot values of a crosstab.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/query_info.h"
#include "jet/status.h"
#include "jet/table_def.h"
#include "sql/sql_type.h"

namespace jet {
class Database;
}

namespace jet::sql {

struct CatalogColumn {
    std::string name;
    SqlType type = SqlType::Variant;
    bool complex = false;  // an ACE complex column: has subfields (T.Att.FileName, T.MV.Value)
};

struct CatalogTable {
    std::string sqlName;  // already quoted for SQLite
    std::vector<CatalogColumn> columns;
    // The stored table the table module reads for it; null where the
    // statement runs on other tables (plain SQLite copies).
    const TableDef* stored = nullptr;
};

struct CatalogQuery {
    std::string sql;
    QueryKind kind = QueryKind::Select;
};

// A value of a crosstab's pivot expression.
struct PivotValue {
    bool isNull = false;
    bool isText = false;
    std::string text;  // text values
    double number = 0;
};

struct ParameterRef {
    std::string name;
    std::string typeName;  // as declared; empty for an undeclared name
    SqlType type = SqlType::Variant;
    bool declared = false;
};

class SqlCatalog {
  public:
    virtual ~SqlCatalog() = default;
    // NotFound when the file has no such table; other errors when it cannot be read.
    virtual Result<CatalogTable> table(std::string_view name) = 0;
    // A table of another Access file (FROM ... IN 'path'); catalogs without
    // files refuse.
    virtual Result<CatalogTable> externalTable(const std::string& path, const std::string& password,
                                               std::string_view name) {
        (void)password;
        (void)name;
        return Status(ErrorCode::Unsupported,
                      "Tables of another database ('" + path + "') cannot be read here.");
    }
    virtual std::optional<CatalogQuery> query(std::string_view name) = 0;
    // Runs a translated one-column SELECT; `parameters` are its ?N parameters.
    virtual Result<std::vector<PivotValue>> pivotValues(
        const std::string& sql, const std::vector<ParameterRef>& parameters) = 0;
};

// A saved query of the file as catalogs give it to the translator: none when
// the file has no such query, an empty Unknown query when it cannot be read.
std::optional<CatalogQuery> savedQuery(const Database& db, std::string_view name);

}  // namespace jet::sql
