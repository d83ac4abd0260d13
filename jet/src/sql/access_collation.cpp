#include "sql/access_collation.h"

#include <cstdint>

#include "sql/like_pattern.h"

namespace jet::sql {

namespace {

std::string_view rtrim(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// Letters, digits and blanks of ASCII sort the same in Jet's order and in
// case-folded byte order; anything else goes to the full comparison.
bool plainAscii(std::string_view s) {
    for (unsigned char c : s) {
        const bool ok =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ';
        if (!ok)
            return false;
    }
    return true;
}

// Base letter of a Latin-1 accented letter (already case-folded).
char32_t baseLetter(char32_t c) {
    static const char kBase[] = "aaaaaaaceeeeiiiidnooooo/ouuuuyts";  // U+00E0 .. U+00FF
    if (c >= 0xE0 && c <= 0xFF && c != 0xF7)
        return static_cast<unsigned char>(kBase[c - 0xE0]);
    return c;
}

// Primary weight: punctuation, then digits, then letters; case and accents aside.
uint32_t primaryWeight(char32_t c) {
    c = baseLetter(foldCase(c));
    if (c >= '0' && c <= '9')
        return 0x1000 + c;
    if (c >= 'a' && c <= 'z')
        return 0x2000 + c;
    if (c < 0x80)
        return c;
    return 0x3000 + c;
}

int fullCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    int secondary = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = nextCodePoint(a, i), y = nextCodePoint(b, j);
        const uint32_t wx = primaryWeight(x), wy = primaryWeight(y);
        if (wx != wy)
            return wx < wy ? -1 : 1;
        if (!secondary && foldCase(x) != foldCase(y))
            secondary = foldCase(x) < foldCase(y) ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return secondary;
}

int collate(void*, int na, const void* pa, int nb, const void* pb) {
    return compareAccessText(std::string_view(static_cast<const char*>(pa), na),
                             std::string_view(static_cast<const char*>(pb), nb));
}

}  // namespace

int compareAccessText(std::string_view a, std::string_view b) {
    a = rtrim(a);
    b = rtrim(b);
    // Equal bytes weigh the same; letters, digits and blanks of ASCII sort in
    // case-folded byte order. Anything else takes the full comparison.
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x == y)
            continue;
        if (!plainAscii(std::string_view(a.data() + i, 1)) ||
            !plainAscii(std::string_view(b.data() + i, 1))) {
            return fullCompare(a, b);
        }
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int registerAccessCollation(sqlite3* db) {
    return sqlite3_create_collation_v2(db, "ACCESS", SQLITE_UTF8, nullptr, collate, nullptr);
}

}  // namespace jet::sql
