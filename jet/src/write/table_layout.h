// The parts of a table definition (TDEF) the writer changes or needs beyond
// what the reader keeps: row count, usage-map pointers, the real indexes with
// their key columns and root pages, the long-value column maps, and the sort
// order of each text column.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "jet/status.h"
#include "write/page_image.h"

namespace jet::write {

struct IndexColumn {
    uint16_t number = 0;  // row column number
    bool ascending = true;
};

struct RealIndex {
    std::vector<IndexColumn> columns;
    uint32_t mapPointer = 0;  // row pointer to the index's owned-pages map
    uint32_t rootPage = 0;
    uint8_t flags = 0;
    uint32_t uniqueCountOffset = 0;  // offset of its unique-entry count on the TDEF page
    bool unique() const { return (flags & 0x01) != 0; }
};

struct LongValueMaps {
    uint16_t column = 0;
    uint32_t ownedMap = 0;
    uint32_t freeMap = 0;
};

struct TableLayout {
    uint32_t tdefPage = 0;
    std::vector<uint32_t> definitionPages;  // the definition's page chain
    uint32_t rowCount = 0;
    uint16_t maxColumns = 0;  // as stored
    uint32_t ownedMap = 0;
    uint32_t freeMap = 0;
    std::vector<RealIndex> indexes;
    std::vector<LongValueMaps> longValueMaps;
    std::map<uint16_t, uint16_t> sortOrders;   // text column number -> collation LCID
    std::map<uint16_t, uint8_t> sortVersions;  // Jet 4 only

    const LongValueMaps* mapsOf(uint16_t column) const;
};

// Reads the definition chain starting at `tdefPage`. Corrupt, naming the
// page, when a count or offset runs past the definition.
Result<TableLayout> readTableLayout(const PageImage& image, uint32_t tdefPage);

// Adds `delta` to the stored row count on the first TDEF page.
void addToRowCount(PageImage& image, const TableLayout& layout, int delta);
// Adds one to index `index`'s unique-entry count, as Access does on an insert.
void bumpUniqueCount(PageImage& image, const TableLayout& layout, size_t index);

}  // namespace jet::write
