// CellProps: the formatting of one cell, kept only for cells where something
// was set. Colours are 24-bit values (red + 256*green + 65536*blue).
#pragma once

#include <cstdint>

namespace sheet {

struct CellProps {
    static constexpr uint32_t kNoColor = 0xFFFFFFFFu;
    static constexpr uint8_t kNoAlignment = 0xFF;
    static constexpr uint8_t kBold = 1, kItalic = 2, kUnderline = 4;
    static constexpr uint8_t kDefaultPictureAlignment = 1;  // left, centred vertically

    double barPercent = 0;
    uint32_t foreColor = kNoColor;
    uint32_t backColor = kNoColor;
    uint32_t barColor = kNoColor;
    uint16_t picture = 0;  // index into the grid's picture table; 0 = none
    uint8_t pictureAlignment = kDefaultPictureAlignment;
    uint8_t alignment = kNoAlignment;  // the column's alignment applies
    uint8_t checked = 0;               // 0 none, 1 ticked, 2 unticked
    uint8_t style = 0;                 // kBold | kItalic | kUnderline

    bool isDefault() const { return *this == CellProps(); }
    bool operator==(const CellProps&) const = default;
};

}  // namespace sheet
