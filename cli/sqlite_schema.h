// The SQLite text an export writes for a table of an Access file: column
// declarations, CREATE TABLE with the primary key, CREATE INDEX for the
// other indexes, and the two bridges between the stored forms and the
// engine's forms that saved queries are translated for.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "jet/portable_query.h"
#include "jet/table_def.h"

namespace cli {

// "name" with inner double quotes doubled.
std::string sqliteName(const std::string& name);

// Whether a column's values are copied (ACE attachment and multi-value
// columns are not: their values live in hidden tables).
bool isCopied(const jet::Column& column);

// The declared type: INTEGER, REAL, BOOLEAN, DATETIME, VARCHAR(n), TEXT or
// BLOB; Currency and Decimal are TEXT with a comment naming the Access type.
std::string declaredType(const jet::Column& column, bool jet3);

// The primary key, or null when there is none or it names a deleted column.
const jet::IndexDef* primaryKey(const jet::TableDef& table);

// CREATE TABLE for the copied columns, with the primary key.
std::string createTable(const jet::TableDef& table, bool jet3);

// The columns CREATE TABLE declares (descriptor numbers, in order) and the
// position among them of the one it makes an alias of SQLite's rowid: the
// primary key's only column when it is declared INTEGER.
struct CopiedColumns {
    std::vector<size_t> columns;
    std::optional<size_t> rowid;
};
CopiedColumns copiedColumns(const jet::TableDef& table);

// CREATE [UNIQUE] INDEX for one index, named "<table>_<index>" (made unique
// against `usedNames`, lower-case, which receives the name). Empty when the
// index names a deleted column.
// `name`, when given, receives the index's SQLite name, quoted.
std::string createIndex(const jet::TableDef& table, const jet::IndexDef& index,
                        std::set<std::string>& usedNames, std::string* name = nullptr);

// The table as a FROM-clause source in the engine's forms (Yes/No -1/0,
// dates as Access date numbers, Currency and Decimal as numbers).
std::string engineFormSource(const jet::TableDef& table);

// CREATE VIEW over a portable query, turning the engine's forms of its
// output back into the stored forms (Yes/No 1/0, ISO dates).
std::string createView(const std::string& name, const jet::PortableQuery& query);

// Lower-case ASCII, for SQLite's case-insensitive names.
std::string foldedName(const std::string& name);

}  // namespace cli
