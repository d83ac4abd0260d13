// `tablescope-cli to-sqlite FILE OUT.sqlite [--force] [--password PW]`:
// copies the file into a new SQLite database and prints what was copied and
// what was left out. Shows progress when standard error is a terminal.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

// Handles `args` (without the program name) when they are a to-sqlite
// command: sets `exitCode` and returns true. False for any other command.
bool tryRunToSqliteCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                           int& exitCode);

}  // namespace cli
