#include "sheet/format_commands.h"

#include <algorithm>
#include <iterator>

#include "sheet/edit_history.h"
#include "sheet/grid_model.h"
#include "sheet/sheet_update.h"

namespace sheet {

namespace {

const ColumnFormatEntry kColumnFormats[] = {
    {"mnuFormat0", "mnuPU0", "0"},
    {"mnuFormat00", "mnuPU000", "0.00"},
    {"mnuFormatComma", "mnuPUComma", "#,###"},
    {"mnuFormatComma00", "mnuPUComma00", "#,###.00"},
    {"mnuFormatDollarComma", "mnuPUDollarComma", "$#,###"},
    {"mnuFormatDollarComma00", "mnuPUDollarComma00", "$#,###.00"},
};

}  // namespace

FormatCommands::FormatCommands(Grid& dataSheet, SheetState& state, EditHistory* history)
    : dataSheet_(dataSheet), state_(state), history_(history) {}

CellBlock FormatCommands::styleRange(const Grid& dataSheet, bool blockMode) {
    // The title row is no data cell: a sheet of titles alone has nothing to
    // format, and the selection never reaches above the first data row.
    if (dataSheet.rows() <= dataSheet.fixedRows() || dataSheet.cols() <= 0) {
        return {};
    }
    const int row1 = dataSheet.row(), row2 = dataSheet.rowSel();
    CellBlock block = blockMode ? CellBlock{row1, dataSheet.col(), row2, dataSheet.colSel()}
                                : CellBlock{row1, 0, row2, dataSheet.cols() - 1};
    if (block.row1 > block.row2) {
        std::swap(block.row1, block.row2);
    }
    if (block.col1 > block.col2) {
        std::swap(block.col1, block.col2);
    }
    block.row1 = std::max(block.row1, dataSheet.fixedRows());
    block.row2 = std::min(block.row2, dataSheet.rows() - 1);
    block.col1 = std::max(block.col1, 0);
    block.col2 = std::min(block.col2, dataSheet.cols() - 1);
    return block;
}

bool& FormatCommands::stateOf(CellSetting style) {
    switch (style) {
        case CellSetting::Italic:
            return state_.italicState;
        case CellSetting::Underline:
            return state_.underlineState;
        default:
            return state_.boldState;
    }
}

bool FormatCommands::toggleStyle(CellSetting style, bool blockMode) {
    bool& state = stateOf(style);
    const CellBlock range = styleRange(dataSheet_, blockMode);
    if (range.isEmpty()) {
        return state;
    }
    state = !state;
    const char* const label = style == CellSetting::Italic      ? "Italic"
                              : style == CellSetting::Underline ? "Underline"
                                                                : "Bold";
    setOnRange(range, style, state, QString::fromLatin1(label));
    return state;
}

void FormatCommands::applyForeColor(uint32_t color, bool blockMode) {
    const CellBlock range = styleRange(dataSheet_, blockMode);
    if (!range.isEmpty()) {
        setOnRange(range, CellSetting::ForeColor, QVariant::fromValue(qlonglong(color)),
                   QStringLiteral("Font Color"));
    }
}

void FormatCommands::setOnRange(const CellBlock& range, CellSetting setting, const QVariant& value,
                                const QString& label) {
    GridModel& model = *dataSheet_.gridModel();
    if (history_) {
        history_->beforeCells(model, state_, label, range.row1, range.col1, range.row2, range.col2);
    }
    dataSheet_.setCell(setting, range.row1, range.col1, range.row2, range.col2, value);
    if (history_) {
        history_->after(model, state_);
    }
}

bool FormatCommands::setColumnFormat(const QString& format) {
    const int col = dataSheet_.col();
    if (col < 0 || col >= dataSheet_.cols()) {
        return false;
    }
    GridModel& model = *dataSheet_.gridModel();
    if (history_) {
        history_->beforeColumnLook(model, state_, QStringLiteral("Column Format"), col);
    }
    dataSheet_.setColFormat(col, format);
    if (history_) {
        history_->after(model, state_);
    }
    return true;
}

bool FormatCommands::toggleMerge() {
    const int col = dataSheet_.col();
    if (col < 0 || col >= dataSheet_.cols()) {
        return false;
    }
    const bool merge = !dataSheet_.colMerge(col);
    dataSheet_.setColMerge(col, merge);
    return merge;
}

std::span<const ColumnFormatEntry> FormatCommands::columnFormats() {
    return kColumnFormats;
}

}  // namespace sheet
