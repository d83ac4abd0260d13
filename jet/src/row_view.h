// The frame of one stored row: column count, null mask and the offsets of its
// variable-length values (Jet 4 two-byte offsets, Jet 3 one-byte offsets with
// the jump table). Values themselves are decoded elsewhere.
#pragma once

#include <cstdint>
#include <vector>

namespace jet {

class RowView {
  public:
    // Parses the row bytes [row, row + length). False when the row's frame
    // contradicts its length; `hasVariable` says whether the table has
    // variable-length column slots.
    bool parse(const uint8_t* row, uint32_t length, bool jet3, bool hasVariable);

    const uint8_t* bytes() const { return row_; }
    uint32_t length() const { return length_; }
    uint32_t fixedStart() const { return jet3_ ? 1 : 2; }
    // End of the area values may occupy (the trailing tables start there).
    uint32_t dataEnd() const { return dataEnd_; }
    uint32_t columnCount() const { return columns_; }
    // Null-mask bit of row column `number`; false for columns the row lacks.
    bool present(uint32_t number) const {
        return number < columns_ && (mask_[number >> 3] >> (number & 7) & 1);
    }
    uint32_t variableCount() const { return varCount_; }
    // Byte range of variable value `index` (< variableCount()). False when the
    // offsets are out of order or outside the row.
    bool variableRange(uint32_t index, uint32_t& start, uint32_t& end) const {
        if (jet3_) {
            start = offsets_[index];
            end = offsets_[index + 1];
        } else {
            // Jet 4 keeps two-byte offsets below the count, read in place.
            start = jet4Offset(index);
            end = jet4Offset(index + 1);
        }
        return start <= end && end <= dataEnd_ && start >= fixedStart();
    }

  private:
    uint32_t jet4Offset(uint32_t k) const {
        const uint8_t* at = jet4Offsets_ - 2 * k;
        return static_cast<uint32_t>(at[0] | (at[1] << 8));
    }
    bool parseJet4Offsets(bool hasVariable);
    bool parseJet3Offsets(bool hasVariable);

    const uint8_t* row_ = nullptr;
    const uint8_t* mask_ = nullptr;
    uint32_t length_ = 0;
    uint32_t columns_ = 0;
    uint32_t varCount_ = 0;
    uint32_t dataEnd_ = 0;
    bool jet3_ = false;
    std::vector<uint32_t> offsets_;         // Jet 3
    const uint8_t* jet4Offsets_ = nullptr;  // Jet 4: offset 0; offset k lies 2k bytes below
};

}  // namespace jet
