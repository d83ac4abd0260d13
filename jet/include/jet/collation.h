// Jet's text order for object names: case-insensitive, accents only break
// ties, punctuation before digits before letters. Jet 3 ("General 97") and
// Jet 4 / ACE ("General legacy") weigh punctuation differently.
#pragma once

#include <string_view>

namespace jet {

enum class FileFormat;

// <0, 0, >0 as `a` sorts before, with, after `b` (both UTF-8).
int compareJetText(std::string_view a, std::string_view b, FileFormat format);
// Names as Jet matches them: equal ignoring case (ASCII and Latin-1 letters).
bool jetNamesEqual(std::string_view a, std::string_view b);

}  // namespace jet
