// tablescope-cli check FILE: reads every row and long value of every local
// table, every index definition and every saved query, and reports what is
// damaged, so a user can tell a sound file from a damaged one before
// trusting an export.
#pragma once

#include <cstdio>

#include "jet/database.h"

namespace cli {

// Writes the report to `out`; returns 0 when the file is sound, 3 when not.
int checkDatabase(const jet::Database& db, std::FILE* out);

}  // namespace cli
