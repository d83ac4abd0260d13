// A usage map: the set of pages a table (or index, or long-value column) owns,
// stored as a row that is an inline bitmap (type 0) or a list of bitmap pages
// (type 1).
#pragma once

#include <cstdint>
#include <vector>

#include "database_file.h"

namespace jet {

// The pages a usage map lists, ascending: those inside the file, and those
// past its end (a truncated file), which are data lost and must be reported.
struct UsageMapPages {
    static constexpr size_t kMaxPastEnd = 1 << 16;  // kept for the message; all are counted
    std::vector<uint32_t> inFile;
    std::vector<uint32_t> pastEnd;
    uint64_t pastEndCount = 0;
};

// The pages of the map at row pointer `mapPointer`. Corrupt when the map row
// or one of its bitmap pages cannot be read.
Result<UsageMapPages> readUsageMap(const DatabaseFile& file, uint32_t mapPointer);

// Reads the row at `pointer` into `row` (whole page is loaded into `page`).
Status readPointedRow(const DatabaseFile& file, uint32_t pointer, std::vector<uint8_t>& page,
                      uint32_t& start, uint32_t& end);

}  // namespace jet
