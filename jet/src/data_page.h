// The row slots of a data page (table rows, long values, usage maps): slot
// count, each slot's byte range and its deleted / overflow flags.
#pragma once

#include <cstdint>

#include "byte_reader.h"

namespace jet {

struct DataPage {
    static constexpr uint8_t kType = 0x01;
    static constexpr uint16_t kDeleted = 0x8000;   // deleted, or target of an overflow pointer
    static constexpr uint16_t kOverflow = 0x4000;  // the slot holds a row pointer
    static constexpr uint16_t kOffsetMask = 0x1FFF;

    const uint8_t* bytes;
    uint32_t pageSize;
    bool jet3;

    // Defined here, not in a .cpp: a scan asks them for every row.
    uint32_t owner() const { return le32(bytes + 4); }
    // Number of slots; 0 when the count cannot fit on the page.
    uint32_t slotCount() const {
        const uint32_t at = countOffset();
        const uint32_t count = le16(bytes + at);
        return at + 2 + 2 * count > pageSize ? 0 : count;
    }
    uint16_t slotEntry(uint32_t slot) const { return le16(bytes + countOffset() + 2 + 2 * slot); }
    // The bytes [start, end) of `slot`. False when the slot is empty or its
    // offsets contradict the page (start past end, past the page).
    bool slotRange(uint32_t slot, uint32_t& start, uint32_t& end) const {
        start = slotEntry(slot) & kOffsetMask;
        end = slot == 0 ? pageSize : (slotEntry(slot - 1) & kOffsetMask);
        const uint32_t tableEnd = countOffset() + 2 + 2 * slotCount();
        return start < end && end <= pageSize && start >= tableEnd;
    }

  private:
    uint32_t countOffset() const { return jet3 ? 8 : 12; }
};

// A row pointer: page << 8 | row.
inline uint32_t pointerPage(uint32_t pointer) {
    return pointer >> 8;
}
inline uint32_t pointerRow(uint32_t pointer) {
    return pointer & 0xFF;
}

}  // namespace jet
