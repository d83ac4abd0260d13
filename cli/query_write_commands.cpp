#include "query_write_commands.h"

#include "cli_options.h"
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

int exitCodeFor(const jet::Status& status) {
    switch (status.code()) {
        case jet::ErrorCode::Ok:
            return kOk;
        case jet::ErrorCode::Io:
        case jet::ErrorCode::NotFound:
        case jet::ErrorCode::Unrecognized:
        case jet::ErrorCode::BadPassword:
            return kCannotOpen;
        default:
            return kStatementError;
    }
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
    if (!takePassword(args, options.password) || args.size() != (save ? 4u : 3u)) {
        std::fprintf(err, "tablescope-cli: usage: %s\n",
                     save ? "save-query FILE NAME \"SQL\" [--password PW]"
                          : "delete-query FILE NAME [--password PW]");
        exitCode = kUsage;
        return true;
    }
    const jet::Status status = save ? jet::createQueryDef(args[1], args[2], args[3], options)
                                    : jet::deleteQueryDef(args[1], args[2], options);
    if (!status) {
        std::fprintf(err, "tablescope-cli: %s\n", status.message().c_str());
    } else {
        std::fprintf(out, "%s query '%s'\n", save ? "Saved" : "Deleted", args[2].c_str());
    }
    exitCode = exitCodeFor(status);
    return true;
}

}  // namespace cli
