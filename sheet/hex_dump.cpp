#include "sheet/hex_dump.h"

#include <algorithm>

namespace sheet {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::size_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out.push_back(kDigits[value >> shift & 0xF]);
    }
}

}  // namespace

// "00000010  48 65 6C 6C 6F 20 77 6F  72 6C 64 0A              |Hello world.|"
std::string HexDump::lines(std::string_view bytes, std::size_t limit) {
    const std::string_view shown = bytes.substr(0, std::min(limit, bytes.size()));
    std::string out;
    out.reserve((shown.size() / kBytesPerLine + 1) * 80);
    for (std::size_t start = 0; start < shown.size(); start += kBytesPerLine) {
        const std::string_view line = shown.substr(start, kBytesPerLine);
        appendHex(out, start, 8);
        out += "  ";
        for (std::size_t i = 0; i < kBytesPerLine; ++i) {
            if (i == kBytesPerLine / 2) {
                out.push_back(' ');
            }
            if (i < line.size()) {
                appendHex(out, static_cast<unsigned char>(line[i]), 2);
                out.push_back(' ');
            } else {
                out += "   ";
            }
        }
        out += " |";
        for (const char c : line) {
            out.push_back(c >= 0x20 && c < 0x7F ? c : '.');
        }
        out += "|\n";
    }
    return out;
}

}  // namespace sheet
