// Writes a table's rows with both cores reading and formatting: two workers
// take parts of the table's data pages in turn, each reading its parts with
// a cursor of its own and formatting their rows into text of its own, and
// the texts go out in part order, which is the table's stored order. A
// failing part ends the rows after the rows before it (its failing row
// written as far as it was read), as one reading in order would; of two
// failures the earlier is reported.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "jet/status.h"
#include "jet/table_cursor.h"
#include "row_writer.h"

namespace cli {

class ParallelExport {
  public:
    // Data pages a worker reads at a time: one read of the cursor's.
    static constexpr size_t kPartPages = 32;

    // Whether `cursor`'s table can be read in parts (a table of this file
    // or a linked one, without complex columns, not salvaging).
    static bool possible(const jet::TableCursor& cursor) { return cursor.pageCount() > 0; }
    // Writes every row of `cursor` (possible(), standing before its first
    // row) through `writer`. Returns ok, or why the rows ended early; a
    // failed write stops the reading and is the writer's to tell.
    static jet::Status write(jet::TableCursor& cursor, RowWriter& writer);

  private:
    struct Ready {
        TextBuffer text;
        uint64_t errorValues = 0;
    };

    ParallelExport(jet::TableCursor& cursor, RowWriter& writer);
    void work(jet::TableCursor& cursor, RowFormatter formatter);
    // Formats the rows of the part `cursor` reads, writing them as it goes
    // when they grow large (`errorsWritten`: the formatter's count of #Error
    // values already written); false when the export stopped meanwhile.
    bool formatPart(jet::TableCursor& cursor, size_t part, RowFormatter& formatter,
                    uint64_t& errorsWritten, jet::Status& status);
    bool take(size_t& part);
    // Writes the text formatted so far for `part` (the whole of it not yet
    // written) once every part before it is out; false when the export
    // stopped instead.
    bool spill(size_t part, TextBuffer& text, uint64_t errorValues);
    // `part` is formatted: written now when the parts before it are out,
    // else kept for whoever writes the one before it.
    void finish(size_t part, RowFormatter& formatter, uint64_t errorValues,
                const jet::Status& status);
    // Writes `text` while holding the turn; false (and the export stopped)
    // when the output failed. Called with `lock` held, returns with it held.
    bool writeTurn(std::unique_lock<std::mutex>& lock, TextBuffer& text, uint64_t errorValues);

    RowWriter& writer_;
    const std::string& table_;
    const size_t pages_;
    const size_t parts_;

    std::mutex mutex_;
    std::condition_variable changed_;
    size_t nextPart_ = 0;  // the next part a worker takes
    size_t turn_ = 0;      // the next part to go out; its worker alone writes
    size_t endPart_;       // no part from here on is written
    bool stopped_ = false;
    std::map<size_t, Ready> ready_;  // formatted parts waiting for their turn
    std::vector<TextBuffer> spare_;
    jet::Status status_;
};

}  // namespace cli
