#include "db/relationships.h"

#include <algorithm>
#include <map>

#include "jet/collation.h"
#include "jet/database.h"

namespace db {

namespace {

// MSysRelationships.grbit bits, as Access sets them.
constexpr uint32_t kOneToOne = 0x1;
constexpr uint32_t kNoIntegrity = 0x2;
constexpr uint32_t kCascadeUpdates = 0x100;
constexpr uint32_t kCascadeDeletes = 0x1000;

std::string joined(const std::string& table, const std::vector<std::string>& fields) {
    if (fields.size() == 1) {
        return table + "." + fields.front();
    }
    std::string out = table + ".(";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out += (i ? ", " : "") + fields[i];
    }
    return out + ")";
}

struct Row {
    std::string name, table, field, referencedTable, referencedField;
    int64_t column = 0;
    uint32_t flags = 0;
};

std::string textAt(jet::TableCursor& cursor, int column) {
    if (column < 0) {
        return {};
    }
    const jet::Value value = cursor.value(std::size_t(column));
    return value.type() == jet::ValueType::Text ? value.data() : std::string();
}

int64_t numberAt(jet::TableCursor& cursor, int column) {
    if (column < 0) {
        return 0;
    }
    const jet::Value value = cursor.value(std::size_t(column));
    return value.isNull() ? 0 : value.i();
}

std::vector<Row> readRows(const jet::Database& database) {
    std::vector<Row> rows;
    auto cursor = database.openTable("MSysRelationships");
    if (!cursor) {
        return rows;
    }
    jet::TableCursor& c = **cursor;
    const jet::TableDef& def = c.table();
    const int name = def.columnIndex("szRelationship");
    const int table = def.columnIndex("szObject");
    const int field = def.columnIndex("szColumn");
    const int referencedTable = def.columnIndex("szReferencedObject");
    const int referencedField = def.columnIndex("szReferencedColumn");
    const int column = def.columnIndex("icolumn");
    const int flags = def.columnIndex("grbit");
    while (c.next()) {
        rows.push_back(Row{textAt(c, name), textAt(c, table), textAt(c, field),
                           textAt(c, referencedTable), textAt(c, referencedField),
                           numberAt(c, column), uint32_t(numberAt(c, flags))});
    }
    return c.status() ? rows : std::vector<Row>{};
}

}  // namespace

std::string Relationship::text() const {
    return joined(table, fields) + " -> " + joined(referencedTable, referencedFields);
}

std::string Relationship::description() const {
    std::string out = (flags & kOneToOne) ? "One-to-one" : "One-to-many";
    out += (flags & kNoIntegrity) ? "; referential integrity not enforced"
                                  : "; referential integrity enforced";
    if (flags & kCascadeUpdates) {
        out += "; cascade updates";
    }
    if (flags & kCascadeDeletes) {
        out += "; cascade deletes";
    }
    return out;
}

std::vector<Relationship> Relationships::read(const jet::Database& database) {
    std::vector<Row> rows = readRows(database);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.column < b.column; });
    // One relationship per name; a name is unique in a file.
    std::map<std::string, Relationship> byName;
    for (const Row& row : rows) {
        Relationship& r = byName[row.name];
        r.name = row.name;
        r.table = row.table;
        r.referencedTable = row.referencedTable;
        r.flags = row.flags;
        r.fields.push_back(row.field);
        r.referencedFields.push_back(row.referencedField);
    }
    std::vector<Relationship> out;
    for (auto& [name, relationship] : byName) {
        out.push_back(std::move(relationship));
    }
    const jet::FileFormat format = database.format();
    std::stable_sort(
        out.begin(), out.end(), [format](const Relationship& a, const Relationship& b) {
            const int byTable = jet::compareJetText(a.table, b.table, format);
            return byTable != 0 ? byTable < 0 : jet::compareJetText(a.name, b.name, format) < 0;
        });
    return out;
}

}  // namespace db
