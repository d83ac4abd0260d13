#include "complex/complex_store.h"

#include "complex/complex_column_loader.h"
#include "table_scanner.h"

namespace jet {
namespace {

constexpr int32_t kTablePageMask = 0x00FFFFFF;

Status corrupt(const Column& column, const TableDef& table, const std::string& what) {
    return Status(ErrorCode::Corrupt,
                  "Column '" + column.name + "' of table '" + table.name + "': " + what);
}

}  // namespace

void ComplexStore::clear() {
    linksRead_ = false;
    linksStatus_ = Status::ok();
    links_.clear();
    loaded_.clear();
}

const TableDef* ComplexStore::tableById(int32_t id) const {
    for (const TableDef& t : tables_)
        if (!t.isLinked() && (t.id & kTablePageMask) == (id & kTablePageMask))
            return &t;
    return nullptr;
}

Status ComplexStore::readLinks() {
    const TableDef* catalog = nullptr;
    for (const TableDef& t : tables_)
        if (!t.isLinked() && t.name == "MSysComplexColumns")
            catalog = &t;
    if (!catalog)
        return Status(ErrorCode::Corrupt,
                      "The database has complex columns but no MSysComplexColumns table.");
    const int id = catalog->columnIndex("ComplexID");
    const int flat = catalog->columnIndex("FlatTableID");
    const int type = catalog->columnIndex("ComplexTypeObjectID");
    const int owner = catalog->columnIndex("ConceptualTableID");
    if (id < 0 || flat < 0 || type < 0 || owner < 0)
        return Status(ErrorCode::Corrupt, "MSysComplexColumns lacks one of its columns.");
    TableScanner cursor(file_, *catalog);
    if (Status s = cursor.init(); !s)
        return s;
    auto at = [&cursor](int index) { return static_cast<int32_t>(cursor.get(index).i); };
    while (cursor.next())
        links_[at(id)] = Link{at(flat), at(type), at(owner)};
    return cursor.status();
}

Result<const ComplexColumnValues*> ComplexStore::column(const TableDef& table,
                                                        const Column& column) {
    auto done = loaded_.find(column.complexId);
    if (done != loaded_.end()) {
        if (!done->second)
            return done->second.status();
        return done->second.value().get();
    }
    if (!linksRead_) {
        linksRead_ = true;
        linksStatus_ = readLinks();
    }
    Result<std::unique_ptr<ComplexColumnValues>> values = [&]() {
        if (!linksStatus_)
            return Result<std::unique_ptr<ComplexColumnValues>>(linksStatus_);
        auto link = links_.find(column.complexId);
        if (link == links_.end())
            return Result<std::unique_ptr<ComplexColumnValues>>(
                corrupt(column, table,
                        "complex id " + std::to_string(column.complexId) +
                            " is not in MSysComplexColumns."));
        const TableDef* flat = tableById(link->second.flatTable);
        const TableDef* type = tableById(link->second.typeTable);
        if (!flat || !type)
            return Result<std::unique_ptr<ComplexColumnValues>>(
                corrupt(column, table, "its hidden value table is missing."));
        return loadComplexColumn(file_, column, *flat, *type);
    }();
    if (!values) {
        Status failed = values.status();
        if (failed.message().rfind("Column '", 0) != 0)
            failed = Status(failed.code(), "Column '" + column.name + "' of table '" + table.name +
                                               "': " + failed.message());
        loaded_.emplace(column.complexId, failed);
        return failed;
    }
    auto placed = loaded_.emplace(column.complexId, std::move(values));
    return placed.first->second.value().get();
}

}  // namespace jet
