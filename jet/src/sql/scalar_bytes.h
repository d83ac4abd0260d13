// Values as compact bytes for scans that hold rows in memory, and group keys:
// bytes equal exactly when SQLite's GROUP BY puts two values in one group.
// No encoding of a value (or of a run of `width` values) is the start of
// another, so a match of the first bytes is a match of the values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "sql/sql_scalar.h"

namespace jet::sql {

// The kind byte of an ACCESS sort key in a group key: read back as text, but
// never that of a value, so a group key holding a sort key is never taken
// for a value's own bytes.
inline constexpr char kSortKeyKind = 0x13;

// Called for every row a scan keeps, so defined here to be inlined.
inline void putNumber(std::string& out, uint64_t n) {
    while (n >= 0x80) {
        out += static_cast<char>(n | 0x80);
        n >>= 7;
    }
    out += static_cast<char>(n);
}

// Reads a number put by putNumber at `at`, moving `at` past it.
inline uint64_t takeNumber(std::string_view in, std::size_t& at) {
    uint64_t n = 0;
    for (int shift = 0; at < in.size() && shift < 64; shift += 7) {
        const auto byte = static_cast<unsigned char>(in[at++]);
        n |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80)
            break;
    }
    return n;
}

// A value as its kind, then eight bytes for a number or the length and bytes.
inline void putScalar(std::string& out, const SqlScalar& s) {
    out += static_cast<char>(s.kind);
    if (s.kind == SQLITE_INTEGER) {
        out.append(reinterpret_cast<const char*>(&s.i), 8);
    } else if (s.kind == SQLITE_FLOAT) {
        out.append(reinterpret_cast<const char*>(&s.d), 8);
    } else if (s.kind == SQLITE_TEXT || s.kind == SQLITE_BLOB) {
        putNumber(out, s.bytes.size());
        out += s.bytes;
    }
}

// Reads a value put by putScalar or putGroupKey; text and blobs point into `in`.
inline SqlScalar takeScalar(std::string_view in, std::size_t& at) {
    SqlScalar s;
    s.kind = in[at] == kSortKeyKind ? SQLITE_TEXT : static_cast<unsigned char>(in[at]);
    ++at;
    if (s.kind == SQLITE_INTEGER) {
        std::memcpy(&s.i, in.data() + at, 8);
        s.d = static_cast<double>(s.i);
        at += 8;
    } else if (s.kind == SQLITE_FLOAT) {
        std::memcpy(&s.d, in.data() + at, 8);
        at += 8;
    } else if (s.kind == SQLITE_TEXT || s.kind == SQLITE_BLOB) {
        const auto size = static_cast<std::size_t>(takeNumber(in, at));
        s.bytes = in.substr(at, size);
        at += size;
    }
    return s;
}

inline void skipScalar(std::string_view in, std::size_t& at) {
    const int kind = in[at] == kSortKeyKind ? SQLITE_TEXT : static_cast<unsigned char>(in[at]);
    ++at;
    if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT)
        at += 8;
    else if (kind == SQLITE_TEXT || kind == SQLITE_BLOB)
        at += static_cast<std::size_t>(takeNumber(in, at));
}

// Whether the group key of `s` may differ from putScalar's bytes for it.
inline bool foldsForGrouping(const SqlScalar& s, bool accessText) {
    return s.kind == SQLITE_FLOAT || (s.kind == SQLITE_TEXT && accessText);
}
// The group key of `s`: text (with `accessText`) as its ACCESS sort key
// (bytes no value is written as), a real of whole value as that integer,
// anything else as putScalar puts it. `scratch` is working space.
void putGroupKey(std::string& out, const SqlScalar& s, bool accessText, std::string& scratch);
// SQLite's order of the groups of two runs of `width` group keys.
int compareGroupKeys(std::string_view a, std::string_view b, std::size_t width);
// Sixty-two bits in the order of group key `s` (equal bits leave the order
// to compareGroupKeys). Text and blobs are read from byte `skip` on: the
// bytes before it must be the same in every key ordered by these bits.
uint64_t orderPrefix(const SqlScalar& s, std::size_t skip);

}  // namespace jet::sql
