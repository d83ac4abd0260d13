// The command line of tablescope-cli, parsed into a plain structure.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "row_writer.h"

namespace cli {

enum ExitCode { kOk = 0, kUsage = 1, kCannotOpen = 2, kReadError = 3, kStatementError = 4 };

struct Options {
    std::string command;                // tables, queries, sql, schema, export, check
    std::vector<std::string> operands;  // FILE and the command's arguments
    std::string password;
    bool systemTables = false;  // tables -S
    bool salvage = false;       // export --salvage: skip what cannot be read, report it
    ExportFormat format = ExportFormat::Csv;
    CsvOptions csv;
};

// Parses argv (without the program name). On failure returns nullopt and sets
// `error` to a one-line message.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);

// A --param value must be NAME=VALUE; otherwise `error` names the mistake.
bool checkParameterOption(const std::string& value, std::string& error);

// The usage text printed for --help and after a usage error.
const char* usageText();

}  // namespace cli
