// The commands of tablescope-cli that change a database: `save-query FILE
// NAME "SQL"` stores a SELECT as a new saved query and `delete-query FILE
// NAME` removes one, both with --password PW for a protected file. They run
// the engine's safe write procedure and print its message on failure.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

// Handles `args` (without the program name) when they are one of these
// commands: sets `exitCode` and returns true. Returns false otherwise.
bool tryRunQueryWriteCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                             int& exitCode);

}  // namespace cli
