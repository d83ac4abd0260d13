// CellSnapshot: a saved copy of some cells of the sheet (text, typed value
// and properties) that can be written back to the same rows and columns. The
// undo history keeps its steps as snapshots; texts are packed in one buffer
// and only formatted cells keep their properties, so a snapshot costs little
// more than the texts it holds. Binary values are shared, not copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sheet/cell_payload.h"
#include "sheet/cell_props.h"

namespace sheet {

class CellStore;

class CellSnapshot {
  public:
    // Saves the cells of grid rows `rows` (any order) in columns col1..col2.
    // Stops and returns false once the copy would pass `budget` bytes; the
    // snapshot is then empty.
    bool capture(const CellStore& store, std::vector<int> rows, int col1, int col2,
                 std::size_t budget);
    // Writes every saved cell back; rows or columns no longer there are skipped.
    void restore(CellStore& store) const;

    const std::vector<int>& rows() const { return rows_; }
    int firstColumn() const { return col1_; }
    int lastColumn() const { return col2_; }
    std::size_t bytes() const;

  private:
    void clear();

    std::vector<int> rows_;
    int col1_ = 0;
    int col2_ = -1;
    std::string texts_;                                  // every cell's text, one after the other
    std::vector<uint32_t> ends_;                         // where each cell's text ends in texts_
    std::vector<std::pair<uint32_t, double>> values_;    // cells with a typed value
    std::vector<std::pair<uint32_t, CellProps>> props_;  // formatted cells
    std::vector<std::pair<uint32_t, std::shared_ptr<const CellPayload>>> payloads_;
};

}  // namespace sheet
