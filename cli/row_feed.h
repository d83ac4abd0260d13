// The rows a ReadAhead hands on, seen by SQLite as a table (an eponymous
// virtual table on one connection), so that one INSERT INTO t SELECT * FROM
// it stores a whole table: SQLite runs one statement for every row instead
// of a bind, step and reset per row, and keeps its cursors and their place
// in the B-tree from row to row.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "read_ahead.h"
#include "stored_row_batch.h"

namespace cli {

class RowFeed {
  public:
    // Called after every `progressEvery` rows stored, with the rows stored
    // so far; returning false ends the statement with an error.
    using Progress = std::function<bool(uint64_t rows)>;

    // Registers the table as `name` on `db` (an unused table name) over the
    // rows of `reader`, which hold `columns` values each. The rows go by
    // once, to one statement.
    //
    // `rowidColumn` is the column the target table keeps as its rowid (an
    // INTEGER PRIMARY KEY), if any; the table must be empty when the
    // statement starts. A key one past the largest stored so far
    // (the usual run 1, 2, 3, ...) goes to SQLite as NULL: SQLite then gives
    // the row that very rowid itself, where a key it is given is first sought
    // in the table to see whether it is taken.
    RowFeed(sqlite3* db, std::string name, ReadAhead<StoredRowBatch>& reader, size_t columns,
            uint64_t progressEvery, Progress progress,
            std::optional<size_t> rowidColumn = std::nullopt);
    // Drops the table from `db`; every statement reading it must be
    // finalized before.
    ~RowFeed();
    RowFeed(const RowFeed&) = delete;
    RowFeed& operator=(const RowFeed&) = delete;

    // Whether the table is on the connection (false when SQLite had no
    // memory for it).
    bool registered() const { return registered_; }
    // Rows SQLite has taken and moved past, that is rows stored.
    uint64_t rowsStored() const { return stored_; }
    // Whether the progress call ended the rows.
    bool stopped() const { return stopped_; }
    // Whether the reader failed (see its status()).
    bool readFailed() const { return readFailed_; }

    // For the virtual table's callbacks.
    size_t columns() const { return columns_; }
    bool start();
    bool advance();
    bool atEnd() const { return batch_ == nullptr; }
    void result(sqlite3_context* context, size_t column) const;
    uint64_t rowNumber() const { return stored_ + 1; }

  private:
    bool takeBatch();
    // Called as the current row changes, and once it is stored.
    void noteRowid();
    void rowidStored();

    sqlite3* db_;
    std::string name_;
    ReadAhead<StoredRowBatch>& reader_;
    size_t columns_;
    uint64_t progressEvery_;
    uint64_t untilProgress_;  // rows to store before the next progress call
    Progress progress_;
    bool registered_ = false;
    bool started_ = false;
    const StoredRowBatch* batch_ = nullptr;
    size_t row_ = 0;              // in batch_
    StoredRowBatch::Row values_;  // of row_
    uint64_t stored_ = 0;
    bool stopped_ = false;
    bool readFailed_ = false;
    std::optional<size_t> rowidColumn_;
    bool anyRowid_ = false;  // rows stored: the table's largest rowid is known
    int64_t largestRowid_ = 0;
    bool rowidAsNull_ = false;  // for the current row
};

}  // namespace cli
