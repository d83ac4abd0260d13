// The commands of tablescope-cli over an open database. Each writes its
// result to `out`, a one-line message to `err` on failure, and returns the
// exit code.
#pragma once

#include <cstdio>

#include "cli_options.h"

namespace cli {

int runCommand(const Options& options, std::FILE* out, std::FILE* err);

}  // namespace cli
