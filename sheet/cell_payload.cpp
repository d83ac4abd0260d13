#include "sheet/cell_payload.h"

#include <charconv>

namespace sheet {

std::string byteSizeText(uint64_t size) {
    if (size < 1024) {
        return std::to_string(size) + " B";
    }
    static const char* const kUnits[] = {"KB", "MB", "GB"};
    double scaled = double(size) / 1024.0;
    int unit = 0;
    // 1023.96 KB would read "1024.0 KB": such sizes move up a unit.
    while (unit < 2 && scaled >= 1023.95) {
        scaled /= 1024.0;
        ++unit;
    }
    // to_chars, not printf: the desktop's locale must not make it "12,3".
    char number[32];
    const auto written =
        std::to_chars(number, number + sizeof number, scaled, std::chars_format::fixed, 1);
    return std::string(number, written.ptr) + " " + kUnits[unit];
}

std::string binaryCellText(uint64_t size) {
    return "(binary, " + byteSizeText(size) + ")";
}

}  // namespace sheet
