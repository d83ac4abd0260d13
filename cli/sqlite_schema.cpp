#include "sqlite_schema.h"

#include <algorithm>

namespace cli {
namespace {

using jet::ColumnType;

// julianday('1899-12-30'): day 0 of Access dates.
constexpr const char* kAccessEpochJulian = "2415018.5";

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : ", ") + p;
    return out;
}

bool resolved(const jet::IndexDef& index) {
    return !index.keys.empty() && std::all_of(index.keys.begin(), index.keys.end(),
                                              [](const auto& k) { return k.column >= 0; });
}

}  // namespace

std::string sqliteName(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string foldedName(const std::string& name) {
    std::string out = name;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool isCopied(const jet::Column& column) {
    return column.type() != ColumnType::Complex;
}

std::string declaredType(const jet::Column& column, bool jet3) {
    switch (column.type()) {
        case ColumnType::Boolean:
            return "BOOLEAN";
        case ColumnType::Byte:
        case ColumnType::Integer:
        case ColumnType::Long:
        case ColumnType::BigInt:
            return "INTEGER";
        case ColumnType::Single:
        case ColumnType::Double:
            return "REAL";
        case ColumnType::DateTime:
        case ColumnType::DateTimeExtended:
            return "DATETIME";
        case ColumnType::Currency:
            return "TEXT /* Currency, exact */";
        case ColumnType::Decimal:
            return "TEXT /* Decimal(" + std::to_string(column.precision) + "," +
                   std::to_string(column.scale) + "), exact */";
        case ColumnType::Text:
            return "VARCHAR(" + std::to_string(column.size(jet3)) + ")";
        case ColumnType::Memo:
        case ColumnType::Guid:
            return "TEXT";
        default:
            return "BLOB";
    }
}

const jet::IndexDef* primaryKey(const jet::TableDef& table) {
    for (const jet::IndexDef& index : table.indexes)
        if (index.primaryKey && resolved(index))
            return &index;
    return nullptr;
}

std::string createTable(const jet::TableDef& table, bool jet3) {
    std::vector<std::string> parts;
    for (const jet::Column& c : table.columns)
        if (isCopied(c))
            parts.push_back(sqliteName(c.name) + " " + declaredType(c, jet3));
    if (const jet::IndexDef* pk = primaryKey(table)) {
        std::vector<std::string> keys;
        for (const auto& k : pk->keys)
            keys.push_back(sqliteName(table.columns[k.column].name));
        parts.push_back("PRIMARY KEY (" + joined(keys) + ")");
    }
    return "CREATE TABLE " + sqliteName(table.name) + " (" + joined(parts) + ")";
}

CopiedColumns copiedColumns(const jet::TableDef& table) {
    CopiedColumns copied;
    const jet::IndexDef* pk = primaryKey(table);
    const bool oneKey = pk && pk->keys.size() == 1;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (!isCopied(table.columns[i]))
            continue;
        if (oneKey && static_cast<size_t>(pk->keys.front().column) == i &&
            declaredType(table.columns[i], false) == "INTEGER")
            copied.rowid = copied.columns.size();
        copied.columns.push_back(i);
    }
    return copied;
}

std::string createIndex(const jet::TableDef& table, const jet::IndexDef& index,
                        std::set<std::string>& usedNames, std::string* quotedName) {
    if (!resolved(index))
        return {};
    std::vector<std::string> keys;
    for (const auto& k : index.keys)
        keys.push_back(sqliteName(table.columns[k.column].name) + (k.ascending ? "" : " DESC"));
    const std::string base = table.name + "_" + index.name;
    std::string name = base;
    for (int n = 2; usedNames.count(foldedName(name)); ++n)
        name = base + "_" + std::to_string(n);
    usedNames.insert(foldedName(name));
    if (quotedName)
        *quotedName = sqliteName(name);
    return std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " + sqliteName(name) +
           " ON " + sqliteName(table.name) + " (" + joined(keys) + ")";
}

std::string engineFormSource(const jet::TableDef& table) {
    std::vector<std::string> columns{"rowid AS rowid"};
    bool converted = false;
    for (const jet::Column& c : table.columns) {
        const std::string name = sqliteName(c.name);
        std::string expr = name;
        switch (c.type()) {
            case ColumnType::Boolean:
                expr = "-" + name;
                break;
            case ColumnType::DateTime:
            case ColumnType::DateTimeExtended:
                expr = "(julianday(" + name + ") - " + kAccessEpochJulian + ")";
                break;
            case ColumnType::Currency:
            case ColumnType::Decimal:
                expr = "CAST(" + name + " AS REAL)";
                break;
            default:
                if (!isCopied(c))
                    expr = "NULL";
        }
        converted = converted || expr != name;
        columns.push_back(expr + " AS " + name);
    }
    if (!converted)
        return sqliteName(table.name);
    return "(SELECT " + joined(columns) + " FROM " + sqliteName(table.name) + ")";
}

std::string createView(const std::string& name, const jet::PortableQuery& query) {
    std::vector<std::string> columns;
    bool converted = false;
    for (const jet::PortableColumn& c : query.columns) {
        const std::string inner = "\"q\"." + sqliteName(c.name);
        std::string expr = inner;
        if (c.type == jet::ValueType::Boolean)
            expr = "(" + inner + " <> 0)";
        else if (c.type == jet::ValueType::DateTime)
            expr = "strftime('%Y-%m-%d %H:%M:%S', " + inner + " + " + kAccessEpochJulian + ")";
        converted = converted || expr != inner;
        columns.push_back(expr + " AS " + sqliteName(c.name));
    }
    if (!converted)
        return "CREATE VIEW " + sqliteName(name) + " AS " + query.sql;
    return "CREATE VIEW " + sqliteName(name) + " AS SELECT " + joined(columns) + " FROM (" +
           query.sql + ") AS \"q\"";
}

}  // namespace cli
