// A run of rows copied out of a table cursor, each value with its own bytes,
// so the rows stay readable after the cursor has moved on (to hand them from
// the thread that reads a table to the one that writes them).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "jet/table_cursor.h"
#include "jet/value.h"

namespace cli {

class RowBatch {
  public:
    explicit RowBatch(size_t columns);

    // Empties the batch, keeping its memory for the next rows.
    void clear();
    // Appends one value of the row being copied (a copy of its bytes).
    void append(const jet::ValueRef& v);
    // Appends columns `columns` of the cursor's current row, in that order
    // (as append() each); a value that fails to decode is appended as Null
    // and the cursor's status says so.
    void appendValues(jet::TableCursor& cursor, const std::vector<size_t>& columns);
    // The row being copied is complete.
    void endRow() { ++rows_; }
    // Forgets the values appended since the last complete row.
    void dropPartialRow();
    // Whether the batch holds enough rows or bytes to be handed on.
    bool full() const;

    size_t rows() const { return rows_; }
    // Column `column` (in the order appended) of row `row`; its bytes stay
    // valid until the next append() or clear().
    jet::ValueRef value(size_t row, size_t column) const {
        const size_t k = row * columns_ + column;
        const size_t end = k + 1 < offsets_.size() ? offsets_[k + 1] : bytes_.size();
        jet::ValueRef v = values_[k];
        v.data = std::string_view(bytes_.data() + offsets_[k], end - offsets_[k]);
        return v;
    }

  private:
    size_t columns_;
    size_t rows_ = 0;
    std::vector<jet::ValueRef> values_;  // with no bytes: theirs are in bytes_
    std::vector<size_t> offsets_;        // per value: where its bytes start in bytes_
    std::string bytes_;
};

}  // namespace cli
