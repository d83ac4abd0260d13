// The grid's numeric codes for colours and alignments, turned into Qt values.
// Colours are 24-bit red + 256*green + 65536*blue. Alignment codes: 0-2 left
// (top, centre, bottom), 3-5 centre, 6-8 right, 9 general (numbers right,
// other text left).
#pragma once

#include <QColor>

#include <cstdint>

namespace sheet {

inline QColor toQColor(uint32_t color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

inline uint32_t fromQColor(const QColor& color) {
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}

inline Qt::Alignment alignmentFlags(int code, bool numeric) {
    if (code < 0 || code > 8) {
        return (numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    static constexpr Qt::AlignmentFlag kHorizontal[] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                        Qt::AlignRight};
    static constexpr Qt::AlignmentFlag kVertical[] = {Qt::AlignTop, Qt::AlignVCenter,
                                                      Qt::AlignBottom};
    return kHorizontal[code / 3] | kVertical[code % 3];
}

}  // namespace sheet
