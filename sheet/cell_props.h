// CellProps: the formatting of one cell, kept only for cells where something
// was set. Colours are 24-bit values (red + 256*green + 65536*blue).
#pragma once

#include <bit>
#include <cstddef>
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

struct CellPropsHash {
    std::size_t operator()(const CellProps& p) const {
        // +0 and -0 are equal properties, so they must hash alike.
        uint64_t h = std::bit_cast<uint64_t>(p.barPercent == 0 ? 0.0 : p.barPercent);
        const auto mix = [&h](uint64_t v) { h = (h ^ v) * 0x9E3779B97F4A7C15ULL; };
        mix(p.foreColor);
        mix(p.backColor);
        mix(p.barColor);
        mix(uint64_t(p.picture) << 32 | uint64_t(p.pictureAlignment) << 24 |
            uint64_t(p.alignment) << 16 | uint64_t(p.checked) << 8 | p.style);
        return std::size_t(h ^ (h >> 29));
    }
};

}  // namespace sheet
