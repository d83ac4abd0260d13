// Stores every row of one Access table into an SQLite table that exists and
// is empty: the rows are read and put in the form SQLite stores on a thread
// of their own while one INSERT ... SELECT over a RowFeed stores them.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jet/status.h"
#include "jet/table_cursor.h"
#include "row_feed.h"

namespace cli {

struct TableRowsCopy {
    enum class End {
        Done,
        Stopped,       // the progress call said stop
        ReadFailed,    // readStatus says why; the rows after it were not stored
        SqliteFailed,  // the connection's error says why; failedRow names the row
    };
    End end = End::Done;
    uint64_t rows = 0;  // rows stored
    uint64_t failedRow = 0;
    jet::Status readStatus;
};

// Reads columns `columns` (cursor column numbers, all of the target's, in its
// order) of every row of `cursor` into table `target` (an SQLite name, quoted)
// of `out`. `feedName` is a name no table of `out` has. `rowidColumn`: the
// position in `columns` of the target's INTEGER PRIMARY KEY, if any. The caller wraps the
// call in a transaction and rolls it back unless the copy is Done.
TableRowsCopy copyTableRows(sqlite3* out, jet::TableCursor& cursor,
                            const std::vector<size_t>& columns, const std::string& target,
                            const std::string& feedName, uint64_t progressEvery,
                            const RowFeed::Progress& progress,
                            std::optional<size_t> rowidColumn = std::nullopt);

// The copy's end in words: ok when Done, "stopped", the read failure, or
// SQLite's last error on `out` with the row it failed on.
jet::Status rowsCopyStatus(const TableRowsCopy& copy, sqlite3* out);

// Whether SQLite's error `code` means the file cannot be written at all (a
// full disk), which ends the whole copy rather than one table's.
bool endsTheCopy(int code);

}  // namespace cli
