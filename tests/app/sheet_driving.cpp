#include "sheet_driving.h"

#include <QTest>

QString cellText(int row, int col) {
    return QStringLiteral("r%1c%2").arg(row).arg(col);
}

void fillSheet(sheet::Grid& grid, int lastRow, const QString& titlePrefix) {
    for (int c = 0; c < grid.cols(); ++c) {
        grid.setTextMatrix(0, c, titlePrefix + QString::number(c));
        for (int r = 1; r <= lastRow; ++r) {
            grid.setTextMatrix(r, c, cellText(r, c));
        }
    }
}

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
