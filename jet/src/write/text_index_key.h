// Index key bytes of a text value in the two collations system-table names
// use: Jet 4 "General (legacy)" and Jet 3 "General 97". Only characters that
// encode to plain code bytes are supported (letters, digits, space and simple
// punctuation); the extra-code schemes for accents and for ' and - in Jet 4
// are not.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace jet::write {

// The key bytes of `text` (UTF-8) without the column's flag byte, or nothing
// when a character has no plain code in that collation.
std::optional<std::vector<uint8_t>> textIndexKey(std::string_view text, bool jet3);

// Whether `c` has a plain code in the collation (a name may hold it).
bool hasPlainIndexCode(char c, bool jet3);

}  // namespace jet::write
