#include "sheet/edit_commands.h"

#include <algorithm>
#include <vector>

#include "sheet/edit_history.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet/sheet_update.h"

namespace sheet {

EditCommands::EditCommands(Grid& dataSheet, SheetState& state, EditHistory* history)
    : dataSheet_(dataSheet), state_(state), history_(history) {}

void EditCommands::recordCells(const QString& label, const std::vector<int>& rows, int col1,
                               int col2) {
    if (history_) {
        history_->beforeCells(*dataSheet_.gridModel(), state_, label, rows, col1, col2);
    }
}

void EditCommands::recorded() {
    if (history_) {
        history_->after(*dataSheet_.gridModel(), state_);
    }
}

QString EditCommands::cut() {
    const QString text = dataSheet_.clip();
    const Grid::ClipCells cells = dataSheet_.clipCells();
    if (cells.isEmpty()) {
        return text;
    }
    recordCells(QStringLiteral("Cut"), cells.rows, cells.col1, cells.col2);
    // Exactly the copied block loses its text, so nothing is lost unseen.
    dataSheet_.clearClip();
    recorded();
    return text;
}

void EditCommands::paste(const QString& text) {
    const Grid::ClipCells cells = dataSheet_.clipCells(text);
    if (cells.isEmpty()) {
        return;
    }
    recordCells(QStringLiteral("Paste"), cells.rows, cells.col1, cells.col2);
    dataSheet_.setClip(text);
    recorded();
}

void EditCommands::selectAll() {
    dataSheet_.select(1, 0, dataSheet_.rows() - 1, dataSheet_.cols() - 1);
    state_.lastFocusedPane = FocusedPane::DataSheet;
}

// After a shape change the current cell is put back at its index, as the
// commands promise; a Qt view would let it follow the row or column it was on.
void EditCommands::placeCurrent(int row, int col) {
    row = std::min(row, dataSheet_.rows() - 1);
    col = std::clamp(col, 0, std::max(dataSheet_.cols() - 1, 0));
    if (row >= dataSheet_.fixedRows() && dataSheet_.cols() > 0) {
        dataSheet_.select(row, col, row, col);
        dataSheet_.scrollTo(dataSheet_.currentIndex());
    }
}

bool EditCommands::insertRow() {
    // With no data row the current row reads as the title row; the new row
    // must still go below the titles.
    const int at = std::max(dataSheet_.row(), dataSheet_.fixedRows());
    const int col = dataSheet_.col();
    const int before = dataSheet_.rows();
    dataSheet_.setRows(before + 1);
    if (dataSheet_.rows() == before) {
        return false;  // the sheet is at its size limit
    }
    if (history_) {
        history_->beforeRowInserted(state_, QStringLiteral("Insert Row"), at);
    }
    dataSheet_.setRowPosition(dataSheet_.rows() - 1, at);
    recorded();
    placeCurrent(at, col);
    return true;
}

bool EditCommands::insertColumn() {
    const int at = std::clamp(dataSheet_.col(), 0, dataSheet_.cols());
    const int row = dataSheet_.row();
    const int before = dataSheet_.cols();
    dataSheet_.setCols(before + 1);
    if (dataSheet_.cols() == before) {
        return false;  // the sheet is at its size limit
    }
    if (history_) {
        history_->beforeColumnInserted(state_, QStringLiteral("Insert Column"), at);
    }
    dataSheet_.setColPosition(dataSheet_.cols() - 1, at);
    if (state_.flagColumnPresent && state_.flagColumn >= at) {
        ++state_.flagColumn;
    }
    if (state_.sortedColumn >= at) {
        ++state_.sortedColumn;  // the marker travelled with its title
    }
    recorded();
    placeCurrent(row, at);
    return true;
}

int EditCommands::deleteRows() {
    std::vector<int> rows;
    const int selected = dataSheet_.selectedRows();
    rows.reserve(std::size_t(std::max(selected, 1)));
    for (int i = 0; i < selected; ++i) {
        rows.push_back(dataSheet_.selectedRow(i));
    }
    std::erase_if(
        rows, [this](int row) { return row < dataSheet_.fixedRows() || row >= dataSheet_.rows(); });
    if (rows.empty() && dataSheet_.row() >= dataSheet_.fixedRows() &&
        dataSheet_.row() < dataSheet_.rows()) {
        rows.push_back(dataSheet_.row());
    }
    if (rows.empty()) {
        return 0;
    }
    const int col = dataSheet_.col();
    const int first = *std::min_element(rows.begin(), rows.end());
    const int count = int(rows.size());
    if (history_) {
        history_->beforeRowsDeleted(*dataSheet_.gridModel(), state_, QStringLiteral("Delete Rows"),
                                    rows);
    }
    dataSheet_.removeItems(std::move(rows));
    recorded();
    placeCurrent(first, col);
    return count;
}

EditCommands::ColumnDeleted EditCommands::deleteColumn() {
    if (dataSheet_.cols() <= 0) {
        return ColumnDeleted::None;
    }
    const int col = std::clamp(dataSheet_.col(), 0, dataSheet_.cols() - 1);
    const int row = dataSheet_.row();
    if (history_) {
        history_->beforeColumnDeleted(*dataSheet_.gridModel(), state_,
                                      QStringLiteral("Delete Column"), col);
    }
    dataSheet_.setColPosition(col, dataSheet_.cols() - 1);
    dataSheet_.setCols(dataSheet_.cols() - 1);
    ColumnDeleted deleted = ColumnDeleted::Data;
    if (state_.flagColumnPresent && state_.flagColumn == col) {
        // Left in place, the flag state would have the flag commands write
        // into whatever column now stands at this index.
        state_.flagColumnPresent = false;
        deleted = ColumnDeleted::Flag;
    } else if (state_.flagColumnPresent && state_.flagColumn > col) {
        --state_.flagColumn;
    }
    if (state_.sortedColumn > col) {
        --state_.sortedColumn;
    }
    recorded();
    placeCurrent(row, col);
    return deleted;
}

bool EditCommands::setColumnTitle(const QString& title) {
    if (title.isEmpty() || dataSheet_.cols() <= 0) {
        return false;
    }
    const int col = dataSheet_.col();
    recordCells(QStringLiteral("Column Title"), {0}, col, col);
    dataSheet_.setTextMatrix(0, col, title);
    recorded();
    return true;
}

bool EditCommands::setHeaderRow() {
    const int row = dataSheet_.row();
    if (row < dataSheet_.fixedRows() || row >= dataSheet_.rows() || dataSheet_.fixedRows() == 0) {
        return false;  // promoting the title row to itself would only lose a row
    }
    const int col = dataSheet_.col();
    if (history_) {
        history_->beforeHeaderRow(*dataSheet_.gridModel(), state_,
                                  QStringLiteral("Set Column Header Row"), row);
    }
    for (int c = 0; c < dataSheet_.cols(); ++c) {
        if (!(state_.flagColumnPresent && c == state_.flagColumn)) {
            dataSheet_.setTextMatrix(0, c, dataSheet_.textMatrix(row, c));
        }
    }
    dataSheet_.removeItem(row);
    recorded();
    placeCurrent(row, col);
    return true;
}

}  // namespace sheet
