#include "oracles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace jet::write::testing {
namespace {

std::set<std::string> lines(const std::string& text) {
    std::set<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            out.insert(line);
        }
    }
    return out;
}

std::string nodePath() {
    const char* path = std::getenv("TABLESCOPE_ORACLE_NODE_PATH");
    if (!path || !*path) {
        ADD_FAILURE() << "TABLESCOPE_ORACLE_NODE_PATH is not set: point it at a node_modules "
                         "folder holding mdb-reader (npm install mdb-reader@3)";
        return {};
    }
    return path;
}

}  // namespace

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::map<std::string, std::string> mdbtoolsTables(const std::string& path) {
    std::map<std::string, std::string> out;
    CommandResult tables = runCommand("mdb-tables -1 " + shellQuote(path));
    EXPECT_EQ(tables.exitCode, 0) << tables.output;
    for (const std::string& table : lines(tables.output)) {
        CommandResult csv = runCommand("mdb-export " + shellQuote(path) + " " + shellQuote(table));
        EXPECT_EQ(csv.exitCode, 0) << table << ": " << csv.output;
        out[table] = csv.output;
    }
    return out;
}

std::set<std::string> mdbtoolsQueries(const std::string& path) {
    CommandResult list = runCommand("mdb-queries -L -1 " + shellQuote(path));
    EXPECT_EQ(list.exitCode, 0) << list.output;
    return lines(list.output);
}

std::map<std::string, std::string> mdbReaderTables(const std::string& path,
                                                   const std::string& password) {
    std::map<std::string, std::string> out;
    const std::string script = std::string(TABLESCOPE_TESTDATA) + "/../tools/oracle-dump.mjs";
    const std::string node = "NODE_PATH=" + shellQuote(nodePath()) + " node " + shellQuote(script) +
                             " " + shellQuote(path) +
                             (password.empty() ? "" : " --password " + shellQuote(password));
    CommandResult tables = runCommand(node + " --tables");
    EXPECT_EQ(tables.exitCode, 0) << tables.output;
    std::set<std::string> names = lines(tables.output);
    names.insert({"\"MSysObjects\"", "\"MSysQueries\"", "\"MSysACEs\""});
    for (const std::string& quoted : names) {
        const std::string table = quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : quoted;
        CommandResult rows = runCommand(node + " " + shellQuote(table));
        EXPECT_EQ(rows.exitCode, 0) << table << ": " << rows.output.substr(0, 500);
        out[table] = rows.output;
    }
    return out;
}

}  // namespace jet::write::testing
