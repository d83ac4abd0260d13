#include "sheet/edit_history.h"

#include <algorithm>
#include <numeric>

#include "sheet/grid_model.h"
#include "sheet/sheet_update.h"

namespace sheet {

EditHistory::EditHistory(std::size_t budget) : budget_(budget) {}

EditHistory::Marks EditHistory::marksOf(const SheetState& state) {
    return {state.flagColumnPresent, state.flagColumn, state.sortedColumn};
}

void EditHistory::applyMarks(const Marks& marks, SheetState& state) {
    state.flagColumnPresent = marks.flagColumnPresent;
    state.flagColumn = marks.flagColumn;
    state.sortedColumn = marks.sortedColumn;
}

// What one step may take: both of its copies must fit the whole budget.
std::size_t EditHistory::room() const {
    return budget_ / 2;
}

void EditHistory::begin(Kind kind, const SheetState& state, const QString& label, int position) {
    pending_ = Step();  // not emplace(): clang cannot tell then that Step is default-constructible
    pending_->kind = kind;
    pending_->label = label;
    pending_->position = position;
    pending_->marksBefore = marksOf(state);
}

bool EditHistory::beforeCells(const GridModel& model, const SheetState& state, const QString& label,
                              int row1, int col1, int row2, int col2) {
    std::tie(row1, col1, row2, col2) = model.store().clip(row1, col1, row2, col2);
    std::vector<int> rows(static_cast<std::size_t>(std::max(0, row2 - row1 + 1)));
    std::iota(rows.begin(), rows.end(), row1);
    return beforeCells(model, state, label, std::move(rows), col1, col2);
}

bool EditHistory::beforeCells(const GridModel& model, const SheetState& state, const QString& label,
                              std::vector<int> rows, int col1, int col2) {
    const int count = model.store().rows();
    std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
    begin(Kind::Cells, state, label, rows.empty() ? 0 : rows.front());
    return captureBefore(model, std::move(rows), col1, col2);
}

// A step whose copy would not fit is refused before anything is copied; the
// older steps go too, as they could no longer be put back in place.
bool EditHistory::captureBefore(const GridModel& model, std::vector<int> rows, int col1, int col2) {
    if (!pending_->before.capture(model.store(), std::move(rows), col1, col2, room())) {
        clear();
        return false;
    }
    return true;
}

bool EditHistory::beforeRowsDeleted(const GridModel& model, const SheetState& state,
                                    const QString& label, std::vector<int> rows) {
    const CellStore& store = model.store();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&](int row) { return row < model.fixedRows() || row >= store.rows(); });
    if (rows.empty()) {
        pending_.reset();
        return true;  // nothing will be deleted
    }
    begin(Kind::RowsDeleted, state, label, rows.front());
    return captureBefore(model, std::move(rows), 0, store.cols() - 1);
}

bool EditHistory::beforeColumnDeleted(const GridModel& model, const SheetState& state,
                                      const QString& label, int col) {
    const CellStore& store = model.store();
    if (col < 0 || col >= store.cols()) {
        pending_.reset();
        return true;  // nothing will be deleted
    }
    begin(Kind::ColumnDeleted, state, label, col);
    pending_->look = lookOf(model, col);
    std::vector<int> rows(static_cast<std::size_t>(store.rows()));
    std::iota(rows.begin(), rows.end(), 0);
    return captureBefore(model, std::move(rows), col, col);
}

void EditHistory::beforeRowInserted(const SheetState& state, const QString& label, int row) {
    begin(Kind::RowInserted, state, label, row);
}

void EditHistory::beforeColumnInserted(const SheetState& state, const QString& label, int col) {
    begin(Kind::ColumnInserted, state, label, col);
}

void EditHistory::beforeColumnLook(const GridModel& model, const SheetState& state,
                                   const QString& label, int col) {
    if (col < 0 || col >= model.store().cols()) {
        pending_.reset();
        return;
    }
    begin(Kind::ColumnLook, state, label, col);
    pending_->look = lookOf(model, col);
}

// The title row and the promoted row are kept as they were; redo needs the
// titles they made.
bool EditHistory::beforeHeaderRow(const GridModel& model, const SheetState& state,
                                  const QString& label, int row) {
    const CellStore& store = model.store();
    if (row < model.fixedRows() || row >= store.rows() || model.fixedRows() == 0) {
        pending_.reset();
        return true;  // nothing will change
    }
    begin(Kind::HeaderRow, state, label, row);
    return captureBefore(model, {0, row}, 0, store.cols() - 1);
}

EditHistory::ColumnLook EditHistory::lookOf(const GridModel& model, int col) {
    const SheetColumn& column = model.store().column(col);
    return {column.width, column.alignment, column.dataType, column.format, column.merge};
}

void EditHistory::putLook(GridModel& model, int col, const ColumnLook& look) {
    model.changeColumn(col, [&look](SheetColumn& column) {
        column.width = look.width;
        column.alignment = look.alignment;
        column.dataType = look.dataType;
        column.format = look.format;
        column.merge = look.merge;
    });
}

void EditHistory::notify() const {
    if (changed_) {
        changed_();
    }
}

bool EditHistory::after(const GridModel& model, const SheetState& state) {
    if (!pending_) {
        return false;
    }
    Step step = std::move(*pending_);
    pending_.reset();
    step.marksAfter = marksOf(state);
    if (step.kind == Kind::ColumnLook) {
        if (step.position >= model.store().cols()) {
            return false;
        }
        step.lookAfter = lookOf(model, step.position);
    }
    if (step.kind == Kind::Cells || step.kind == Kind::HeaderRow) {
        const CellSnapshot& before = step.before;
        std::vector<int> rows = before.rows();
        if (step.kind == Kind::HeaderRow) {
            rows = {0};  // the titles it made
        }
        if (!step.after.capture(model.store(), std::move(rows), before.firstColumn(),
                                before.lastColumn(), room())) {
            clear();
            return false;
        }
    }
    return push(std::move(step));
}

