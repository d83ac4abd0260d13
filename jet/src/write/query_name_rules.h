// The rules a new query's name must pass before anything is written: not
// blank, at most 64 characters, no leading space, none of . ! ` [ ] or control
// characters, not starting with "~" or "MSys", and only characters the
// system index can sort (letters, digits, space, simple punctuation; in
// Access 97 files also ' and -).
#pragma once

#include <string>

#include "jet/status.h"

namespace jet::write {

// Invalid with a message naming the broken rule.
Status checkQueryName(const std::string& name, bool jet3);

// Whether two object names are the same for the catalog: case-insensitive,
// trailing spaces ignored.
bool sameObjectName(const std::string& a, const std::string& b);

}  // namespace jet::write
