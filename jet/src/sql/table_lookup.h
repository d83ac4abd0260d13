// A hash lookup from the values of one column to the rows holding them, with
// copies of the columns a statement reads; built by one scan of the table.
#pragma once

#include <cstdint>
#include <optional>
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

    // The key text a value is found under: folded text or a number's bits.
    static std::optional<std::string> keyOf(sqlite3_value* value, bool numericKey);

  private:
    int keyColumn_ = -1;
    uint64_t columns_ = 0;
    bool numericKey_ = false;
    std::size_t width_ = 0;
    std::vector<int> slot_;  // column -> index within a row's cells, -1 if absent
    std::vector<Cell> cells_;
    std::string arena_;
    std::vector<int64_t> next_;
    std::vector<int64_t> rowIds_;
    std::unordered_map<std::string, std::pair<int64_t, int64_t>> heads_;  // first, last row
};

// Hands a cursor value to SQLite as the engine stores it for SQL: Yes/No as
// -1/0, Currency as a double, GUIDs as braced text.
void resultFromValue(sqlite3_context* ctx, const ValueRef& v);

}  // namespace jet::sql
