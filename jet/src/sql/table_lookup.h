// A hash lookup from the values of one column to the rows holding them, with
// copies of the columns a statement reads; built by one scan of the table.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <sqlite3.h>

#include "jet/table_cursor.h"

namespace jet::sql {

class TableLookup {
  public:
    // One stored value, in the form handed to SQLite.
    struct Cell {
        uint8_t kind = SQLITE_NULL;
        int64_t i = 0;
        double d = 0;
        uint32_t offset = 0, length = 0;  // text and blobs in the arena
    };

    static constexpr std::size_t kMemoryBudget = 48u << 20;

    // Scans `cursor` and keeps `columns`; false when the table is too big for
    // the budget (then the caller keeps scanning) or the scan failed.
    bool build(TableCursor& cursor, int keyColumn, uint64_t columns, bool numericKey);

    int keyColumn() const { return keyColumn_; }
    uint64_t columns() const { return columns_; }
    // Rows whose key equals `value` (a chain through next()); -1 when none.
    int64_t first(sqlite3_value* value) const;
    int64_t next(int64_t row) const { return next_[static_cast<std::size_t>(row)]; }
    int64_t rowId(int64_t row) const { return rowIds_[static_cast<std::size_t>(row)]; }
    void result(sqlite3_context* ctx, int64_t row, int column) const;
    bool has(int column) const { return column < 64 && (columns_ >> column & 1); }

  private:
    // The first and last row of one key's chain.
    struct Chain {
        int64_t first = -1, last = -1;
    };
    // A joined table probes its lookup once for every row of the other
    // table, so numbers (the usual join keys) sit in a flat open-addressing
    // table of their bits: one cache line a probe, no key to build.
    struct NumberSlot {
        uint64_t bits = 0;
        Chain chain;  // chain.first < 0: a free slot
    };
    const Chain* findNumber(uint64_t bits) const;
    Chain& numberChain(uint64_t bits);
    void growNumbers();
    // Appends `row` to the chain of its key, so rows keep their stored order.
    void append(Chain& chain, int64_t row);

    int keyColumn_ = -1;
    uint64_t columns_ = 0;
    bool numericKey_ = false;
    std::size_t width_ = 0;
    std::vector<int> slot_;  // column -> index within a row's cells, -1 if absent
    std::vector<Cell> cells_;
    std::string arena_;
    std::vector<int64_t> next_;
    std::vector<int64_t> rowIds_;
    std::vector<NumberSlot> numbers_;  // a power of two in size, at most half full
    std::size_t numberCount_ = 0;
    std::unordered_map<std::string, Chain> texts_;  // folded texts
    std::unordered_map<std::string, Chain> blobs_;  // bytes as they are
};

// Hands a cursor value to SQLite as the engine stores it for SQL: Yes/No as
// -1/0, Currency as a double, GUIDs as braced text.
void resultFromValue(sqlite3_context* ctx, const ValueRef& v);

}  // namespace jet::sql
