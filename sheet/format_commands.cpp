#include "sheet/format_commands.h"

#include <algorithm>
#include <iterator>

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

FormatCommands::FormatCommands(Grid& fa, SheetState& state) : fa_(fa), state_(state) {}

CellBlock FormatCommands::styleRange(const Grid& fa, bool blockMode) {
    // The title row is no data cell: a sheet of titles alone has nothing to
    // format, and the selection never reaches above the first data row.
    if (fa.rows() <= fa.fixedRows() || fa.cols() <= 0) {
        return {};
    }
    const int row1 = fa.row(), row2 = fa.rowSel();
    CellBlock block = blockMode ? CellBlock{row1, fa.col(), row2, fa.colSel()}
                                : CellBlock{row1, 0, row2, fa.cols() - 1};
    if (block.row1 > block.row2) {
        std::swap(block.row1, block.row2);
    }
    if (block.col1 > block.col2) {
        std::swap(block.col1, block.col2);
    }
    block.row1 = std::max(block.row1, fa.fixedRows());
    block.row2 = std::min(block.row2, fa.rows() - 1);
    block.col1 = std::max(block.col1, 0);
    block.col2 = std::min(block.col2, fa.cols() - 1);
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
    const CellBlock range = styleRange(fa_, blockMode);
    if (range.isEmpty()) {
        return state;
    }
    state = !state;
    fa_.setCell(style, range.row1, range.col1, range.row2, range.col2, state);
    return state;
}

void FormatCommands::applyForeColor(uint32_t color, bool blockMode) {
    const CellBlock range = styleRange(fa_, blockMode);
    if (!range.isEmpty()) {
        fa_.setCell(CellSetting::ForeColor, range.row1, range.col1, range.row2, range.col2,
                    QVariant::fromValue(qlonglong(color)));
    }
}

bool FormatCommands::setColumnFormat(const QString& format) {
    const int col = fa_.col();
    if (col < 0 || col >= fa_.cols()) {
        return false;
    }
    fa_.setColFormat(col, format);
    return true;
}

bool FormatCommands::toggleMerge() {
    const int col = fa_.col();
    if (col < 0 || col >= fa_.cols()) {
        return false;
    }
    const bool merge = !fa_.colMerge(col);
    fa_.setColMerge(col, merge);
    return merge;
}

std::span<const ColumnFormatEntry> FormatCommands::columnFormats() {
    return kColumnFormats;
}

}  // namespace sheet
