#include "sheet/flag_commands.h"

#include <QString>

#include "sheet/grid.h"
#include "sheet/sheet_update.h"

namespace sheet {

FlagCommands::FlagCommands(Grid& fa, Grid& fb, SheetState& state, QPixmap blank)
    : fa_(fa), fb_(fb), state_(state), blank_(std::move(blank)) {}

// A stale index (the column was removed behind our back) must never make a
// flag command write into some other column or past the sheet's edge.
bool FlagCommands::usable() const {
    return state_.flagColumnPresent && state_.flagColumn >= 0 && state_.flagColumn < fa_.cols();
}

void FlagCommands::addColumn() {
    constexpr int kEmptyType = 0;
    const int last = fa_.cols();
    fa_.setCols(last + 1);
    fa_.setColPosition(last, 0);
    fa_.setColWidth(0, kWidth);
    fa_.setColDataType(0, kEmptyType);
    fa_.setTextMatrix(0, 0, QString::fromLatin1(kTitle));
    fb_.setRows(fa_.cols() + 1);
    state_.flagColumnPresent = true;
    state_.flagColumn = 0;
}

bool FlagCommands::isFlagged(int row) const {
    return usable() && !fa_.textMatrix(row, state_.flagColumn).isEmpty();
}

void FlagCommands::setFlag(int row, bool flagged) {
    const int col = state_.flagColumn;
    fa_.setCellPicture(row, col, row, col, flagged ? state_.flagPicture : blank_);
    fa_.setTextMatrix(row, col, flagged ? QStringLiteral(" ") : QString());
}

void FlagCommands::showInFormView(bool flagged) {
    const int formRow = state_.flagColumn + 1;
    if (formRow < fb_.rows() && fb_.cols() > 1) {
        fb_.setCellPicture(formRow, 1, formRow, 1, flagged ? state_.flagPicture : blank_);
    }
}

bool FlagCommands::toggleCurrentRow() {
    const int row = fa_.row();
    if (!usable() || row < fa_.fixedRows() || row >= fa_.rows()) {
        return false;
    }
    const bool flagged = !isFlagged(row);
    setFlag(row, flagged);
    showInFormView(flagged);
    return true;
}

int FlagCommands::toggleSelectedRows() {
    if (!usable()) {
        return 0;
    }
    const int current = fa_.row();
    const bool flagged =
        current >= fa_.fixedRows() && current < fa_.rows() ? !isFlagged(current) : true;
    int count = 0;
    const int selected = fa_.selectedRows();
    for (int i = 0; i < selected; ++i) {
        const int row = fa_.selectedRow(i);
        if (row >= 1 && row < fa_.rows()) {
            setFlag(row, flagged);
            ++count;
        }
    }
    showInFormView(flagged);
    return count;
}

void FlagCommands::refindColumn() {
    for (int c = 0; c < fa_.cols(); ++c) {
        if (fa_.textMatrix(0, c) == QLatin1String(kTitle)) {
            state_.flagColumn = c;
            return;
        }
    }
}

void FlagCommands::keepWidth() {
    if (usable() && fa_.colWidth(state_.flagColumn) != kWidth) {
        fa_.setColWidth(state_.flagColumn, kWidth);
    }
}

}  // namespace sheet
