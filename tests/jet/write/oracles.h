// The two independent readers the written files are checked with: Debian's
// mdbtools (mdb-tables, mdb-queries, mdb-export) and the npm mdb-reader
// (through the shared oracle-dump script; TABLESCOPE_ORACLE_NODE_PATH names
// its node_modules folder).
#pragma once

#include <map>
#include <set>
#include <string>

namespace jet::write::testing {

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

CommandResult runCommand(const std::string& command);
std::string shellQuote(const std::string& s);

// Table name -> mdb-export CSV of every user table; failures fail the test.
std::map<std::string, std::string> mdbtoolsTables(const std::string& path);
// The names mdb-queries -L lists.
std::set<std::string> mdbtoolsQueries(const std::string& path);
// Table name -> mdb-reader dump, for every user table and the three
// catalog tables the writer changes.
std::map<std::string, std::string> mdbReaderTables(const std::string& path,
                                                   const std::string& password);

}  // namespace jet::write::testing
