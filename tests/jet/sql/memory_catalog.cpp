#include "memory_catalog.h"

#include <stdexcept>

#include "jet/sql_value_text.h"
#include "sql/function_registry.h"
#include "sql/parser.h"
#include "sql/token.h"
#include "sql/translator.h"

namespace jet::sql::test {

namespace {

SqlType typeFromDeclaration(const std::string& decl) {
    const std::string d = asciiUpper(decl);
    if (d.rfind("BOOLEAN", 0) == 0)
        return SqlType::Boolean;
    if (d.rfind("BYTE", 0) == 0)
        return SqlType::Byte;
    if (d.rfind("SHORT", 0) == 0)
        return SqlType::Integer;
    if (d.rfind("LONG", 0) == 0 || d.rfind("INTEGER", 0) == 0)
        return SqlType::Long;
    if (d.rfind("CURRENCY", 0) == 0)
        return SqlType::Currency;
    if (d.rfind("SINGLE", 0) == 0)
        return SqlType::Single;
    if (d.rfind("DOUBLE", 0) == 0 || d.rfind("REAL", 0) == 0)
        return SqlType::Double;
    if (d.rfind("DATE", 0) == 0)
        return SqlType::Date;
    if (d.rfind("MEMO", 0) == 0)
        return SqlType::Memo;
    if (d.rfind("TEXT", 0) == 0)
        return SqlType::Text;
    if (d.rfind("BLOB", 0) == 0)
        return SqlType::Binary;
    return SqlType::Variant;
}

}  // namespace

MemoryCatalog::MemoryCatalog() {
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK)
        throw std::runtime_error("cannot open SQLite");
    Status st = registerAccessFunctions(db_);
    if (!st)
        throw std::runtime_error(st.message());
}

MemoryCatalog::~MemoryCatalog() {
    sqlite3_close(db_);
}

void MemoryCatalog::exec(const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error("setup failed: " + msg);
    }
}

void MemoryCatalog::addQuery(const std::string& name, const std::string& sql, QueryKind kind) {
    queries_[asciiUpper(name)] = {sql, kind};
}

Result<CatalogTable> MemoryCatalog::table(std::string_view name) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db_, "SELECT name, type FROM pragma_table_info(?1)", -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    CatalogTable t;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        t.columns.push_back(
            {reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
             typeFromDeclaration(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)))});
    }
    sqlite3_finalize(stmt);
    if (t.columns.empty())
        return Status(ErrorCode::NotFound, "no table");
    t.sqlName = quoteIdentifier(std::string(name));
    return t;
}

std::optional<CatalogQuery> MemoryCatalog::query(std::string_view name) {
    auto it = queries_.find(asciiUpper(std::string(name)));
    if (it == queries_.end())
        return std::nullopt;
    return it->second;
}

Result<std::vector<PivotValue>> MemoryCatalog::pivotValues(
    const std::string& sql, const std::vector<ParameterRef>& parameters) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        return Status(ErrorCode::Semantic, sqlite3_errmsg(db_));
    }
    std::vector<PivotValue> out;
    Status st = StatementRunner::bindParameters(stmt, parameters, values);
    while (st && sqlite3_step(stmt) == SQLITE_ROW) {
        PivotValue v;
        const int t = sqlite3_column_type(stmt, 0);
        v.isNull = t == SQLITE_NULL;
        v.isText = t == SQLITE_TEXT;
        if (v.isText)
            v.text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        v.number = sqlite3_column_double(stmt, 0);
        out.push_back(v);
    }
    sqlite3_finalize(stmt);
    if (!st)
        return st;
    return out;
}

std::string runToText(MemoryCatalog& catalog, const std::string& sql,
                      const ParameterValues& values) {
    auto parsed = parseStatement(sql);
    if (!parsed)
        return "ERROR: " + parsed.status().message() + "\n";
    catalog.values = values;
    auto translated = translate(*parsed, catalog);
    if (!translated)
        return "ERROR: " + translated.status().message() + "\n";
    auto runner = StatementRunner::start(catalog.db(), *translated, values);
    if (!runner)
        return "ERROR: " + runner.status().message() + "\n";
    std::string out;
    for (std::size_t i = 0; i < (*runner)->columns().size(); ++i)
        out += (i ? "|" : "") + (*runner)->columns()[i].name;
    out += "\n";
    while ((*runner)->next()) {
        const auto& row = (*runner)->row();
        for (std::size_t i = 0; i < row.size(); ++i)
            out += (i ? "|" : "") + (row[i].isNull() ? "<null>" : displayText(row[i]));
        out += "\n";
    }
    if (!(*runner)->status())
        return "ERROR: " + (*runner)->status().message() + "\n";
    return out;
}

}  // namespace jet::sql::test
