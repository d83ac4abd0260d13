// Editing commands of the data sheet: cut and paste of the selected block,
// Select All, inserting and deleting rows and columns, retitling a column,
// promoting a data row to the title row. The sheet is free-standing here:
// nothing goes back to a database. The window's flag and sort-marker indexes
// follow the columns as they shift, so later commands act on the right ones.
// Given an undo history, each command records what it changes there.
#pragma once

#include <QString>

#include <vector>

namespace sheet {

class EditHistory;
class Grid;
struct SheetState;

class EditCommands {
  public:
    enum class ColumnDeleted { None, Data, Flag };

    EditCommands(Grid& dataSheet, SheetState& state, EditHistory* history = nullptr);

    // The block text of the selection, whose cells then lose their text
    // (pictures, styles and formats stay).
    QString cut();
    // Fills the selection from its top-left cell: one line per row (CR, LF or
    // CR LF between lines), one tab-separated field per column; whatever
    // reaches beyond the sheet's edge is dropped. Empty text pastes nothing.
    void paste(const QString& text);
    // Every data row and every column; the data sheet becomes the pane the
    // editing commands act on.
    void selectAll();

    // An empty row at the current row's index (never above the first data
    // row); the current cell stays at that index. False without a row to add.
    bool insertRow();
    // An empty untitled column at the current column's index; the current
    // cell stays at that index. False without a column to add.
    bool insertColumn();
    // Removes the selected rows (the rows of the selected block in block
    // mode), or the current row when none is selected, in one change. The
    // title row is never removed. Returns the number of rows removed.
    int deleteRows();
    // Removes the current column. Flag: it was the flag column, and the sheet
    // no longer has one.
    ColumnDeleted deleteColumn();

    // A non-empty title becomes the current column's; false (nothing
    // changed) for an empty one or a sheet without columns.
    bool setColumnTitle(const QString& title);
    // The current data row's texts become the titles (the flag column keeps
    // "Flag"), then the row goes. False when the current row is no data row.
    bool setHeaderRow();

  private:
    void placeCurrent(int row, int col);
    void recordCells(const QString& label, const std::vector<int>& rows, int col1, int col2);
    void recorded();

    Grid& dataSheet_;
    SheetState& state_;
    EditHistory* history_;
};

}  // namespace sheet
