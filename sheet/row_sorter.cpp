#include "sheet/row_sorter.h"

#include "sheet/number_text.h"

#include <QChar>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <system_error>
#include <thread>
#include <tuple>

namespace sheet {

namespace {

// From this many rows on, a sort uses a second thread.
constexpr std::size_t kSortInHalvesFrom = 50'000;

// Invalid UTF-8 bytes become code points past Unicode so they still order.
constexpr char32_t kBadByteBase = 0x110000;

// Decodes one code point at text[i] and returns it case-folded.
char32_t nextFolded(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        ++i;
        return (lead >= 'A' && lead <= 'Z') ? lead + 32 : lead;
    }
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead >= 0xF8 || i + extra >= text.size()) {
        ++i;
        return kBadByteBase + lead;
    }
    char32_t cp = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if ((byte & 0xC0) != 0x80) {
            ++i;
            return kBadByteBase + lead;
        }
        cp = cp << 6 | (byte & 0x3F);
    }
    i += extra + 1;
    return QChar::toCaseFolded(cp);
}

// Maps a double to an unsigned key with the same order.
uint64_t orderedBits(double value) {
    if (value == 0) {
        value = 0;  // -0 and +0 are equal
    }
    const auto bits = std::bit_cast<uint64_t>(value);
    return (bits & (uint64_t{1} << 63)) ? ~bits : bits | (uint64_t{1} << 63);
}

