// The best n rows of a scan by an ORDER BY, found in two passes that read
// few values: the first reads only the order keys and keeps candidates in a
// buffer that is cut back to the best n whenever it fills (so each row costs
// about one comparison, whatever order the table is stored in); the second
// copies the columns the statement reads of the rows kept. Ties keep the
// order of the scan, as SQLite's sorter does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "jet/table_cursor.h"
#include "sql/scan_filter.h"
#include "sql/scan_plan.h"

namespace jet::sql {

class KeptRows {
  public:
    // Keeps `limit` rows ordered by `order`, with copies of the columns in
    // `columnsUsed` (bit 63 standing for every column from the 64th on).
    KeptRows(const TableDef& table, std::vector<ScanPlan::OrderKey> order, long long limit,
             uint64_t columnsUsed);

    // Reads `cursor` from its start, keeping rows `filter` admits. Fails as
    // the cursor fails, or when the table changes between the passes.
    Status collect(TableCursor& cursor, ScanFilter& filter);

    std::size_t size() const { return rows_.size(); }
    uint64_t rowId(std::size_t row) const { return rows_[row].rowId; }
    // Hands column `column` of kept row `row` to SQLite; Null for a column
    // the statement does not read.
    void result(sqlite3_context* ctx, std::size_t row, int column) const;

  private:
    struct Owned {
        int kind = SQLITE_NULL;
        int64_t i = 0;
        double d = 0;
        std::string bytes;
        SqlScalar view() const { return {kind, i, d, bytes}; }
        void assign(const SqlScalar& s);
    };
    struct Candidate {
        uint64_t sequence = 0;  // position in the scan
        uint64_t rowId = 0;
        std::size_t keyAt = 0;  // first key in keys_
    };
    struct Row {
        uint64_t sequence = 0;
        uint64_t rowId = 0;
        std::vector<Owned> cells;  // per column; Null for unread columns
    };

    // Negative when the row with `keys` at `sequence` comes before `b`.
    int compare(const SqlScalar* keys, uint64_t sequence, const Candidate& b) const;
    int compare(const Candidate& a, const Candidate& b) const;
    bool readKeys(TableCursor& cursor);
    void add(uint64_t sequence, uint64_t rowId);
    // Cuts the candidates back to the best `limit_`, the last of them at the end.
    void cut();
    Status copyRows(TableCursor& cursor);

    std::vector<ScanPlan::OrderKey> order_;
    std::vector<bool> accessText_;  // per order key
    std::vector<bool> copied_;      // per column
    std::size_t limit_ = 0;
    std::vector<Candidate> candidates_;
    std::vector<Owned> keys_;         // the candidates' keys, order_.size() each
    std::vector<SqlScalar> current_;  // the current row's keys
    std::vector<std::string> scratch_;
    // candidates_[limit_ - 1] is the last of the `limit_` best rows at the last cut.
    bool full_ = false;
    std::vector<Row> rows_;
};

}  // namespace jet::sql
