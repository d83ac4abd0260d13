#include "sql/access_collation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

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

// The General sort order of Jet 4 and ACE (the index code tables): blank and
// the white-space controls, then punctuation in this order, with + < = >
// after the rest; digits and letters follow. Hyphen, apostrophe and the
// other control characters are left out of the first pass.
constexpr std::string_view kPunctuation = " \t\n\v\f\r!\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

bool ignoredFirst(char32_t c) {
    return c == '-' || c == '\'' || c == 0x7F || (c >= 0x01 && c <= 0x08) ||
           (c >= 0x0E && c <= 0x1F);
}

// Base letter of an accented letter (already case-folded): Latin-1, Greek
// with tonos, Cyrillic yo.
char32_t baseLetter(char32_t c) {
    static const char kBase[] = "aaaaaaaceeeeiiiidnooooo/ouuuuyts";  // U+00E0 .. U+00FF
    if (c >= 0xE0 && c <= 0xFF && c != 0xF7)
        return static_cast<unsigned char>(kBase[c - 0xE0]);
    switch (c) {
        case 0x3AC:
            return 0x3B1;
        case 0x3AD:
            return 0x3B5;
        case 0x3AE:
            return 0x3B7;
        case 0x3AF:
            return 0x3B9;
        case 0x3CC:
            return 0x3BF;
        case 0x3CD:
            return 0x3C5;
        case 0x3CE:
            return 0x3C9;
        case 0x3C2:
            return 0x3C3;  // final sigma
        case 0x451:
            return 0x435;  // yo sorts with ye
        default:
            return c;
    }
}

// Primary weight: punctuation, then digits, then letters; case and accents
// aside. 0 for characters the first pass ignores.
uint32_t primaryWeight(char32_t c) {
    if (ignoredFirst(c))
        return 0;
    c = baseLetter(foldCase(c));
    if (c >= '0' && c <= '9')
        return 0x1000 + c;
    if (c >= 'a' && c <= 'z')
        return 0x2000 + c;
    if (c < 0x80) {
        const std::size_t at = kPunctuation.find(static_cast<char>(c));
        return at == std::string_view::npos ? 1 : 2 + static_cast<uint32_t>(at);
    }
    return 0x3000 + c;
}

// Walks the characters of one class of a text: those the first pass weighs,
// or the ones it leaves out, with their positions. No allocation: the
// collation runs for every pair a sort compares.
class Walk {
  public:
    Walk(std::string_view text, bool kept) : text_(text), kept_(kept) {}
    bool next(char32_t& c, uint32_t& position) {
        while (i_ < text_.size()) {
            c = nextCodePoint(text_, i_);
            position = position_++;
            if (ignoredFirst(c) != kept_)
                return true;
        }
        return false;
    }

  private:
    std::string_view text_;
    bool kept_;
    std::size_t i_ = 0;
    uint32_t position_ = 0;
};

// Three passes: the primary weights (a shorter run first), the first
// case-folded character that differs (accents), then hyphens, apostrophes
// and controls by position and character, a text without them first.
int fullCompare(std::string_view a, std::string_view b) {
    for (int pass = 0; pass < 3; ++pass) {
        Walk x(a, pass < 2), y(b, pass < 2);
        char32_t cx = 0, cy = 0;
        uint32_t px = 0, py = 0;
        while (true) {
            const bool hx = x.next(cx, px), hy = y.next(cy, py);
            if (!hx || !hy) {
                if (hx != hy)
                    return hx ? 1 : -1;
                break;
            }
            uint64_t wx = 0, wy = 0;
            if (pass == 0) {
                wx = primaryWeight(cx), wy = primaryWeight(cy);
            } else if (pass == 1) {
                wx = foldCase(cx), wy = foldCase(cy);
            } else {
                wx = uint64_t{px} << 32 | cx, wy = uint64_t{py} << 32 | cy;
            }
            if (wx != wy)
                return wx < wy ? -1 : 1;
        }
    }
    return 0;
}

