// The rows of one system table (MSysObjects, MSysQueries, MSysACEs) as the
// writer needs them: each live row's slot pointer and its values indexed by
// row column number, with the table's definition and layout.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "jet/database.h"
#include "jet/status.h"
#include "jet/value.h"
#include "write/page_image.h"
#include "write/table_layout.h"
#include "write/text_index_key.h"

namespace jet::write {

struct SystemRow {
    uint32_t pointer = 0;       // page << 8 | slot of the row (the pointer slot if moved)
    std::vector<Value> values;  // by row column number
};

struct SystemTable {
    TableDef def;
    TableLayout layout;
    std::vector<SystemRow> rows;
    NameCollation collation = NameCollation::GeneralLegacy;  // of its text key columns

    // Column number of `name`; -1 when the table lacks it.
    int number(std::string_view name) const;
    const Value& value(const SystemRow& row, std::string_view name) const;
};

// Reads table `name` of `db` (rows) and its layout from `image`. Unsupported
// when the table is missing or lacks one of `required` columns.
Result<SystemTable> readSystemTable(
    const Database& db, const PageImage& image, std::string_view name,
    const std::vector<std::pair<const char*, ColumnType>>& required);

}  // namespace jet::write