void EditHistory::cancel() {
    pending_.reset();
}

bool EditHistory::push(Step step) {
    for (const Step& dropped : redo_) {
        bytes_ -= dropped.bytes();
    }
    redo_.clear();
    if (step.bytes() > budget_) {
        clear();
        return false;
    }
    bytes_ += step.bytes();
    undo_.push_back(std::move(step));
    while (!undo_.empty() &&
           (bytes_ > budget_ || undo_.size() > static_cast<std::size_t>(kMaxSteps))) {
        bytes_ -= undo_.front().bytes();
        undo_.pop_front();
    }
    notify();
    return true;
}

void EditHistory::clear() {
    const bool had = !undo_.empty() || !redo_.empty();
    undo_.clear();
    redo_.clear();
    pending_.reset();
    bytes_ = 0;
    if (had) {
        notify();
    }
}

std::optional<EditHistory::Change> EditHistory::undo(GridModel& model, SheetState& state) {
    if (undo_.empty()) {
        return std::nullopt;
    }
    Step step = std::move(undo_.back());
    undo_.pop_back();
    const Change change = apply(model, step, true);
    applyMarks(step.marksBefore, state);
    redo_.push_back(std::move(step));
    notify();
    return change;
}

std::optional<EditHistory::Change> EditHistory::redo(GridModel& model, SheetState& state) {
    if (redo_.empty()) {
        return std::nullopt;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    const Change change = apply(model, step, false);
    applyMarks(step.marksAfter, state);
    undo_.push_back(std::move(step));
    notify();
    return change;
}

EditHistory::Block EditHistory::putCells(GridModel& model, const CellSnapshot& cells) const {
    const std::vector<int>& rows = cells.rows();
    if (rows.empty()) {
        return {};
    }
    const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
    model.changeCells(*low, cells.firstColumn(), *high, cells.lastColumn(),
                      [&cells](CellStore& store) { cells.restore(store); });
    return {*low, cells.firstColumn(), *high, cells.lastColumn()};
}

EditHistory::Change EditHistory::removeColumn(GridModel& model, int col) const {
    const int last = model.store().cols() - 1;
    model.moveColumn(col, last);
    model.setCols(last);
    const int shown = std::clamp(col, 0, std::max(0, last - 1));
    Change change;
    static_cast<Block&>(change) = {model.fixedRows(), shown, model.fixedRows(), shown};
    change.shape = Shape::ColumnRemoved;
    change.column = col;
    return change;
}

EditHistory::Change EditHistory::restoreColumn(GridModel& model, const Step& step) const {
    const int last = model.store().cols();
    model.setCols(last + 1);
    putLook(model, last, step.look);
    model.moveColumn(last, step.position);
    putCells(model, step.before);
    const int rows = model.store().rows();
    Change change;
    static_cast<Block&>(change) = {model.fixedRows(), step.position,
                                   std::max(model.fixedRows(), rows - 1), step.position};
    change.shape = Shape::ColumnInserted;
    change.column = step.position;
    return change;
}

EditHistory::Change EditHistory::applyColumn(GridModel& model, const Step& step,
                                             bool undoing) const {
    const int position = step.position;
    if (step.kind == Kind::ColumnDeleted) {
        return undoing ? restoreColumn(model, step) : removeColumn(model, position);
    }
    if (undoing) {
        return removeColumn(model, position);
    }
    model.setCols(model.store().cols() + 1);
    model.moveColumn(model.store().cols() - 1, position);
    Change change;
    static_cast<Block&>(change) = {model.fixedRows(), position, model.fixedRows(), position};
    change.shape = Shape::ColumnInserted;
    change.column = position;
    return change;
}

EditHistory::Change EditHistory::applyRows(GridModel& model, const Step& step, bool undoing) const {
    const int lastCol = std::max(0, model.store().cols() - 1);
    const int position = step.position;
    Change change;
    change.shape = Shape::Rows;
    static_cast<Block&>(change) = {position, 0, position, lastCol};
    switch (step.kind) {
        case Kind::RowsDeleted:
            if (undoing) {
                model.insertRowList(step.before.rows());
                static_cast<Block&>(change) = putCells(model, step.before);
            } else {
                model.removeRowList(step.before.rows());
            }
            break;
        case Kind::RowInserted:
            if (undoing) {
                model.removeRowList({position});
            } else {
                model.insertRowList(std::vector<int>{position});
            }
            break;
        default:  // HeaderRow
            if (undoing) {
                model.insertRowList(std::vector<int>{position});
                putCells(model, step.before);
            } else {
                putCells(model, step.after);
                model.removeRowList({position});
            }
            break;
    }
    return change;
}

EditHistory::Change EditHistory::apply(GridModel& model, const Step& step, bool undoing) const {
    Change change;
    switch (step.kind) {
        case Kind::Cells:
            static_cast<Block&>(change) = putCells(model, undoing ? step.before : step.after);
            return change;
        case Kind::ColumnLook: {
            putLook(model, step.position, undoing ? step.look : step.lookAfter);
            const int rows = model.store().rows();
            static_cast<Block&>(change) = {model.fixedRows(), step.position,
                                           std::max(model.fixedRows(), rows - 1), step.position};
            return change;
        }
        case Kind::ColumnDeleted:
        case Kind::ColumnInserted:
            return applyColumn(model, step, undoing);
        case Kind::RowsDeleted:
        case Kind::RowInserted:
        case Kind::HeaderRow:
            return applyRows(model, step, undoing);
    }
    return change;
}

}  // namespace sheet
