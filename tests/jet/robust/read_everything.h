// Reads all of a database the way the program does: open, catalog, every row
// and value of every local table, every saved query. Collects what failed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/database.h"

namespace jet {

struct ReadOutcome {
    Status open;                      // the failure of open(), if any
    std::vector<std::string> tables;  // names of tables that failed
    std::vector<Status> failures;     // their failures, same order
    size_t rows = 0;                  // rows read in all
    size_t values = 0;                // values decoded in all
    uint64_t digest = 0;              // of every value read, to tell changed data

    bool clean() const { return open.isOk() && failures.empty(); }
    // Every message, one a line, for test output.
    std::string describe() const;
};

ReadOutcome readEverything(const std::string& path, const std::string& password = {});

}  // namespace jet
