// EditHistory: Undo and Redo for the edits of the data sheet: paste, cut,
// clear, typed cells, titles and cell styles (cell steps), deleting and
// inserting rows and columns, a column's number format and promoting a row
// to the title row. Each step keeps copies of the cells it changed, never the
// whole sheet, and the history as a whole stays within a memory budget (256
// MB by default, and at most 100 steps): the oldest steps go first, and a
// change too big to copy within the budget is not undoable and empties the
// history, since older steps could no longer be put back in the right place.
// Changes the history does not record (loads, sorts, column moves, the size
// boxes, adding or removing the flag column) must clear it.
#pragma once

#include <QString>

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "sheet/cell_snapshot.h"

namespace sheet {

class GridModel;
struct SheetState;

class EditHistory {
  public:
    static constexpr std::size_t kDefaultBudget = std::size_t{256} << 20;
    static constexpr int kMaxSteps = 100;

    // The cells a step changed, for the window to select after undo or redo.
    struct Block {
        int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
    };
    // What an undo or redo did to the sheet's shape, for the window to bring
    // the size boxes and the column statistics in step.
    enum class Shape { Cells, Rows, ColumnInserted, ColumnRemoved };
    struct Change : Block {
        Shape shape = Shape::Cells;
        int column = 0;  // the column inserted or removed
    };

    explicit EditHistory(std::size_t budget = kDefaultBudget);

    // Recording: one of the before...() calls right before a change, then
    // after() once it is done (or cancel() when it changed nothing). The
    // before...() calls return false when the step does not fit the budget;
    // the history is then empty and the change can still go ahead.
    bool beforeCells(const GridModel& model, const SheetState& state, const QString& label,
                     int row1, int col1, int row2, int col2);
    // The same for the listed grid rows (any order) of columns col1..col2:
    // the rows a filtered sheet shows.
    bool beforeCells(const GridModel& model, const SheetState& state, const QString& label,
                     std::vector<int> rows, int col1, int col2);
    bool beforeRowsDeleted(const GridModel& model, const SheetState& state, const QString& label,
                           std::vector<int> rows);
    bool beforeColumnDeleted(const GridModel& model, const SheetState& state, const QString& label,
                             int col);
    void beforeRowInserted(const SheetState& state, const QString& label, int row);
    void beforeColumnInserted(const SheetState& state, const QString& label, int col);
    // A change of column col's number format, width or other column setting.
    void beforeColumnLook(const GridModel& model, const SheetState& state, const QString& label,
                          int col);
    // Row `row` is about to become the title row (and leave the data rows).
    bool beforeHeaderRow(const GridModel& model, const SheetState& state, const QString& label,
                         int row);
    // False when nothing was recorded: no change was pending, or it proved
    // too big for the budget (the history is then empty).
    bool after(const GridModel& model, const SheetState& state);
    void cancel();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    QString undoLabel() const { return canUndo() ? undo_.back().label : QString(); }
    QString redoLabel() const { return canRedo() ? redo_.back().label : QString(); }
    std::optional<Change> undo(GridModel& model, SheetState& state);
    std::optional<Change> redo(GridModel& model, SheetState& state);
    void clear();
    // Called whenever what can be undone or redone may have changed.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

    std::size_t bytes() const { return bytes_; }
    std::size_t budget() const { return budget_; }

  private:
    enum class Kind {
        Cells,
        RowsDeleted,
        RowInserted,
        ColumnDeleted,
        ColumnInserted,
        ColumnLook,
        HeaderRow
    };
    // The window's column marks a column step may shift.
    struct Marks {
        bool flagColumnPresent = false;
        int flagColumn = 0;
        int sortedColumn = 0;
    };
    struct ColumnLook {
        int width = 0, alignment = 0, dataType = 0;
        QString format;
        bool merge = false;
    };
    struct Step {
        Kind kind = Kind::Cells;
        QString label;
        int position = 0;  // the row or column inserted or deleted
        CellSnapshot before, after;
        ColumnLook look, lookAfter;
        Marks marksBefore, marksAfter;
        std::size_t bytes() const { return sizeof(Step) + before.bytes() + after.bytes(); }
    };

    static Marks marksOf(const SheetState& state);
    static ColumnLook lookOf(const GridModel& model, int col);
    static void putLook(GridModel& model, int col, const ColumnLook& look);
    bool captureBefore(const GridModel& model, std::vector<int> rows, int col1, int col2);
    void notify() const;
    static void applyMarks(const Marks& marks, SheetState& state);
    std::size_t room() const;
    void begin(Kind kind, const SheetState& state, const QString& label, int position);
    bool push(Step step);
    Change apply(GridModel& model, const Step& step, bool undoing) const;
    Change applyRows(GridModel& model, const Step& step, bool undoing) const;
    Change applyColumn(GridModel& model, const Step& step, bool undoing) const;
    Block putCells(GridModel& model, const CellSnapshot& cells) const;
    Change removeColumn(GridModel& model, int col) const;
    Change restoreColumn(GridModel& model, const Step& step) const;

    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    std::optional<Step> pending_;
    std::function<void()> changed_;
};

}  // namespace sheet
