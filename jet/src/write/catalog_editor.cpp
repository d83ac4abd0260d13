#include "write/catalog_editor.h"

#include <algorithm>
#include <set>

#include "byte_reader.h"
#include "data_page.h"
#include "database_file.h"
#include "row_view.h"
#include "write/byte_writer.h"
#include "write/data_page_editor.h"
#include "write/query_name_rules.h"
#include "write/row_encoder.h"
#include "write/usage_map_editor.h"

namespace jet::write {
namespace {

constexpr int32_t kRootContainer = 0x0F000000;
constexpr int16_t kQueryType = 5;
constexpr uint16_t kGeneralSortOrder = 1033;

using C = ColumnType;

std::string textOf(const Value& v) {
    return v.isNull() ? std::string() : v.data();
}

Value longValue(int64_t i) {
    return Value::integer(ValueType::Long, i);
}

}  // namespace

Result<std::unique_ptr<CatalogEditor>> CatalogEditor::open(const Database& db, PageImage& image) {
    auto allocator = PageAllocator::open(image);
    if (!allocator) {
        return allocator.status();
    }
    std::unique_ptr<CatalogEditor> editor(new CatalogEditor(db, image, *allocator));
    editor->claimPages();
    if (Status status = editor->readCatalog(); !status) {
        return status;
    }
    return editor;
}

// Every page a usage map of some table, index or long-value column claims,
// so that a page marked free but still claimed is never handed out.
void CatalogEditor::claimPages() {
    std::set<uint32_t> claimed;
    bool known = true;
    auto addMap = [&](uint32_t pointer) {
        auto map = UsageMapEditor::open(image_, pointer);
        if (!map) {
            known = false;
            return;
        }
        claimed.insert(pointerPage(pointer));
        for (const auto& pages : {map->pages(), map->bitmapPages()}) {
            claimed.insert(pages.begin(), pages.end());
        }
    };
    for (const TableDef& table : db_.tables()) {
        if (table.isLinked()) {
            continue;
        }
        auto layout = readTableLayout(image_, table.tdefPage);
        if (!layout) {
            known = false;
            continue;
        }
        claimed.insert(layout->definitionPages.begin(), layout->definitionPages.end());
        addMap(layout->ownedMap);
        addMap(layout->freeMap);
        for (const RealIndex& index : layout->indexes) {
            addMap(index.mapPointer);
            claimed.insert(index.rootPage);
        }
        for (const LongValueMaps& maps : layout->longValueMaps) {
            addMap(maps.ownedMap);
            addMap(maps.freeMap);
        }
    }
    allocator_.setClaimedPages(std::move(claimed), known);
}

Status CatalogEditor::readCatalog() {
    auto objects = readSystemTable(db_, image_, "MSysObjects",
                                   {{"Id", C::Long},
                                    {"ParentId", C::Long},
                                    {"Name", C::Text},
                                    {"Type", C::Integer},
                                    {"DateCreate", C::DateTime},
                                    {"DateUpdate", C::DateTime},
                                    {"Owner", C::Binary},
                                    {"Flags", C::Long}});
    auto queries = readSystemTable(db_, image_, "MSysQueries",
                                   {{"ObjectId", C::Long},
                                    {"Attribute", C::Byte},
                                    {"Order", C::Binary},
                                    {"Name1", C::Text},
                                    {"Name2", C::Text},
                                    {"Expression", C::Memo},
                                    {"Flag", C::Integer}});
    auto aces = readSystemTable(db_, image_, "MSysACEs",
                                {{"ObjectId", C::Long},
                                 {"SID", C::Binary},
                                 {"ACM", C::Long},
                                 {"FInheritable", C::Boolean}});
    for (const Status& status : {objects.status(), queries.status(), aces.status()}) {
        if (!status) {
            return status;
        }
    }
    objects_ = std::move(*objects);
    queries_ = std::move(*queries);
    aces_ = std::move(*aces);
    const auto name = static_cast<uint16_t>(objects_.number("Name"));
    auto sort = objects_.layout.sortOrders.find(name);
    auto version = objects_.layout.sortVersions.find(name);
    const bool knownVersion =
        image_.jet3() || (version != objects_.layout.sortVersions.end() && version->second <= 1);
    if (sort == objects_.layout.sortOrders.end() || sort->second != kGeneralSortOrder ||
        !knownVersion) {
        return {ErrorCode::Unsupported,
                "the database sorts object names in a language order this program cannot "
                "write; only the General sort order is supported"};
    }
    return Status::ok();
}

Result<int32_t> CatalogEditor::containerId(const std::string& name) const {
    for (const SystemRow& row : objects_.rows) {
        if (objects_.value(row, "ParentId").i() == kRootContainer &&
            textOf(objects_.value(row, "Name")) == name) {
            return static_cast<int32_t>(objects_.value(row, "Id").i());
        }
    }
    return Result<int32_t>(ErrorCode::Unsupported,
                           "the database has no '" + name + "' container in MSysObjects");
}

Status CatalogEditor::checkNameIsFree(const std::string& name, int32_t tablesId) const {
    for (const SystemRow& row : objects_.rows) {
        if (objects_.value(row, "ParentId").i() == tablesId &&
            sameObjectName(textOf(objects_.value(row, "Name")), name)) {
            const bool query = objects_.value(row, "Type").i() == kQueryType;
            return {ErrorCode::Invalid, std::string(query ? "A query" : "A table") + " named '" +
                                            textOf(objects_.value(row, "Name")) +
                                            "' already exists in this database."};
        }
    }
    return Status::ok();
}

Result<std::string> CatalogEditor::ownerBytes() const {
    auto databases = containerId("Databases");
    if (databases) {
        for (const SystemRow& row : objects_.rows) {
            if (objects_.value(row, "ParentId").i() == *databases &&
                textOf(objects_.value(row, "Name")) == "MSysDb" &&
                !objects_.value(row, "Owner").isNull()) {
                return objects_.value(row, "Owner").data();
            }
        }
    }
    return std::string("\xA6\x33", 2);  // the owner Jet gives objects of unsecured files
}

int32_t CatalogEditor::newObjectId() const {
    std::set<int64_t> taken;
    int64_t highest = INT32_MIN - int64_t(1);
    for (const SystemRow& row : objects_.rows) {
        const int64_t id = objects_.value(row, "Id").i();
        taken.insert(id);
        if (id < 0) {
            highest = std::max(highest, id);
        }
    }
    for (const SystemRow& row : queries_.rows) {
        taken.insert(queries_.value(row, "ObjectId").i());
    }
    for (const SystemRow& row : aces_.rows) {
        taken.insert(aces_.value(row, "ObjectId").i());
    }
    int64_t id = highest + 1;
    while (taken.count(id)) {
        ++id;  // skip rows left behind by an interrupted writer
    }
    return static_cast<int32_t>(id);
}

std::vector<const SystemRow*> CatalogEditor::aceTemplate(int32_t tablesId) const {
    // Prefer an existing query's permissions, then a user table's, then the
    // container's own.
    std::vector<int64_t> candidates;
    for (int pass = 0; pass < 2; ++pass) {
        for (const SystemRow& row : objects_.rows) {
            const int64_t type = objects_.value(row, "Type").i();
            const bool system = (objects_.value(row, "Flags").i() & 0x80000002) != 0;
            if (objects_.value(row, "ParentId").i() == tablesId &&
                (pass == 0 ? type == kQueryType : (type == 1 && !system))) {
                candidates.push_back(objects_.value(row, "Id").i());
            }
        }
    }
    candidates.push_back(tablesId);
    for (int64_t id : candidates) {
        std::vector<const SystemRow*> rows;
        for (const SystemRow& row : aces_.rows) {
            if (aces_.value(row, "ObjectId").i() == id) {
                rows.push_back(&row);
            }
        }
        if (!rows.empty()) {
            return rows;
        }
    }
    return {};
}

Result<AddedRow> CatalogEditor::addRow(SystemTable& table, std::vector<Value> values) {
    RowEncoder encoder(table.def, image_.jet3(), db_.file().codePage());
    auto bytes = encoder.encode(values);
    if (!bytes) {
        return bytes.status();
    }
    auto pointer =
        placer_.place(table.layout.tdefPage, table.layout.ownedMap, table.layout.freeMap, *bytes);
    if (!pointer) {
        return pointer.status();
    }
    return AddedRow{*pointer, std::move(values)};
}

Result<Value> CatalogEditor::expressionField(const std::string& text) {
    RowEncoder encoder(queries_.def, image_.jet3(), db_.file().codePage());
    auto stored = encoder.storedText(text);
    if (!stored) {
        return stored.status();
    }
    std::vector<uint8_t> field(12, 0);
    putLe24(field.data(), static_cast<uint32_t>(stored->size()));
    if (stored->size() <= (image_.jet3() ? 32u : 64u)) {
        field[3] = 0x80;
        field.insert(field.end(), stored->begin(), stored->end());
        return Value::binary(std::string(field.begin(), field.end()));
    }
    const LongValueMaps* maps =
        queries_.layout.mapsOf(static_cast<uint16_t>(queries_.number("Expression")));
    if (!maps) {
        return Result<Value>(ErrorCode::Unsupported,
                             "MSysQueries has no page map for long expressions");
    }
    if (stored->size() + 40 > image_.pageSize()) {
        return Result<Value>(ErrorCode::Unsupported,
                             "an expression of the statement is too long to be saved (" +
                                 std::to_string(text.size()) + " characters)");
    }
    const std::vector<uint8_t> data(stored->begin(), stored->end());
    auto pointer = placer_.place(kLongValueOwner, maps->ownedMap, maps->freeMap, data);
    if (!pointer) {
        return pointer.status();
    }
    field[3] = 0x40;
    putLe32(field.data() + 4, *pointer);
    return Value::binary(std::string(field.begin(), field.end()));
}

Result<std::vector<AddedRow>> CatalogEditor::addQueryRows(int32_t id,
                                                          const DecomposedQuery& query) {
    std::vector<AddedRow> added;
    for (const QueryRow& row : query.rows) {
        std::vector<Value> values(queries_.rows.empty() ? 0 : queries_.rows.front().values.size());
        values.resize(std::max<size_t>(values.size(), queries_.def.maxColumns));
        auto set = [&](const char* column, Value value) {
            const int n = queries_.number(column);
            if (n >= 0) {
                values[n] = std::move(value);
            }
        };
        set("ObjectId", longValue(id));
        set("Attribute", Value::integer(ValueType::Byte, row.attribute));
        set("Order", Value::binary(std::string(row.order->begin(), row.order->end())));
        if (row.name1)
            set("Name1", Value::text(*row.name1));
        if (row.name2)
            set("Name2", Value::text(*row.name2));
        if (row.flag)
            set("Flag", Value::integer(ValueType::Integer, *row.flag));
        if (row.lvExtra)
            set("LvExtra", longValue(*row.lvExtra));
        if (row.expression) {
            auto field = expressionField(*row.expression);
            if (!field) {
                return field.status();
            }
            set("Expression", std::move(*field));
        }
        auto stored = addRow(queries_, values);
        if (!stored) {
            return stored.status();
        }
        // Index keys use the value itself, not its stored field.
        if (row.expression)
            set("Expression", Value::text(*row.expression));
        stored->values = std::move(values);
        added.push_back(std::move(*stored));
    }
    return added;
}

Result<std::vector<AddedRow>> CatalogEditor::addAceRows(int32_t id, int32_t tablesId) {
    std::vector<AddedRow> added;
    for (const SystemRow* source : aceTemplate(tablesId)) {
        std::vector<Value> values = source->values;
        values[aces_.number("ObjectId")] = longValue(id);
        auto stored = addRow(aces_, std::move(values));
        if (!stored) {
            return stored.status();
        }
        added.push_back(std::move(*stored));
    }
    return added;
}

Status CatalogEditor::createQuery(const std::string& name, const DecomposedQuery& query,
                                  double now) {
    if (Status status = checkQueryName(name, image_.jet3()); !status) {
        return status;
    }
    auto tablesId = containerId("Tables");
    if (!tablesId) {
        return tablesId.status();
    }
    if (Status status = checkNameIsFree(name, *tablesId); !status) {
        return status;
    }
    auto owner = ownerBytes();
    lastId_ = newObjectId();
    std::vector<Value> object(std::max<size_t>(objects_.def.maxColumns, 17));
    object[objects_.number("Id")] = longValue(lastId_);
    object[objects_.number("ParentId")] = longValue(*tablesId);
    object[objects_.number("Name")] = Value::text(name);
    object[objects_.number("Type")] = Value::integer(ValueType::Integer, kQueryType);
    object[objects_.number("DateCreate")] = Value::real(ValueType::DateTime, now);
    object[objects_.number("DateUpdate")] = Value::real(ValueType::DateTime, now);
    object[objects_.number("Owner")] = Value::binary(*owner);
    object[objects_.number("Flags")] = longValue(query.objectFlags);
    std::vector<AddedRow> added[3];
    auto objectRow = addRow(objects_, std::move(object));
    if (!objectRow) {
        return objectRow.status();
    }
    added[0].push_back(std::move(*objectRow));
    auto queryRows = addQueryRows(lastId_, query);
    if (!queryRows) {
        return queryRows.status();
    }
    added[1] = std::move(*queryRows);
    auto aceRows = addAceRows(lastId_, *tablesId);
    if (!aceRows) {
        return aceRows.status();
    }
    added[2] = std::move(*aceRows);
    const std::set<uint32_t> none[3];
    return commit(added, none);
}

Status CatalogEditor::commit(const std::vector<AddedRow> (&added)[3],
                             const std::set<uint32_t> (&removed)[3]) {
    SystemTable* tables[3] = {&objects_, &queries_, &aces_};
    for (int i = 0; i < 3; ++i) {
        if (Status status = updateIndexes(image_, allocator_, *tables[i], added[i], removed[i]);
            !status) {
            return status;
        }
        const int delta = static_cast<int>(added[i].size()) - static_cast<int>(removed[i].size());
        deltas_[i] = delta;
        if (delta != 0) {
            addToRowCount(image_, tables[i]->layout, delta);
        }
    }
    return Status::ok();
}

Status CatalogEditor::markSlot(uint32_t pointer) {
    const uint32_t page = pointer >> 8;
    if (page == 0 || page >= image_.pageCount()) {
        return {ErrorCode::Corrupt, "a row pointer leads outside the file"};
    }
    DataPageEditor editor(image_.mutablePage(page), image_.pageSize(), image_.jet3());
    return editor.markDeleted(pointer & 0xFF);
}

Status CatalogEditor::deleteLongValue(const uint8_t* field, uint32_t size) {
    if (size < 12 || field[3] == 0x80) {
        return Status::ok();
    }
    uint32_t pointer = le32(field + 4);
    const bool chain = field[3] == 0x00;
    for (int hops = 0; pointer != 0 && hops < 100000; ++hops) {
        const uint32_t next = [&] {
            DataPage page{image_.page(pointer >> 8), image_.pageSize(), image_.jet3()};
            uint32_t start = 0, end = 0;
            if (!chain || (pointer >> 8) >= image_.pageCount() ||
                !page.slotRange(pointer & 0xFF, start, end) || end - start < 4) {
                return 0u;
            }
            return le32(page.bytes + start);
        }();
        if (Status status = markSlot(pointer); !status) {
            return status;
        }
        pointer = next;
    }
    return Status::ok();
}

Status CatalogEditor::deleteRow(const SystemTable& table, const SystemRow& row) {
    const uint32_t pageNumber = row.pointer >> 8, slot = row.pointer & 0xFF;
    DataPage page{image_.page(pageNumber), image_.pageSize(), image_.jet3()};
    uint32_t start = 0, end = 0;
    if (!page.slotRange(slot, start, end)) {
        return {ErrorCode::Corrupt, "a row of " + table.def.name + " cannot be found"};
    }
    uint32_t rowPointer = row.pointer;
    if (page.slotEntry(slot) & DataPage::kOverflow) {
        if (end - start < 4) {
            return {ErrorCode::Corrupt, "a moved row of " + table.def.name + " has no pointer"};
        }
        rowPointer = le32(page.bytes + start);
        DataPage target{image_.page(rowPointer >> 8), image_.pageSize(), image_.jet3()};
        if ((rowPointer >> 8) >= image_.pageCount() ||
            !target.slotRange(rowPointer & 0xFF, start, end)) {
            return {ErrorCode::Corrupt, "a moved row of " + table.def.name + " cannot be found"};
        }
        page = target;
        if (Status status = markSlot(rowPointer); !status) {
            return status;
        }
    }
    RowView view;
    if (!view.parse(page.bytes + start, end - start, image_.jet3(), table.def.varColumns > 0)) {
        return {ErrorCode::Corrupt, "a row of " + table.def.name + " is malformed"};
    }
    for (const Column& column : table.def.columns) {
        uint32_t from = 0, to = 0;
        if (column.isLongValue() && view.present(column.number) &&
            view.variableRange(column.varIndex, from, to)) {
            if (Status s = deleteLongValue(view.bytes() + from, to - from); !s) {
                return s;
            }
        }
    }
    return markSlot(row.pointer);
}

Status CatalogEditor::deleteQuery(const std::string& name) {
    auto tablesId = containerId("Tables");
    if (!tablesId) {
        return tablesId.status();
    }
    const SystemRow* object = nullptr;
    for (const SystemRow& row : objects_.rows) {
        if (objects_.value(row, "ParentId").i() == *tablesId &&
            sameObjectName(textOf(objects_.value(row, "Name")), name)) {
            object = &row;
        }
    }
    if (!object) {
        return {ErrorCode::NotFound, "There is no query named '" + name + "' in this database."};
    }
    if (objects_.value(*object, "Type").i() != kQueryType) {
        return {ErrorCode::Invalid, "'" + name + "' is a table, not a query."};
    }
    const int64_t id = objects_.value(*object, "Id").i();
    std::set<uint32_t> removed[3];
    SystemTable* tables[3] = {&objects_, &queries_, &aces_};
    const char* idColumns[3] = {"Id", "ObjectId", "ObjectId"};
    for (int i = 0; i < 3; ++i) {
        for (const SystemRow& row : tables[i]->rows) {
            if (tables[i]->value(row, idColumns[i]).i() == id) {
                if (Status status = deleteRow(*tables[i], row); !status) {
                    return status;
                }
                removed[i].insert(row.pointer);
            }
        }
    }
    const std::vector<AddedRow> none[3];
    return commit(none, removed);
}

}  // namespace jet::write
