#include "write/database_verifier.h"

#include <cstring>
#include <memory>
#include <set>

#include "database_file.h"
#include "jet/database.h"
#include "write/index_key.h"
#include "write/index_tree.h"
#include "write/system_rows.h"
#include "write/usage_map_editor.h"

namespace jet::write {
namespace {

Status failed(const std::string& what) {
    return {ErrorCode::Corrupt, what};
}

Status checkPages(const PageImage& planned, PageImage& after) {
    if (after.pageCount() != planned.pageCount()) {
        return failed("the file does not have the planned size");
    }
    std::set<uint32_t> compared = planned.changedPages();
    compared.insert(0);
    for (uint32_t n : compared) {
        if (std::memcmp(planned.page(n), after.page(n), after.pageSize()) != 0) {
            return failed(n == 0 ? "the header page changed"
                                 : "page " + std::to_string(n) + " was not written as planned");
        }
    }
    auto global = UsageMapEditor::open(after, (1u << 8) | 0u, MapKind::Global);
    for (uint32_t n = planned.originalPageCount(); n < after.pageCount(); ++n) {
        if (!global || global->contains(n)) {
            return failed("new page " + std::to_string(n) + " is still marked free");
        }
    }
    return after.status() ? Status::ok() : failed(after.status().message());
}

Status checkIndex(const PageImage& image, const SystemTable& table, const RealIndex& index) {
    auto tree = readIndexTree(image, index.rootPage, table.layout.tdefPage);
    if (!tree) {
        return failed("an index of " + table.def.name +
                      " cannot be read: " + tree.status().message());
    }
    if (!tree->defects.empty()) {
        return failed("an index of " + table.def.name + ": " + tree->defects.front());
    }
    if (tree->entries.size() != table.rows.size()) {
        return failed("an index of " + table.def.name + " lists " +
                      std::to_string(tree->entries.size()) + " rows for " +
                      std::to_string(table.rows.size()));
    }
    std::map<uint32_t, const SystemRow*> rows;
    for (const SystemRow& row : table.rows) {
        rows[row.pointer] = &row;
    }
    for (size_t i = 0; i < tree->entries.size(); ++i) {
        const IndexEntry& entry = tree->entries[i];
        auto row = rows.find((entry.page << 8) | entry.row);
        if (row == rows.end()) {
            return failed("an index entry of " + table.def.name + " points at no row");
        }
        auto key = indexKey(index, table.def, row->second->values, table.collation);
        if (key && *key != entry.key) {
            return failed("an index entry of " + table.def.name + " does not match its row");
        }
        if (index.unique() && i > 0 && tree->entries[i - 1].key == entry.key) {
            return failed("a unique index of " + table.def.name + " holds a key twice");
        }
        rows.erase(row);
    }
    return Status::ok();
}

Status checkSystemTables(const Database& db, const PageImage& image, const VerifyPlan& plan) {
    const char* names[3] = {"MSysObjects", "MSysQueries", "MSysACEs"};
    for (int i = 0; i < 3; ++i) {
        auto table = readSystemTable(db, image, names[i], {});
        if (!table) {
            return failed(std::string(names[i]) + " cannot be read: " + table.status().message());
        }
        const int64_t expected = int64_t(plan.storedRowCounts[i]) + plan.rowDeltas[i];
        if (int64_t(table->layout.rowCount) != std::max<int64_t>(expected, 0)) {
            return failed(std::string(names[i]) + " has a wrong row count");
        }
        for (const RealIndex& index : table->layout.indexes) {
            if (Status status = checkIndex(image, *table, index); !status) {
                return status;
            }
        }
    }
    return Status::ok();
}

Status checkQueries(const Database& db, const VerifyPlan& plan) {
    if (!plan.createdName.empty()) {
        const QueryDef* query = db.findQuery(plan.createdName);
        if (!query || query->name != plan.createdName || !query->status) {
            return failed("the new query cannot be read back");
        }
        if (query->info.sql != plan.createdSql) {
            return failed("the new query reads back as '" + query->info.sql + "'");
        }
    }
    if (!plan.deletedName.empty() && db.findQuery(plan.deletedName)) {
        return failed("the deleted query is still listed");
    }
    for (const auto& [name, sql] : plan.untouchedQueries) {
        const QueryDef* query = db.findQuery(name);
        if (!query || (query->status ? query->info.sql : query->status.message()) != sql) {
            return failed("the query '" + name + "' changed");
        }
    }
    return Status::ok();
}

}  // namespace

Status verifyDatabase(const std::string& path, const std::string& password,
                      const PageImage& planned, const VerifyPlan& plan) {
    auto db = Database::open(path, password);
    if (!db) {
        return failed("it cannot be opened: " + db.status().message());
    }
    const DatabaseFile& file = (*db)->file();
    PageImage after = PageImage::onDemand(
        [&file](uint32_t number, uint8_t* out) { return file.readPage(number, out); },
        file.pageCount(), file.pageSize(), file.jet3());
    for (Status status : {checkPages(planned, after), checkSystemTables(**db, after, plan),
                          checkQueries(**db, plan)}) {
        if (!status) {
            return status;
        }
    }
    return Status::ok();
}

}  // namespace jet::write