// Primary weights as prefix-free bytes in their order: ASCII punctuation and
// control characters, digits, letters, then everything else (four bytes).
void appendPrimary(uint32_t weight, std::string& out) {
    if (weight < 0x80) {
        out.push_back(static_cast<char>(weight + 1));  // 0 is the end mark
    } else if (weight < 0x2000) {
        out.push_back(static_cast<char>(0x81 + (weight - 0x1000 - '0')));
    } else if (weight < 0x3000) {
        out.push_back(static_cast<char>(0x8B + (weight - 0x2000 - 'a')));
    } else {
        const uint32_t rest = weight - 0x3000;
        out.push_back(static_cast<char>(0xA5));
        out.push_back(static_cast<char>(rest >> 16));
        out.push_back(static_cast<char>(rest >> 8));
        out.push_back(static_cast<char>(rest));
    }
}

// Case-folded code points as prefix-free bytes in their order.
void appendSecondary(char32_t folded, std::string& out) {
    if (folded < 0xF0) {
        out.push_back(static_cast<char>(folded));
        return;
    }
    out.push_back(static_cast<char>(0xF0));
    out.push_back(static_cast<char>(folded >> 16));
    out.push_back(static_cast<char>(folded >> 8));
    out.push_back(static_cast<char>(folded));
}

void sortKey(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    const auto* text = static_cast<const char*>(sqlite3_value_blob(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    thread_local std::string key;
    key.clear();
    appendAccessSortKey(std::string_view(text ? text : "", static_cast<std::size_t>(size)), key);
    sqlite3_result_text(ctx, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
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

void appendAccessSortKey(std::string_view text, std::string& out) {
    // fullCompare orders by the primary weights (a shorter run first), then
    // by the first case-folded code point that differs: the key is the
    // weights, an end mark, then the folded code points.
    text = rtrim(text);
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        // ASCII, the common case: one byte per character in either half,
        // five per left-out character after them. Table 0 holds 0 for those.
        static const auto kTables = [] {
            std::array<std::array<char, 128>, 2> t{};
            for (char32_t c = 0; c < 128; ++c) {
                std::string primary;
                appendPrimary(primaryWeight(c), primary);
                t[0][c] = ignoredFirst(c) ? '\0' : primary[0];
                t[1][c] = static_cast<char>(foldCase(c));
            }
            return t;
        }();
        const std::size_t at = out.size(), n = text.size();
        std::size_t kept = 0;
        for (char c : text)
            kept += kTables[0][static_cast<unsigned char>(c)] != '\0';
        out.resize(at + 2 * kept + 1 + 5 * (n - kept));
        char* primary = out.data() + at;
        char* secondary = primary + kept + 1;
        char* left = secondary + kept;
        primary[kept] = '\0';
        for (std::size_t k = 0; k < n; ++k) {
            const auto c = static_cast<unsigned char>(text[k]);
            if (const char weight = kTables[0][c]; weight != '\0') {
                *primary++ = weight;
                *secondary++ = kTables[1][c];
            } else {
                for (int shift = 24; shift >= 0; shift -= 8)
                    *left++ = static_cast<char>(k >> shift);
                *left++ = static_cast<char>(c);
            }
        }
        return;
    }
    char32_t c = 0;
    uint32_t position = 0;
    for (Walk kept(text, true); kept.next(c, position);)
        appendPrimary(primaryWeight(c), out);
    out.push_back('\0');
    for (Walk kept(text, true); kept.next(c, position);)
        appendSecondary(foldCase(c), out);
    // Equal first two passes mean equal bytes so far: the third pass follows.
    for (Walk left(text, false); left.next(c, position);) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<char>(position >> shift));
        out.push_back(static_cast<char>(c));
    }
}

int registerAccessCollation(sqlite3* db) {
    const int rc =
        sqlite3_create_collation_v2(db, "ACCESS", SQLITE_UTF8, nullptr, collate, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    return sqlite3_create_function(db, "acc_key", 1,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                   sortKey, nullptr, nullptr);
}

}  // namespace jet::sql
