// A run of rows copied out of a table cursor, each value with its own bytes,
// so the rows stay readable after the cursor has moved on (to hand them from
// the thread that reads a table to the one that writes them).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "jet/value.h"

namespace cli {

class RowBatch {
  public:
    explicit RowBatch(size_t columns);

    // Empties the batch, keeping its memory for the next rows.
    void clear();
    // Appends one value of the row being copied (a copy of its bytes).
    void append(const jet::ValueRef& v);
    // The row being copied is complete.
    void endRow() { ++rows_; }
    // Forgets the values appended since the last complete row.
    void dropPartialRow();
    // Points every value at its bytes; call once after the last row, before
    // any value() (appending may move the bytes).
    void seal();
    // Whether the batch holds enough rows or bytes to be handed on.
    bool full() const;

    size_t rows() const { return rows_; }
    // Column `column` (in the order appended) of row `row`; valid until clear().
    const jet::ValueRef& value(size_t row, size_t column) const {
        return values_[row * columns_ + column];
    }

  private:
    size_t columns_;
    size_t rows_ = 0;
    std::vector<jet::ValueRef> values_;
    std::vector<size_t> offsets_;  // per value: where its bytes start in bytes_
    std::string bytes_;
};

}  // namespace cli
