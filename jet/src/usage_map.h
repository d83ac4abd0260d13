// A usage map: the set of pages a table (or index, or long-value column) owns,
// stored as a row that is an inline bitmap (type 0) or a list of bitmap pages
// (type 1).
#pragma once

#include <cstdint>
#include <vector>

#include "database_file.h"

namespace jet {

// The pages of the map at row pointer `mapPointer`, ascending, limited to
// pages inside the file. Corrupt when the map row cannot be read.
Result<std::vector<uint32_t>> readUsageMap(const DatabaseFile& file, uint32_t mapPointer);

// Reads the row at `pointer` into `row` (whole page is loaded into `page`).
Status readPointedRow(const DatabaseFile& file, uint32_t pointer, std::vector<uint8_t>& page,
                      uint32_t& start, uint32_t& end);

}  // namespace jet
