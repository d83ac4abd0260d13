#include "sheet_driving.h"

#include <QTest>

QModelIndex cellIndex(sheet::Grid& grid, int row, int col) {
    return grid.model()->index(row - grid.fixedRows(), col);
}

QPoint cellCentre(sheet::Grid& grid, int row, int col) {
    const QModelIndex index = cellIndex(grid, row, col);
    grid.scrollTo(index);
    return grid.visualRect(index).center();
}

void clickCell(sheet::Grid& grid, int row, int col, Qt::KeyboardModifiers keys) {
    const QModelIndex index = cellIndex(grid, row, col);
    grid.scrollTo(index);
    const QRect rect = grid.visualRect(index);
    QVERIFY2(rect.isValid(), "the cell is on screen");
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, keys, rect.center());
}

void doubleClickCell(sheet::Grid& grid, int row, int col) {
    const QPoint at = cellCentre(grid, row, col);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
}
