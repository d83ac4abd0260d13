// A scan that yields a table's rows grouped by a GROUP BY's columns, so
// SQLite aggregates them as they come instead of sorting every row first.
// Rows are kept per group in compact form (only the columns the statement
// reads, a few bytes each for numbers); within a group they keep their
// stored order, and groups come in the order SQLite would sort their keys
// (Null first, text by the ACCESS collation). Each row keeps its own values,
// so "east" and "East" fall in one group yet each row still reads as stored.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
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

    bool atEnd() const { return group_ >= order_.size(); }
    void next();
    uint64_t rowId() const { return rowId_; }
    // Column `column` of the current row; Null for a column the statement
    // does not read. Valid until the next call of next().
    SqlScalar value(int column) const;
    void result(sqlite3_context* ctx, int column) const { resultScalar(ctx, value(column)); }

  private:
    // One way of writing a group's key (the exact values of its columns).
    struct Spelling {
        std::size_t at = 0;  // first value in spellingValues_
        uint32_t group = 0;
    };
    struct Group {
        uint32_t firstSpelling = 0;
        // Per row: spelling, row id step, then the kept columns; in chunks
        // filled to their capacity, so growing copies nothing.
        std::vector<std::string> chunks;
        uint64_t lastRowId = 0;
    };

    uint32_t spellingOf();
    uint32_t groupOf(const std::vector<SqlScalar>& key);
    void keepRow(TableCursor& cursor, uint32_t spelling);
    void sortGroups();
    void readRow();
    // The values of a spelling, one per group column.
    void spellingValues(uint32_t spelling, SqlScalar* out) const;

    std::vector<int> groupColumns_;
    std::vector<int> keyIndex_;     // per column: its place in groupColumns_, or -1
    std::vector<int> keptColumns_;  // read columns that are not grouped on
    std::vector<bool> accessText_;  // per group column
    std::unordered_map<std::string, uint32_t> spellingIds_;  // exact key bytes
    std::unordered_map<std::string, uint32_t> groupIds_;     // collation key bytes
    std::vector<Spelling> spellings_;
    std::string spellingValues_;  // the spellings' values, encoded
    std::vector<Group> groups_;
    std::vector<uint32_t> order_;  // groups in key order
    std::vector<SqlScalar> key_;   // the group columns of the row read or yielded
    std::vector<std::string> keyScratch_;
    std::string keyBytes_;
    std::string row_;
    std::string scratch_;

    // The current row.
    std::size_t group_ = 0;
    std::size_t chunk_ = 0;
    std::size_t at_ = 0;  // next row's offset in the chunk
    uint32_t spelling_ = 0;
    uint64_t rowId_ = 0;
    std::vector<SqlScalar> values_;  // per column
};

}  // namespace jet::sql
