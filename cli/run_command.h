// The commands of tablescope-cli that run Access SQL: `run FILE "SQL"` and
// `export FILE QUERY` for a saved query, with --param NAME=VALUE for its
// parameters (nothing is asked interactively).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

// Handles `args` (without the program name) when they are a `run` command or
// an `export` of a saved query: sets `exitCode` and returns true. Returns
// false for everything else, which the other commands handle.
bool tryRunStatementCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                            int& exitCode);

}  // namespace cli
