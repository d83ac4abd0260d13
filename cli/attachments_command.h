// tablescope-cli attachments FILE TABLE [--out DIR] [--force]: lists the
// attachments of a table's attachment columns (row key, column, name, type,
// size), or writes each file into DIR byte for byte.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

// Runs the command when args[0] is "attachments"; false otherwise.
bool tryRunAttachmentsCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                              int& exitCode);

}  // namespace cli
