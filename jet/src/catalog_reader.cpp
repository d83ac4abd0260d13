#include "catalog_reader.h"

#include <algorithm>
#include <map>

#include "calculated_columns.h"
#include "jet/collation.h"
#include "queries/query_rebuilder.h"
#include "table_definition_reader.h"
#include "table_scanner.h"

namespace jet {
namespace {

constexpr uint32_t kCatalogPage = 2;
constexpr int32_t kRootContainers = 0x0F000000;
constexpr int32_t kDefaultTablesId = 0x0F000001;
constexpr int16_t kLocalTable = 1;
constexpr int16_t kOdbcLink = 4;
constexpr int16_t kQuery = 5;
constexpr int16_t kJetLink = 6;

// Column positions of a cursor, looked up by name once.
struct Columns {
    std::vector<int> at;
    Columns(const TableDef& t, std::initializer_list<const char*> names) {
        for (const char* n : names)
            at.push_back(t.columnIndex(n));
    }
};

int64_t intAt(TableCursor& c, int index) {
    if (index < 0)
        return 0;
    return c.get(static_cast<size_t>(index)).i;
}

std::optional<int64_t> optionalInt(TableCursor& c, int index) {
    if (index < 0)
        return std::nullopt;
    const ValueRef v = c.get(static_cast<size_t>(index));
    if (v.isNull())
        return std::nullopt;
    return v.i;
}

std::optional<std::string> optionalText(TableCursor& c, int index) {
    if (index < 0)
        return std::nullopt;
    const ValueRef v = c.get(static_cast<size_t>(index));
    if (v.isNull())
        return std::nullopt;
    return std::string(v.data);
}

std::string textAt(TableCursor& c, int index) {
    return optionalText(c, index).value_or("");
}

}  // namespace

Status CatalogReader::readObjects(std::vector<ObjectRow>& rows) {
    TableDef catalog;
    catalog.name = "MSysObjects";
    if (Status s = readTableDefinition(file_, kCatalogPage, catalog); !s)
        return s;
    TableScanner cursor(file_, catalog, nullptr, salvage_);
    if (Status s = cursor.init(); !s)
        return s;
    const Columns col(
        catalog, {"Id", "ParentId", "Type", "Flags", "Name", "Database", "Connect", "ForeignName"});
    if (col.at[0] < 0 || col.at[1] < 0 || col.at[2] < 0 || col.at[4] < 0)
        return Status(ErrorCode::Corrupt,
                      "The catalog (page 2) lacks its Id, ParentId, Name or Type column.");
    while (cursor.next()) {
        ObjectRow r;
        r.id = static_cast<int32_t>(intAt(cursor, col.at[0]));
        r.parentId = static_cast<int32_t>(intAt(cursor, col.at[1]));
        r.type = static_cast<int16_t>(intAt(cursor, col.at[2]));
        r.flags = static_cast<uint32_t>(intAt(cursor, col.at[3]));
        r.name = textAt(cursor, col.at[4]);
        if (r.type == kJetLink || r.type == kOdbcLink) {
            r.database = textAt(cursor, col.at[5]);
            r.connect = textAt(cursor, col.at[6]);
            r.foreignName = textAt(cursor, col.at[7]);
        }
        rows.push_back(std::move(r));
    }
    return cursor.status();
}

Status CatalogReader::addTable(const ObjectRow& row, std::vector<TableDef>& tables) {
    TableDef t;
    t.name = row.name;
    t.id = row.id;
    t.flags = row.flags;
    if (row.type == kLocalTable) {
        t.kind = TableKind::Local;
        // One unreadable definition must not hide the rest of the database.
        if (Status s = readTableDefinition(file_, static_cast<uint32_t>(row.id) & 0x00FFFFFF, t);
            !s) {
            t.columns.clear();
            t.indexes.clear();
            t.definitionError = s.message();
        }
    } else {
        t.kind = row.type == kOdbcLink ? TableKind::LinkedOdbc : TableKind::LinkedJet;
        t.linkedDatabase = row.database;
        t.connect = row.connect;
        t.foreignName = row.foreignName;
    }
    tables.push_back(std::move(t));
    return Status::ok();
}

Status CatalogReader::read(std::vector<TableDef>& tables, std::vector<QueryDef>& queries) {
    std::vector<ObjectRow> rows;
    if (Status s = readObjects(rows); !s)
        return s;
    int32_t tablesId = kDefaultTablesId;
    for (const ObjectRow& r : rows)
        if (r.parentId == kRootContainers && r.name == "Tables")
            tablesId = r.id;
    tables.clear();
    queries.clear();
    for (const ObjectRow& r : rows) {
        if (r.parentId != tablesId)
            continue;
        if (r.type == kLocalTable || r.type == kJetLink || r.type == kOdbcLink) {
            if (Status s = addTable(r, tables); !s)
                return s;
        } else if (r.type == kQuery) {
            QueryDef q;
            q.name = r.name;
            q.id = r.id;
            q.flags = r.flags;
            queries.push_back(std::move(q));
        }
    }
    const FileFormat format = file_.header().format;
    auto byName = [format](const auto& a, const auto& b) {
        return compareJetText(a.name, b.name, format) < 0;
    };
    resolveCalculatedColumns(file_, tables);
    std::sort(tables.begin(), tables.end(), byName);
    std::sort(queries.begin(), queries.end(), byName);
    return rebuildQueries(tables, queries);
}

// The queries' rows cannot be read: every query is listed with the reason.
Status CatalogReader::failQueries(std::vector<QueryDef>& queries, const std::string& why) {
    for (QueryDef& q : queries)
        q.status = Status(ErrorCode::Corrupt, "Query '" + q.name + "': " + why);
    return Status::ok();
}

Status CatalogReader::rebuildQueries(const std::vector<TableDef>& tables,
                                     std::vector<QueryDef>& queries) {
    if (queries.empty())
        return Status::ok();
    auto it = std::find_if(tables.begin(), tables.end(), [](const TableDef& t) {
        return t.name == "MSysQueries" && !t.isLinked();
    });
    if (it == tables.end())
        return Status(ErrorCode::Corrupt,
                      "The database lists saved queries but has no MSysQueries table.");
    if (!it->definitionError.empty())
        return failQueries(queries, it->definitionError);
    TableScanner cursor(file_, *it, nullptr, salvage_);
    if (Status s = cursor.init(); !s)
        return failQueries(queries, s.message());
    const Columns col(
        *it, {"Attribute", "Expression", "Flag", "Name1", "Name2", "ObjectId", "Order", "LvExtra"});
    std::map<int32_t, std::vector<QueryRow>> byObject;
    while (cursor.next()) {
        QueryRow row;
        row.attribute = static_cast<int>(intAt(cursor, col.at[0]));
        row.expression = optionalText(cursor, col.at[1]);
        if (auto f = optionalInt(cursor, col.at[2]))
            row.flag = static_cast<int32_t>(*f);
        row.name1 = optionalText(cursor, col.at[3]);
        row.name2 = optionalText(cursor, col.at[4]);
        row.objectId = static_cast<int32_t>(intAt(cursor, col.at[5]));
        if (auto order = optionalText(cursor, col.at[6]))
            row.order = std::vector<uint8_t>(order->begin(), order->end());
        if (auto extra = optionalInt(cursor, col.at[7]))
            row.lvExtra = static_cast<int32_t>(*extra);
        byObject[row.objectId].push_back(std::move(row));
    }
    if (!cursor.status())
        return failQueries(queries, cursor.status().message());
    for (QueryDef& q : queries) {
        Result<QueryInfo> info = rebuildQuery(byObject[q.id]);
        if (info) {
            q.info = std::move(info.value());
        } else {
            q.status =
                Status(info.status().code(), "Query '" + q.name + "': " + info.status().message());
        }
    }
    return Status::ok();
}

}  // namespace jet
