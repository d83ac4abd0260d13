#include "sheet/edit_commands.h"

#include <algorithm>
#include <vector>

#include "sheet/grid.h"
#include "sheet/sheet_update.h"

namespace sheet {

EditCommands::EditCommands(Grid& fa, SheetState& state) : fa_(fa), state_(state) {}

QString EditCommands::cut() {
    const QString text = fa_.clip();
    // Exactly the copied block loses its text, so nothing is lost unseen.
    fa_.clearClip();
    return text;
}

void EditCommands::paste(const QString& text) {
    if (!text.isEmpty()) {
        fa_.setClip(text);
    }
}

void EditCommands::selectAll() {
    fa_.select(1, 0, fa_.rows() - 1, fa_.cols() - 1);
    state_.lastFocusedPane = FocusedPane::DataSheet;
}

// After a shape change the current cell is put back at its index, as the
// commands promise; a Qt view would let it follow the row or column it was on.
void EditCommands::placeCurrent(int row, int col) {
    row = std::min(row, fa_.rows() - 1);
    col = std::clamp(col, 0, std::max(fa_.cols() - 1, 0));
    if (row >= fa_.fixedRows() && fa_.cols() > 0) {
        fa_.select(row, col, row, col);
        fa_.scrollTo(fa_.currentIndex());
    }
}

bool EditCommands::insertRow() {
    // With no data row the current row reads as the title row; the new row
    // must still go below the titles.
    const int at = std::max(fa_.row(), fa_.fixedRows());
    const int col = fa_.col();
    const int before = fa_.rows();
    fa_.setRows(before + 1);
    if (fa_.rows() == before) {
        return false;  // the sheet is at its size limit
    }
    fa_.setRowPosition(fa_.rows() - 1, at);
    placeCurrent(at, col);
    return true;
}

bool EditCommands::insertColumn() {
    const int at = std::clamp(fa_.col(), 0, fa_.cols());
    const int row = fa_.row();
    const int before = fa_.cols();
    fa_.setCols(before + 1);
    if (fa_.cols() == before) {
        return false;  // the sheet is at its size limit
    }
    fa_.setColPosition(fa_.cols() - 1, at);
    if (state_.flagColumnPresent && state_.flagColumn >= at) {
        ++state_.flagColumn;
    }
    if (state_.sortedColumn >= at) {
        ++state_.sortedColumn;  // the marker travelled with its title
    }
    placeCurrent(row, at);
    return true;
}

int EditCommands::deleteRows() {
    std::vector<int> rows;
    const int selected = fa_.selectedRows();
    rows.reserve(std::size_t(std::max(selected, 1)));
    for (int i = 0; i < selected; ++i) {
        rows.push_back(fa_.selectedRow(i));
    }
    std::erase_if(rows, [this](int row) { return row < fa_.fixedRows() || row >= fa_.rows(); });
    if (rows.empty() && fa_.row() >= fa_.fixedRows() && fa_.row() < fa_.rows()) {
        rows.push_back(fa_.row());
    }
    if (rows.empty()) {
        return 0;
    }
    const int col = fa_.col();
    const int first = *std::min_element(rows.begin(), rows.end());
    const int count = int(rows.size());
    fa_.removeItems(std::move(rows));
    placeCurrent(first, col);
    return count;
}

EditCommands::ColumnDeleted EditCommands::deleteColumn() {
    if (fa_.cols() <= 0) {
        return ColumnDeleted::None;
    }
    const int col = std::clamp(fa_.col(), 0, fa_.cols() - 1);
    const int row = fa_.row();
    fa_.setColPosition(col, fa_.cols() - 1);
    fa_.setCols(fa_.cols() - 1);
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
    placeCurrent(row, col);
    return deleted;
}

bool EditCommands::setColumnTitle(const QString& title) {
    if (title.isEmpty() || fa_.cols() <= 0) {
        return false;
    }
    fa_.setTextMatrix(0, fa_.col(), title);
    return true;
}

bool EditCommands::setHeaderRow() {
    const int row = fa_.row();
    if (row < fa_.fixedRows() || row >= fa_.rows() || fa_.fixedRows() == 0) {
        return false;  // promoting the title row to itself would only lose a row
    }
    const int col = fa_.col();
    for (int c = 0; c < fa_.cols(); ++c) {
        if (!(state_.flagColumnPresent && c == state_.flagColumn)) {
            fa_.setTextMatrix(0, c, fa_.textMatrix(row, c));
        }
    }
    fa_.removeItem(row);
    placeCurrent(row, col);
    return true;
}

}  // namespace sheet
