// tablescope-cli: command-line access to the engine (see usageText()).
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "attachments_command.h"
#include "cli_commands.h"
#include "cli_options.h"
#include "csv_options.h"
#include "link_folders.h"
#include "output_failure.h"
#include "query_write_commands.h"
#include "run_command.h"
#include "to_sqlite_command.h"

namespace {

int runCommandLine(std::vector<std::string> args) {
    if (std::string error; !cli::takeLinkFolders(args, error)) {
        std::fprintf(stderr, "tablescope-cli: %s (see --help)\n", error.c_str());
        return cli::kUsage;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(cli::usageText(), stdout);
        std::fputs(cli::csvOptionsHelp(), stdout);
        return cli::kOk;
    }
    if (int code = 0; cli::tryRunStatementCommand(args, stdout, stderr, code))
        return code;
    if (int code = 0; cli::tryRunAttachmentsCommand(args, stdout, stderr, code))
        return code;
    if (int code = 0; cli::tryRunToSqliteCommand(args, stdout, stderr, code))
        return code;
    if (int code = 0; cli::tryRunQueryWriteCommand(args, stdout, stderr, code))
        return code;
    std::string error;
    const auto options = cli::parseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "tablescope-cli: %s (see --help)\n", error.c_str());
        return cli::kUsage;
    }
    return cli::runCommand(*options, stdout, stderr);
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing here reads SQLite's memory statistics, and keeping them takes
    // a global lock on every allocation SQLite makes (a copy into SQLite
    // makes millions).
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    const int exitCode = runCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    return cli::finishOutput(stdout, stderr, exitCode);
}
