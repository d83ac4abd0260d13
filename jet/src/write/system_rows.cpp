#include "write/system_rows.h"

#include <string>

namespace jet::write {
namespace {

// The bytes a fixed column of `type` takes; 0 when its length decides.
uint32_t naturalSize(ColumnType type) {
    switch (type) {
        case ColumnType::Byte:
            return 1;
        case ColumnType::Integer:
            return 2;
        case ColumnType::Long:
            return 4;
        case ColumnType::Double:
        case ColumnType::DateTime:
            return 8;
        default:
            return 0;
    }
}

// Every column must fit the row layout the definition promises, or rows
// written from it would run past their buffers.
Status checkDefinition(const TableDef& def, uint32_t pageSize) {
    auto damaged = [&](const Column& column, const std::string& why) {
        return Status(ErrorCode::Corrupt, "the definition of " + def.name + " is damaged (column " +
                                              column.name + " " + why +
                                              "); the writer does not change this file");
    };
    if (def.columns.empty() || def.maxColumns < def.columns.size()) {
        return {ErrorCode::Corrupt, "the definition of " + def.name +
                                        " is damaged (its column counts disagree); the writer "
                                        "does not change this file"};
    }
    for (const Column& column : def.columns) {
        if (column.number >= def.maxColumns) {
            return damaged(column, "has a number past the column count");
        }
        if (column.type() == ColumnType::Boolean) {
            continue;
        }
        if (column.isFixed()) {
            if (column.length < naturalSize(column.type()) ||
                uint32_t(column.fixedOffset) + column.length > pageSize) {
                return damaged(column, "does not fit its fixed place");
            }
        } else if (column.varIndex >= def.varColumns) {
            return damaged(column, "has a variable slot past the slot count");
        }
    }
    return Status::ok();
}

}  // namespace

int SystemTable::number(std::string_view name) const {
    const Column* column = def.findColumn(name);
    return column ? column->number : -1;
}

const Value& SystemTable::value(const SystemRow& row, std::string_view name) const {
    static const Value kNull;
    const int n = number(name);
    return n >= 0 && size_t(n) < row.values.size() ? row.values[n] : kNull;
}

Result<SystemTable> readSystemTable(
    const Database& db, const PageImage& image, std::string_view name,
    const std::vector<std::pair<const char*, ColumnType>>& required) {
    const TableDef* def = db.findTable(name);
    if (!def || def->isLinked()) {
        return Result<SystemTable>(ErrorCode::Unsupported,
                                   "the database has no " + std::string(name) + " table");
    }
    if (Status status = checkDefinition(*def, image.pageSize()); !status) {
        return status;
    }
    SystemTable table;
    table.def = *def;
    for (const auto& [column, type] : required) {
        const Column* found = def->findColumn(column);
        if (!found || found->type() != type) {
            return Result<SystemTable>(ErrorCode::Unsupported,
                                       std::string(name) + " has an unexpected layout (column " +
                                           column + "); the writer does not change such files");
        }
    }
    auto layout = readTableLayout(image, def->tdefPage);
    if (!layout) {
        return layout.status();
    }
    if (layout->maxColumns != def->maxColumns) {
        return Result<SystemTable>(ErrorCode::Corrupt,
                                   "the definition of " + std::string(name) +
                                       " is damaged (its column counts disagree); the writer "
                                       "does not change this file");
    }
    table.layout = std::move(*layout);
    table.collation = legacyCollation(image.jet3());
    for (const auto& [column, version] : table.layout.sortVersions) {
        if (!image.jet3() && version == 1) {
            table.collation = NameCollation::General;  // Access 2010 and later
        }
    }
    auto cursor = db.openTable(*def);
    if (!cursor) {
        return cursor.status();
    }
    uint16_t highest = 0;
    for (const Column& column : def->columns) {
        highest = std::max<uint16_t>(highest, column.number);
    }
    while ((*cursor)->next()) {
        SystemRow row;
        row.pointer = static_cast<uint32_t>((*cursor)->rowId());
        row.values.resize(highest + 1);
        for (size_t i = 0; i < def->columns.size(); ++i) {
            row.values[def->columns[i].number] = (*cursor)->value(i);
        }
        table.rows.push_back(std::move(row));
    }
    if (!(*cursor)->status()) {
        return (*cursor)->status();
    }
    return table;
}

}  // namespace jet::write
