// CellStore: the cells of a grid, column-wise. Rows are reached through one
// order vector (logical row -> physical row id), so sorting and moving rows
// permute four bytes per row and never touch the texts. Sizes are bounded so
// a hostile row or column count cannot exhaust memory.
#pragma once

#include "sheet/cell_input.h"
#include "sheet/cell_props.h"
#include "sheet/sheet_column.h"
#include "sheet/style_table.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <tuple>
#include <vector>

namespace sheet {

class CellStore {
  public:
    static constexpr int kMaxRows = 20'000'000;
    static constexpr int kMaxCols = 16'384;

    CellStore();

    int rows() const { return static_cast<int>(order_.size()); }
    int cols() const { return static_cast<int>(columns_.size()); }
    void setRows(int count);  // clamped to 0..kMaxRows
    void setCols(int count);  // clamped to 0..kMaxCols
    bool contains(int row, int col) const {
        return row >= 0 && col >= 0 && row < rows() && col < cols();
    }

    // A block given by two corners in any order, as (top, left, bottom,
    // right) clipped to the sheet; empty when bottom < top or right < left.
    std::tuple<int, int, int, int> clip(int row1, int col1, int row2, int col2) const;

    std::string_view text(int row, int col) const;
    void setText(int row, int col, std::string_view text);  // drops a typed value and payload
    void setValue(int row, int col, double value);          // keeps the text
    bool value(int row, int col, double* value) const;
    // The binary value or attachments a database result gave the cell; null
    // for every other cell, and once its text has been set.
    const std::shared_ptr<const CellPayload>& payload(int row, int col) const;
    void setPayload(int row, int col, std::shared_ptr<const CellPayload> payload);

    CellProps props(int row, int col) const;
    // Changes the properties of every cell of the block (corners in any order,
    // clipped to the sheet). edit must depend only on the properties it gets.
    void editProps(int row1, int col1, int row2, int col2,
                   const std::function<void(CellProps&)>& edit);
    void editProps(int row, int col, const std::function<void(CellProps&)>& edit) {
        editProps(row, col, row, col, edit);
    }
    // Changes rows row1..row2 (clipped) of one column, each by its own row:
    // the edit may give every cell different properties (a bar chart's fill).
    void editColumnProps(int col, int row1, int row2,
                         const std::function<void(int row, CellProps&)>& edit);
    std::size_t styleCount() const { return styles_.size(); }

    // Roughly what the cells take written out: text bytes, a byte of framing
    // per cell and a number per typed value. Lets a writer size its buffer once.
    std::size_t writtenSizeEstimate() const;

    SheetColumn& column(int col) { return *columns_[col]; }
    const SheetColumn& column(int col) const { return *columns_[col]; }

    void moveColumn(int from, int to);
    void moveRow(int from, int to);
    void removeRow(int row);
    // Empty rows that then stand at the listed rows (ascending, unique);
    // positions past the end append.
    void insertRows(std::span<const int> ascending);
    // Removes every listed row in one pass; rows must be ascending, unique
    // and inside the sheet.
    void removeRows(std::span<const int> ascending);
    void clearCells();  // texts, values and cell properties; shape and columns stay

    // Rows a filter hides: a flag per row that travels with it when rows are
    // sorted, moved or removed. New rows are shown.
    bool isHidden(int row) const {
        return row >= 0 && row < rows() && physical(row) < hidden_.size() &&
               hidden_[physical(row)] != 0;
    }
    // hide[i] says whether row first + i is hidden.
    void setHidden(int first, const std::vector<bool>& hide);
    void showAll() { hidden_ = {}; }
    bool anyHidden() const { return !hidden_.empty(); }
    // Sorts rows first..rows()-1 by column col.
    void sortRows(int col, int first, bool descending);

    // Bulk fill: resets to cols empty columns and no rows, then appends rows.
    // expectedRows (a guess; 0 = unknown) lets the columns grow once.
    void beginFill(int cols, std::size_t expectedRows = 0);
    void appendRow(std::span<const CellInput> cells);
    void appendTextRow(std::span<const std::string_view> texts);

  private:
    uint32_t physical(int row) const { return order_[row]; }
    template <typename Edit>
    void editCells(SheetColumn& column, int row1, int row2, const Edit& edit);
    void compactIfSparse();

    std::vector<std::unique_ptr<SheetColumn>> columns_;
    StyleTable styles_;
    BulkVector<uint32_t> order_;
    BulkVector<uint8_t> hidden_;  // by physical row; empty while nothing is hidden
    uint32_t physicalRows_ = 0;
    std::size_t fillRows_ = 0;  // expected rows of the fill under way
};

}  // namespace sheet
