#include "query_write_commands.h"

#include <algorithm>
#include <filesystem>

#include "cli_options.h"
#include "jet/database.h"
#include "jet/query_writer.h"

namespace cli {
namespace {

// Splits off "--password PW"; false when it lacks its value.
bool takePassword(std::vector<std::string>& args, std::string& password) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password") {
            if (i + 1 >= args.size()) {
                return false;
            }
            password = args[i + 1];
            args.erase(args.begin() + i, args.begin() + i + 2);
            return true;
        }
    }
    return true;
}

// Splits off "--no-backup".
bool takeNoBackup(std::vector<std::string>& args) {
    auto it = std::find(args.begin(), args.end(), "--no-backup");
    if (it == args.end()) {
        return false;
    }
    args.erase(it);
    return true;
}

// The database opened (exit 2 otherwise): a refused or failed write is an
// output error, a missing query too; the rest is the statement's fault.
int exitCodeFor(const jet::Status& status) {
    switch (status.code()) {
        case jet::ErrorCode::Ok:
            return kOk;
        case jet::ErrorCode::Io:
        case jet::ErrorCode::NotFound:
            return kReadError;
        case jet::ErrorCode::Unrecognized:
        case jet::ErrorCode::BadPassword:
            return kCannotOpen;
        default:
            return kStatementError;
    }
}

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

bool tryRunQueryWriteCommand(const std::vector<std::string>& given, std::FILE* out, std::FILE* err,
                             int& exitCode) {
    if (given.empty() || (given[0] != "save-query" && given[0] != "delete-query")) {
        return false;
    }
    std::vector<std::string> args = given;
    jet::QueryWriteOptions options;
    const bool save = args[0] == "save-query";
    options.keepBackup = !takeNoBackup(args);
    if (!takePassword(args, options.password) || args.size() != (save ? 4u : 3u)) {
        std::fprintf(err, "tablescope-cli: usage: %s\n",
                     save ? "save-query FILE NAME \"SQL\" [--password PW] [--no-backup]"
                          : "delete-query FILE NAME [--password PW] [--no-backup]");
        exitCode = kUsage;
        return true;
    }
    std::error_code error;
    if (exists(args[1]) && !std::filesystem::is_regular_file(args[1], error)) {
        // Never opened: a FIFO would block the open.
        std::fprintf(err, "tablescope-cli: '%s' is not a regular file\n", args[1].c_str());
        exitCode = kCannotOpen;
        return true;
    }
    if (auto db = jet::Database::open(args[1], options.password); !db) {
        std::fprintf(err, "tablescope-cli: %s\n", db.status().message().c_str());
        exitCode = kCannotOpen;
        return true;
    }
    const std::string backup = jet::queryBackupPath(args[1]);
    const bool hadBackup = exists(backup);
    const jet::Status status = save ? jet::createQueryDef(args[1], args[2], args[3], options)
                                    : jet::deleteQueryDef(args[1], args[2], options);
    if (!status) {
        std::fprintf(err, "tablescope-cli: %s\n", status.message().c_str());
    } else {
        std::fprintf(out, "%s query '%s'\n", save ? "Saved" : "Deleted", args[2].c_str());
        if (options.keepBackup && !hadBackup && exists(backup)) {
            std::fprintf(err, "tablescope-cli: the database as it was is kept in '%s'\n",
                         backup.c_str());
        }
    }
    exitCode = exitCodeFor(status);
    return true;
}

}  // namespace cli
