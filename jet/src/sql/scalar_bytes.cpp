#include "sql/scalar_bytes.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "sql/access_collation.h"

namespace jet::sql {

namespace {

void put8(std::string& out, const void* eight) {
    out.append(static_cast<const char*>(eight), 8);
}

}  // namespace

void putGroupKey(std::string& out, const SqlScalar& s, bool accessText, std::string& scratch) {
    // Every real that equals an integer becomes that integer, so 3 and 3.0
    // (and 0 and -0.0) share a key as SQLite holds them equal.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    double whole = 0;
    if (s.kind == SQLITE_FLOAT && std::modf(s.d, &whole) == 0.0 && whole >= -kTwoTo63 &&
        whole < kTwoTo63) {
        const auto i = static_cast<int64_t>(whole);
        out += static_cast<char>(SQLITE_INTEGER);
        put8(out, &i);
    } else if (s.kind == SQLITE_TEXT && accessText) {
        scratch.clear();
        appendAccessSortKey(s.bytes, scratch);
        out += kSortKeyKind;
        putNumber(out, scratch.size());
        out += scratch;
    } else {
        putScalar(out, s);
    }
}

int compareGroupKeys(std::string_view a, std::string_view b, std::size_t width) {
    std::size_t x = 0, y = 0;
    for (std::size_t k = 0; k < width; ++k) {
        // Sort keys compare bytewise in the collation's order.
        const SqlScalar u = takeScalar(a, x), v = takeScalar(b, y);
        if (const int c = compareScalars(u, v, false); c != 0)
            return c;
    }
    return 0;
}

uint64_t orderPrefix(const SqlScalar& s, std::size_t skip) {
    // Two bits of rank (Null, number, text, blob), then a number's double in
    // bits that order as it does, or the first seven bytes.
    if (s.kind == SQLITE_NULL)
        return 0;
    if (s.kind == SQLITE_INTEGER || s.kind == SQLITE_FLOAT) {
        const double d = s.kind == SQLITE_INTEGER ? static_cast<double>(s.i) : s.d;
        auto bits = std::bit_cast<uint64_t>(d);
        bits = (bits >> 63) ? ~bits : bits | (uint64_t{1} << 63);
        return (uint64_t{1} << 62) | (bits >> 2);
    }
    uint64_t first = 0;
    for (std::size_t k = skip; k < skip + 7; ++k)
        first = (first << 8) | (k < s.bytes.size() ? static_cast<unsigned char>(s.bytes[k]) : 0);
    return (uint64_t{s.kind == SQLITE_TEXT ? 2u : 3u} << 62) | (first << 6);
}

}  // namespace jet::sql
