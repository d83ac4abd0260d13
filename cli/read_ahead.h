// Reads the rows of a table cursor on a thread of its own, a batch at a
// time, while the caller writes the batch before: decoding and writing then
// run on two cores. The cursor, and the Database behind it, belong to that
// thread from construction until next() has returned null or this object
// is gone; the caller must not touch either meanwhile. A Batch is a
// RowBatch (the values as read, for export) or a StoredRowBatch (in the form
// SQLite stores, for the copy into SQLite).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "jet/status.h"
#include "jet/table_cursor.h"

namespace cli {

// What becomes of the row whose value failed to decode (the cursor's last):
// written as far as it was read, or left out.
enum class FailedRow { Keep, Drop };

template <typename Batch>
class ReadAhead {
  public:
    // Starts reading `columns` (cursor column numbers, in the order the
    // batches hold them) of every row from the cursor's current position.
    ReadAhead(jet::TableCursor& cursor, std::vector<size_t> columns, FailedRow failedRow);
    // Stops the reading (when rows are left) and waits for the thread.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next rows, in the cursor's order, valid until the next call; null
    // after the last row or a failure, and then the cursor is the caller's
    // again and status() says which.
    const Batch* next();
    // The cursor's status once next() has returned null: ok, or why the
    // rows ended early.
    const jet::Status& status() const { return status_; }

  private:
    void read();
    // Hands a filled batch to the caller; with `wantEmpty`, waits for an
    // empty one to fill next and returns it (null when the caller stopped
    // the reading).
    Batch* handOver(Batch* filled, bool wantEmpty);
    void finish();

    jet::TableCursor& cursor_;
    std::vector<size_t> columns_;
    FailedRow failedRow_;
    std::vector<std::unique_ptr<Batch>> batches_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Batch*> filled_;  // in order, oldest first
    std::vector<Batch*> empty_;
    Batch* held_ = nullptr;  // the batch the caller is writing
    bool readerDone_ = false;
    bool stopped_ = false;
    jet::Status status_;
    std::thread thread_;
};

}  // namespace cli
