// A scan that yields a table's rows grouped by a GROUP BY's columns, so
// SQLite aggregates them as they come instead of sorting every row first.
// Rows are kept in compact form (only the columns the statement reads, a few
// bytes each for numbers); within a group they keep their stored order, and
// groups come in the order SQLite would sort their keys (Null first, text by
// the ACCESS collation). Each row keeps its own values, so "east" and "East"
// fall in one group yet each row still reads as stored.
// A group of one row costs a few dozen bytes beyond the row itself: while
// rows come in key order (a GROUP BY on a key) each is the last group's or a
// new one's, and nothing is sorted; after that a row is found by one hash
// lookup of its own bytes, small groups share chunks that are copied into
// group order at the end, and groups with many rows get chunks of their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <sqlite3.h>

#include "jet/table_cursor.h"
#include "sql/scan_filter.h"
#include "sql/sql_scalar.h"

namespace jet::sql {

class GroupedRows {
  public:
    // Groups by `groupColumns`, keeping the columns in `columnsUsed` (bit 63
    // standing for every column from the 64th on).
    GroupedRows(const TableDef& table, std::vector<int> groupColumns, uint64_t columnsUsed);

    // Reads `cursor` from its start, keeping the rows `filter` admits, and
    // goes to the first row. Fails as the cursor fails.
    Status collect(TableCursor& cursor, ScanFilter& filter);

    bool atEnd() const { return at_ >= rows_; }
    void next();
    uint64_t rowId() const { return rowId_; }
    // Column `column` of the current row; Null for a column the statement
    // does not read. Valid until the next call of next().
    SqlScalar value(int column) const;
    void result(sqlite3_context* ctx, int column) const { resultScalar(ctx, value(column)); }

  private:
    static constexpr uint32_t kNoSpelling = UINT32_MAX, kNoOwn = UINT32_MAX;
    // A reference in the lookup table: a spelling, or with this bit a group.
    static constexpr uint32_t kGroupRef = 0x80000000u, kNoRef = UINT32_MAX;

    // One way of writing a group's key: the exact values of its columns.
    struct Spelling {
        uint64_t at = 0;  // its values in keys_
        uint32_t group = 0;
        uint32_t next = kNoSpelling;  // the group's next spelling
    };
    struct Group {
        uint64_t keyAt = 0;      // the folded key in keys_ (shared with the first
                                 // spelling when folding changes nothing)
        uint64_t lastRowId = 0;  // while collecting: rows store the step from it
        uint64_t bytes = 0;      // of its rows in the shared chunks
        uint32_t firstSpelling = kNoSpelling;
        uint32_t own = kNoOwn;  // its own chunks in ownChunks_, if any
    };
    // A run of rows to read: bytes [begin, end) of a chunk.
    struct Piece {
        std::string* store = nullptr;
        std::size_t begin = 0;
        std::size_t end = 0;
    };

    uint32_t spellingOf();
    // The key's spelling while rows come in key order; kNoSpelling once one
    // does not (the lookups then go by hash).
    uint32_t spellingInOrder(bool folding);
    uint32_t spellingByHash(bool folding);
    std::string_view foldedKey(bool folding);
    uint32_t spellingIn(uint32_t group) const;
    // Adds the key's spelling to `group`, which takes `folded` as its key if
    // it is new.
    uint32_t addSpelling(uint32_t group, std::string_view folded);
    uint64_t refAt(uint32_t ref) const;
    uint32_t lookUp(std::string_view bytes, uint32_t tag) const;
    void indexKeys();
    void addRef(uint32_t tag, uint32_t ref);
    void addSlot(uint64_t slot);
    bool keyAt(uint64_t at, std::string_view bytes) const;
    void keepRow(TableCursor& cursor, uint32_t spelling);
    // Appends row_ to `chunks`, whose chunks grow up to `mostBytes`.
    void appendRow(std::vector<std::string>& chunks, std::size_t mostBytes);
    void placeRows();
    // Where the row at `at` ends; its spelling goes to `spelling`.
    std::size_t rowEnd(std::string_view chunk, std::size_t at, uint32_t& spelling) const;
    std::vector<uint32_t> groupsInKeyOrder() const;
    void readRow();
    // The values of a spelling, one per group column.
    void spellingValues(uint32_t spelling, SqlScalar* out) const;

    std::vector<int> groupColumns_;
    std::vector<int> keyIndex_;     // per column: its place in groupColumns_, or -1
    std::vector<int> keptColumns_;  // read columns that are not grouped on
    std::vector<bool> accessText_;  // per group column
    std::string keys_;              // spellings' values and groups' folded keys, encoded
    std::vector<Spelling> spellings_;
    std::vector<Group> groups_;
    // Whether every row so far came in key order: then each row's group is
    // the last one or a new one.
    bool inOrder_ = true;
    // Once not: open addressing over the spellings' bytes and the keys of
    // groups no spelling is written as; per slot 32 bits of hash and the
    // reference + 1, 0 when free.
    std::vector<uint64_t> slots_;
    std::size_t refs_ = 0;
    // Per row: spelling, row id step, then the kept columns; rows never
    // straddle two chunks, and a group's rows keep their stored order.
    std::vector<std::string> chunks_;                  // shared, in stored order
    std::vector<std::vector<std::string>> ownChunks_;  // of groups with many rows
    std::string placed_;                               // the shared rows, in group order
    std::vector<Piece> pieces_;                        // every row in group order
    std::size_t rows_ = 0;
    std::vector<SqlScalar> key_;  // the group columns of the row read or yielded
    std::vector<std::string> keyScratch_;
    std::string exact_;
    std::string folded_;
    std::string row_;
    std::string scratch_;

    // The current row.
    std::size_t at_ = 0;  // its place among the rows
    std::size_t piece_ = 0;
    std::size_t offset_ = 0;  // of the next row in the piece's chunk
    uint32_t spelling_ = kNoSpelling;
    uint64_t rowId_ = 0;
    std::vector<SqlScalar> values_;  // per column
};

}  // namespace jet::sql
