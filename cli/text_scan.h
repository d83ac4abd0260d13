// Finds the bytes an export must treat specially (CSV quoting, JSON
// escapes) eight bytes at a time: nearly every field holds none, so the
// search is the hot part of writing text.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace cli {

namespace scan_detail {

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

// Some byte of `word` equals `byte`.
inline bool holdsByte(uint64_t word, unsigned char byte) {
    const uint64_t x = word ^ (kOnes * byte);  // zero bytes where they match
    return ((x - kOnes) & ~x & kHighs) != 0;
}

// Some byte of `word` is below `limit` (at most 0x80).
inline bool holdsBelow(uint64_t word, unsigned char limit) {
    return ((word - kOnes * limit) & ~word & kHighs) != 0;
}

inline uint64_t wordAt(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

}  // namespace scan_detail

// True when `text` holds `delimiter`, a double quote, CR or LF.
inline bool holdsCsvSpecial(std::string_view text, char delimiter) {
    using namespace scan_detail;
    const auto d = static_cast<unsigned char>(delimiter);
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        const uint64_t word = wordAt(text.data() + i);
        if (holdsByte(word, d) || holdsByte(word, '"') || holdsByte(word, '\r') ||
            holdsByte(word, '\n'))
            return true;
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == delimiter || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    return false;
}

// Index of the first byte from `from` on that a JSON string must escape (a
// quote, a backslash or a control character); text.size() when none.
inline size_t findJsonEscape(std::string_view text, size_t from) {
    using namespace scan_detail;
    size_t i = from;
    for (; i + 8 <= text.size(); i += 8) {
        const uint64_t word = wordAt(text.data() + i);
        if (holdsBelow(word, 0x20) || holdsByte(word, '"') || holdsByte(word, '\\'))
            break;
    }
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == '"' || c == '\\')
            return i;
    }
    return text.size();
}

}  // namespace cli
