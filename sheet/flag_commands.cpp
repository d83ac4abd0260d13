#include "sheet/flag_commands.h"

#include <QString>

#include "sheet/column_types.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"

namespace sheet {

FlagCommands::FlagCommands(Grid& dataSheet, Grid& formView, SheetState& state, QPixmap blank)
    : dataSheet_(dataSheet), formView_(formView), state_(state), blank_(std::move(blank)) {}

// A stale index (the column was removed behind our back) must never make a
// flag command write into some other column or past the sheet's edge.
bool FlagCommands::usable() const {
    return state_.flagColumnPresent && state_.flagColumn >= 0 &&
           state_.flagColumn < dataSheet_.cols();
}

void FlagCommands::addColumn() {
    const int last = dataSheet_.cols();
    dataSheet_.setCols(last + 1);
    dataSheet_.setColPosition(last, 0);
    dataSheet_.setColWidth(0, kWidth);
    dataSheet_.setColDataType(0, kEmptyType);
    dataSheet_.setTextMatrix(0, 0, QString::fromLatin1(kTitle));
    formView_.setRows(dataSheet_.cols() + 1);
    state_.flagColumnPresent = true;
    state_.flagColumn = 0;
}

bool FlagCommands::isFlagged(int row) const {
    return usable() && !dataSheet_.textMatrix(row, state_.flagColumn).isEmpty();
}

void FlagCommands::setFlag(int row, bool flagged) {
    const int col = state_.flagColumn;
    dataSheet_.setCellPicture(row, col, row, col, flagged ? state_.flagPicture : blank_);
    dataSheet_.setTextMatrix(row, col, flagged ? QStringLiteral(" ") : QString());
}

void FlagCommands::showInFormView(bool flagged) {
    const int formRow = state_.flagColumn + 1;
    if (formRow < formView_.rows() && formView_.cols() > 1) {
        formView_.setCellPicture(formRow, 1, formRow, 1, flagged ? state_.flagPicture : blank_);
    }
}

bool FlagCommands::toggleCurrentRow() {
    const int row = dataSheet_.row();
    if (!usable() || row < dataSheet_.fixedRows() || row >= dataSheet_.rows()) {
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
    const int current = dataSheet_.row();
    const bool flagged = current >= dataSheet_.fixedRows() && current < dataSheet_.rows()
                             ? !isFlagged(current)
                             : true;
    int count = 0;
    const int selected = dataSheet_.selectedRows();
    for (int i = 0; i < selected; ++i) {
        const int row = dataSheet_.selectedRow(i);
        if (row >= 1 && row < dataSheet_.rows()) {
            setFlag(row, flagged);
            ++count;
        }
    }
    showInFormView(flagged);
    return count;
}

void FlagCommands::refindColumn() {
    for (int c = 0; c < dataSheet_.cols(); ++c) {
        if (dataSheet_.textMatrix(0, c) == QLatin1String(kTitle)) {
            state_.flagColumn = c;
            return;
        }
    }
}

void FlagCommands::keepWidth() {
    if (usable() && dataSheet_.colWidth(state_.flagColumn) != kWidth) {
        dataSheet_.setColWidth(state_.flagColumn, kWidth);
    }
}

}  // namespace sheet
