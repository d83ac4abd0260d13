#include "sheet/form_view.h"

#include "sheet/grid.h"

namespace sheet {

namespace {
constexpr int kCentre = 4;
constexpr int kRight = 7;
}  // namespace

void FormView::setUp(Grid& formView, Grid& dataSheet, int formViewWidthTwips, int flagColumn) {
    formView.setFixedRows(1);
    formView.setUserResizing(3);
    formView.setCols(2);
    formView.setRows(10);
    formView.setColWidth(0, kColumnWidth);
    formView.setColWidth(1, kColumnWidth);
    formView.setTextMatrix(0, 0, QStringLiteral("Column"));
    formView.setTextMatrix(0, 1, QStringLiteral("Value"));
    formView.setCell(CellSetting::Bold, 0, 0, 0, 1, true);
    formView.setCell(CellSetting::BackColor, 0, 0, 0, 1, kHeaderBack);
    formView.setCell(CellSetting::ForeColor, 0, 0, 0, 1, kHeaderFore);
    formView.setCell(CellSetting::Alignment, 0, 0, 0, 1, kCentre);
    const int valueWidth = formViewWidthTwips - formView.colWidth(0);
    if (valueWidth > 0) {
        formView.setColWidth(1, valueWidth);
    }
    if (flagColumn >= 0 && flagColumn < dataSheet.cols()) {
        dataSheet.setColWidth(flagColumn, kFlagColumnWidth);
    }
}

void FormView::fillTitles(Grid& formView, const Grid& dataSheet) {
    const int columns = dataSheet.cols();
    if (formView.rows() < columns + 1) {
        formView.setRows(columns + 1);
    }
    for (int c = 0; c < columns; ++c) {
        formView.setTextMatrix(c + 1, 0, dataSheet.textMatrix(0, c));
        formView.setCell(CellSetting::Alignment, c + 1, 0, kRight);
    }
}

}  // namespace sheet
