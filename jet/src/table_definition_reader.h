// Reads a table definition (TDEF) chain into a TableDef: row layout and
// columns in descriptor order, and the index definitions.
#pragma once

#include <cstdint>

#include "database_file.h"
#include "jet/table_def.h"

namespace jet {

// Fills the layout and columns of `table` from the definition at `tdefPage`.
// Corrupt, naming the table and page, when the definition contradicts itself.
Status readTableDefinition(const DatabaseFile& file, uint32_t tdefPage, TableDef& table);

}  // namespace jet
