// Copies an Access file into a new SQLite database: every user table with its
// rows, primary key and indexes, and every saved select query that can stand
// alone as a view. Rows stream through; the work goes to a temporary file in
// the target's folder that takes the target's name only when all is written.
//
// Values are stored as SQLite users expect them: Yes/No as 1/0, dates as ISO
// text "YYYY-MM-DD HH:MM:SS", Currency ("12.3400") and Decimal as exact text,
// replication IDs as braced GUID text, Single as its shortest decimal form.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/status.h"

namespace cli {

struct SqliteExportSummary {
    int tables = 0;
    uint64_t rows = 0;
    int indexes = 0;  // primary keys included
    int views = 0;
    std::vector<std::string> skipped;  // one line each: what and why
};

// Called every few thousand rows and at the end of each table: the table,
// rows copied so far and the rows expected (the definition's count, a guess).
// Returning false stops the export.
using SqliteExportProgress =
    std::function<bool(const std::string& table, uint64_t rows, uint64_t expected)>;

// How the copy is carried out; the defaults suit every file.
struct SqliteExportTuning {
    // A table of at least this many rows (by its definition's count) may be
    // copied on a connection and thread of its own beside the others.
    uint64_t besideFromRows = 50'000;
    // Whether it goes beside even when the other tables hold too few rows
    // to keep the two connections busy together.
    bool besideEvenAlone = false;
};

// Fails without touching `outPath` when it exists and `replace` is false,
// when the SQLite file cannot be written, or when the progress callback
// stops it; the temporary file is removed in each case. A table, index or query that cannot
// be copied is left out and named in the summary's `skipped` list.
jet::Result<SqliteExportSummary> exportToSqlite(const jet::Database& db, const std::string& outPath,
                                                bool replace,
                                                const SqliteExportProgress& progress = {},
                                                const SqliteExportTuning& tuning = {});

}  // namespace cli