// Writes a code point (up to 0x1FFFFF, so the bad-byte points fit) in
// UTF-8's form; returns the byte count.
std::size_t encodeOrdered(char32_t cp, unsigned char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<unsigned char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | cp >> 6);
        out[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | cp >> 12);
        out[1] = static_cast<unsigned char>(0x80 | (cp >> 6 & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | cp >> 18);
    out[1] = static_cast<unsigned char>(0x80 | (cp >> 12 & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (cp >> 6 & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 4;
}

uint64_t bigEndian(const unsigned char* bytes) {
    uint64_t value = 0;
    for (int k = 0; k < 8; ++k) {
        value = value << 8 | bytes[k];
    }
    return value;
}

std::tuple<uint8_t, uint64_t, uint64_t> keyOf(const auto& e) {
    return {e.kind, e.key0, e.key1};
}

}  // namespace

RowSorter::RowSorter(const TextColumn& texts, std::span<const double> values, Compare compare)
    : texts_(texts), values_(values), compare_(compare) {}

int RowSorter::compareText(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = nextFolded(a, i);
        const char32_t y = nextFolded(b, j);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

bool RowSorter::startsWithText(std::string_view text, std::string_view prefix) {
    std::size_t i = 0, j = 0;
    while (i < text.size() && j < prefix.size()) {
        if (nextFolded(text, i) != nextFolded(prefix, j)) {
            return false;
        }
    }
    return j == prefix.size();
}

RowSorter::Entry RowSorter::makeEntry(uint32_t row, uint32_t pos) const {
    Entry e{0, 0, pos, row, 0, false};
    const bool generic = compare_ == Compare::Generic;
    if (generic && row < values_.size() && !std::isnan(values_[row])) {
        e.kind = 1;
        e.key0 = orderedBits(values_[row]);
        return e;
    }
    const std::string_view text = texts_.get(row);
    if (text.empty()) {
        return e;
    }
    if (const auto number = generic ? readNumber(text) : std::nullopt) {
        e.kind = 1;
        e.key0 = orderedBits(*number);
        return e;
    }
    // The folded text's first 16 bytes in UTF-8 form decide most comparisons:
    // UTF-8 keeps code point order byte by byte. A text that fits whole
    // needs no further comparison on a tie.
    e.kind = 2;
    unsigned char key[16] = {};
    std::size_t used = 0;
    std::size_t i = 0;
    bool complete = true;
    while (i < text.size()) {
        unsigned char bytes[4];
        const std::size_t size = encodeOrdered(nextFolded(text, i), bytes);
        if (bytes[0] == 0 || used + size > sizeof key) {
            complete = false;  // a NUL would tie with the padding
            std::memcpy(key + used, bytes, std::min(size, sizeof key - used));
            break;
        }
        std::memcpy(key + used, bytes, size);
        used += size;
    }
    e.key0 = bigEndian(key);
    e.key1 = bigEndian(key + 8);
    e.complete = complete;
    return e;
}

bool RowSorter::sameCell(const Entry& a, const Entry& b) const {
    if (keyOf(a) != keyOf(b)) {
        return false;
    }
    return a.kind != 2 || (a.complete && b.complete) ||
           compareText(texts_.get(a.row), texts_.get(b.row)) == 0;
}

void RowSorter::sortTextRuns(std::vector<Entry>& entries) const {
    // Rows whose keys tie are ordered by their whole text; runs of identical
    // texts (the common case in repetitive columns) are already in place.
    std::size_t start = 0;
    while (start < entries.size()) {
        std::size_t end = start + 1;
        while (end < entries.size() && keyOf(entries[end]) == keyOf(entries[start])) {
            ++end;
        }
        // Complete keys that tie are equal texts but for case: already in order.
        const bool allComplete = std::all_of(entries.begin() + start, entries.begin() + end,
                                             [](const Entry& e) { return e.complete; });
        if (end - start > 1 && entries[start].kind == 2 && !allComplete) {
            const std::string_view first = texts_.get(entries[start].row);
            bool identical = true;
            for (std::size_t k = start + 1; k < end && identical; ++k) {
                identical = texts_.get(entries[k].row) == first;
            }
            if (!identical) {
                std::stable_sort(entries.begin() + start, entries.begin() + end,
                                 [this](const Entry& a, const Entry& b) {
                                     return compareText(texts_.get(a.row), texts_.get(b.row)) < 0;
                                 });
            }
        }
        start = end;
    }
}

void RowSorter::sort(std::span<uint32_t> rows, bool descending) const {
    std::vector<Entry> entries(rows.size());
    const auto before = [](const Entry& a, const Entry& b) {
        return std::tie(a.kind, a.key0, a.key1, a.pos) < std::tie(b.kind, b.key0, b.key1, b.pos);
    };
    const auto sortPart = [&](std::size_t first, std::size_t end) {
        for (std::size_t pos = first; pos < end; ++pos) {
            entries[pos] = makeEntry(rows[pos], uint32_t(pos));
        }
        std::sort(entries.begin() + std::ptrdiff_t(first), entries.begin() + std::ptrdiff_t(end),
                  before);
    };
    // A large sheet is keyed and sorted in two halves side by side, then
    // merged. Every key ends in the row's position, so no two are equal and
    // the order is the one a single sort gives.
    const std::size_t half = rows.size() / 2;
    bool halves = rows.size() >= kSortInHalvesFrom && std::thread::hardware_concurrency() >= 2;
    if (halves) {
        try {
            std::jthread second([&] { sortPart(half, rows.size()); });
            sortPart(0, half);
        } catch (const std::system_error&) {
            halves = false;  // no thread to spare
        }
    }
    if (halves) {
        std::inplace_merge(entries.begin(), entries.begin() + std::ptrdiff_t(half), entries.end(),
                           before);
    } else {
        sortPart(0, rows.size());
    }
    sortTextRuns(entries);
    if (descending) {
        // Reverse, then put each run of equal cells back in its earlier order.
        std::reverse(entries.begin(), entries.end());
        std::size_t start = 0;
        while (start < entries.size()) {
            std::size_t end = start + 1;
            while (end < entries.size() && sameCell(entries[end - 1], entries[end])) {
                ++end;
            }
            std::reverse(entries.begin() + start, entries.begin() + end);
            start = end;
        }
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        rows[k] = entries[k].row;
    }
}

}  // namespace sheet
