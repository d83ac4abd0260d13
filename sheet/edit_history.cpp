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
    const CellStore& store = model.store();
    std::tie(row1, col1, row2, col2) = store.clip(row1, col1, row2, col2);
    begin(Kind::Cells, state, label, row1);
    std::vector<int> rows(static_cast<std::size_t>(std::max(0, row2 - row1 + 1)));
    std::iota(rows.begin(), rows.end(), row1);
    if (!pending_->before.capture(store, std::move(rows), col1, col2, room())) {
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
    if (!pending_->before.capture(store, std::move(rows), 0, store.cols() - 1, room())) {
        clear();
        return false;
    }
    return true;
}

bool EditHistory::beforeColumnDeleted(const GridModel& model, const SheetState& state,
                                      const QString& label, int col) {
    const CellStore& store = model.store();
    if (col < 0 || col >= store.cols()) {
        pending_.reset();
        return true;  // nothing will be deleted
    }
    begin(Kind::ColumnDeleted, state, label, col);
    const SheetColumn& column = store.column(col);
    pending_->look = {column.width, column.alignment, column.dataType, column.format, column.merge};
    std::vector<int> rows(static_cast<std::size_t>(store.rows()));
    std::iota(rows.begin(), rows.end(), 0);
    if (!pending_->before.capture(store, std::move(rows), col, col, room())) {
        clear();
        return false;
    }
    return true;
}

void EditHistory::beforeRowInserted(const SheetState& state, const QString& label, int row) {
    begin(Kind::RowInserted, state, label, row);
}

void EditHistory::beforeColumnInserted(const SheetState& state, const QString& label, int col) {
    begin(Kind::ColumnInserted, state, label, col);
}

bool EditHistory::after(const GridModel& model, const SheetState& state) {
    if (!pending_) {
        return false;
    }
    Step step = std::move(*pending_);
    pending_.reset();
    step.marksAfter = marksOf(state);
    if (step.kind == Kind::Cells) {
        const CellSnapshot& before = step.before;
        if (!step.after.capture(model.store(), before.rows(), before.firstColumn(),
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
    return true;
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
    pending_.reset();
    bytes_ = 0;
}

std::optional<EditHistory::Block> EditHistory::undo(GridModel& model, SheetState& state) {
    if (undo_.empty()) {
        return std::nullopt;
    }
    Step step = std::move(undo_.back());
    undo_.pop_back();
    const Block block = apply(model, step, true);
    applyMarks(step.marksBefore, state);
    redo_.push_back(std::move(step));
    return block;
}

std::optional<EditHistory::Block> EditHistory::redo(GridModel& model, SheetState& state) {
    if (redo_.empty()) {
        return std::nullopt;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    const Block block = apply(model, step, false);
    applyMarks(step.marksAfter, state);
    undo_.push_back(std::move(step));
    return block;
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

EditHistory::Block EditHistory::removeColumn(GridModel& model, int col) const {
    const int last = model.store().cols() - 1;
    model.moveColumn(col, last);
    model.setCols(last);
    const int shown = std::clamp(col, 0, std::max(0, last - 1));
    return {model.fixedRows(), shown, model.fixedRows(), shown};
}

EditHistory::Block EditHistory::restoreColumn(GridModel& model, const Step& step) const {
    const int last = model.store().cols();
    model.setCols(last + 1);
    const ColumnLook& look = step.look;
    model.changeColumn(last, [&look](SheetColumn& column) {
        column.width = look.width;
        column.alignment = look.alignment;
        column.dataType = look.dataType;
        column.format = look.format;
        column.merge = look.merge;
    });
    model.moveColumn(last, step.position);
    putCells(model, step.before);
    const int rows = model.store().rows();
    return {model.fixedRows(), step.position, std::max(model.fixedRows(), rows - 1), step.position};
}

EditHistory::Block EditHistory::apply(GridModel& model, const Step& step, bool undoing) const {
    const int lastCol = std::max(0, model.store().cols() - 1);
    const int position = step.position;
    switch (step.kind) {
        case Kind::Cells:
            return putCells(model, undoing ? step.before : step.after);
        case Kind::RowsDeleted:
            if (!undoing) {
                model.removeRowList(step.before.rows());
                return {position, 0, position, lastCol};
            }
            model.insertRowList(step.before.rows());
            return putCells(model, step.before);
        case Kind::RowInserted:
            if (undoing) {
                model.removeRowList({position});
            } else {
                model.insertRowList(std::vector<int>{position});
            }
            return {position, 0, position, lastCol};
        case Kind::ColumnDeleted:
            return undoing ? restoreColumn(model, step) : removeColumn(model, position);
        case Kind::ColumnInserted:
            if (undoing) {
                return removeColumn(model, position);
            }
            model.setCols(model.store().cols() + 1);
            model.moveColumn(model.store().cols() - 1, position);
            return {model.fixedRows(), position, model.fixedRows(), position};
    }
    return {};
}

}  // namespace sheet
