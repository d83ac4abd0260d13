// Brings every index of one system table in step with rows added and rows
// deleted: reads each tree, drops the entries of deleted rows, adds entries
// for new rows, and writes the tree back (pages reused, added or freed).
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "jet/status.h"
#include "write/page_allocator.h"
#include "write/page_image.h"
#include "write/system_rows.h"

namespace jet::write {

struct AddedRow {
    uint32_t pointer = 0;
    std::vector<Value> values;  // by row column number
};

// Updates all indexes of `table` (whose rows were read before the change).
// Unsupported when an index does not match the table's rows or a unique
// index would get a duplicate key.
Status updateIndexes(PageImage& image, PageAllocator& allocator, const SystemTable& table,
                     const std::vector<AddedRow>& added, const std::set<uint32_t>& removed);

}  // namespace jet::write
