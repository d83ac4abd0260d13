// Index key bytes of a text value in the collations system-table names use:
// Jet 3 "General 97", Jet 4 and older ACE "General (legacy)", and the
// "General" order of Access 2010 and later (sort version 1). Only characters
// that encode to plain code bytes are supported (letters, digits, space and
// simple punctuation); the extra-code schemes for accents and for ' and - in
// Jet 4 and ACE are not.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace jet::write {

enum class NameCollation { General97, GeneralLegacy, General };

inline NameCollation legacyCollation(bool jet3) {
    return jet3 ? NameCollation::General97 : NameCollation::GeneralLegacy;
}

std::optional<std::vector<uint8_t>> textIndexKey(std::string_view text, NameCollation collation);

// The key bytes of `text` (UTF-8) without the column's flag byte, or nothing
// when a character has no plain code in that collation.
std::optional<std::vector<uint8_t>> textIndexKey(std::string_view text, bool jet3);

// Whether `c` has a plain code in the collation (a name may hold it).
bool hasPlainIndexCode(char c, bool jet3);

}  // namespace jet::write
