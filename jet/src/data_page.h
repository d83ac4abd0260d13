// The row slots of a data page (table rows, long values, usage maps): slot
// count, each slot's byte range and its deleted / overflow flags.
#pragma once

#include <cstdint>

namespace jet {

struct DataPage {
    static constexpr uint8_t kType = 0x01;
    static constexpr uint16_t kDeleted = 0x8000;   // deleted, or target of an overflow pointer
    static constexpr uint16_t kOverflow = 0x4000;  // the slot holds a row pointer
    static constexpr uint16_t kOffsetMask = 0x1FFF;

    const uint8_t* bytes;
    uint32_t pageSize;
    bool jet3;

    uint32_t owner() const;
    // Number of slots; 0 when the count cannot fit on the page.
    uint32_t slotCount() const;
    uint16_t slotEntry(uint32_t slot) const;
    // The bytes [start, end) of `slot`. False when the slot is empty or its
    // offsets contradict the page (start past end, past the page).
    bool slotRange(uint32_t slot, uint32_t& start, uint32_t& end) const;
};

// A row pointer: page << 8 | row.
inline uint32_t pointerPage(uint32_t pointer) {
    return pointer >> 8;
}
inline uint32_t pointerRow(uint32_t pointer) {
    return pointer & 0xFF;
}

}  // namespace jet
