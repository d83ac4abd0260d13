#include "sheet/form_view.h"

#include "sheet/grid.h"

namespace sheet {

namespace {
constexpr int kCentre = 4;
constexpr int kRight = 7;
}  // namespace

void FormView::setUp(Grid& fb, Grid& fa, int fbWidthTwips, int flagColumn) {
    fb.setFixedRows(1);
    fb.setUserResizing(3);
    fb.setCols(2);
    fb.setRows(10);
    fb.setColWidth(0, kColumnWidth);
    fb.setColWidth(1, kColumnWidth);
    fb.setTextMatrix(0, 0, QStringLiteral("Column"));
    fb.setTextMatrix(0, 1, QStringLiteral("Value"));
    fb.setCell(CellSetting::Bold, 0, 0, 0, 1, true);
    fb.setCell(CellSetting::BackColor, 0, 0, 0, 1, kHeaderBack);
    fb.setCell(CellSetting::ForeColor, 0, 0, 0, 1, kHeaderFore);
    fb.setCell(CellSetting::Alignment, 0, 0, 0, 1, kCentre);
    const int valueWidth = fbWidthTwips - fb.colWidth(0);
    if (valueWidth > 0) {
        fb.setColWidth(1, valueWidth);
    }
    if (flagColumn >= 0 && flagColumn < fa.cols()) {
        fa.setColWidth(flagColumn, kFlagColumnWidth);
    }
}

void FormView::fillTitles(Grid& fb, const Grid& fa) {
    const int columns = fa.cols();
    if (fb.rows() < columns + 1) {
        fb.setRows(columns + 1);
    }
    for (int c = 0; c < columns; ++c) {
        fb.setTextMatrix(c + 1, 0, fa.textMatrix(0, c));
        fb.setCell(CellSetting::Alignment, c + 1, 0, kRight);
    }
}

}  // namespace sheet
