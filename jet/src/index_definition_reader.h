// Reads the index part of a table definition: the physical index blocks
// (key columns, flags), the logical index entries and their names, which
// follow the column names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "database_file.h"
#include "jet/table_def.h"

namespace jet {

struct IndexCounts {
    uint32_t real = 0;     // physical indexes
    uint32_t logical = 0;  // named indexes
};

// Fills `table.indexes` from the definition buffer `buf`, starting at `pos`
// (just after the column names). The columns must be read already. Indexes
// are an extra: when their blocks contradict the definition, `indexes` stays
// empty and `table.indexError` says why, but the table stays readable.
void readIndexDefinitions(const std::vector<uint8_t>& buf, size_t pos, const DatabaseFile& file,
                          IndexCounts counts, TableDef& table);

// Reads one name of a definition at `pos` (column and index names share the
// encoding); false when it runs past the buffer.
bool readDefinitionName(const std::vector<uint8_t>& buf, size_t& pos, const DatabaseFile& file,
                        std::string& name);

}  // namespace jet
