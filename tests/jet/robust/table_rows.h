// Every row of every local table of a database, keyed by where it is stored,
// with a digest per value: what the damage tests compare a damaged read with.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "jet/database.h"

namespace jet {

struct TableRows {
    std::vector<std::string> columns;
    std::map<uint64_t, std::vector<uint64_t>> rows;  // row id -> value digests
    Status status;                                   // the read's error, if any
};

// Reads every local table (system tables included) to the end or its error.
std::map<std::string, TableRows> readTables(const Database& db);

// Rows of `intact` stored on `pages` (row id >> 8).
size_t rowsOnPages(const TableRows& intact, const std::vector<uint32_t>& pages);

}  // namespace jet
