// Mouse gestures on the main window's sheet as a user makes them, addressed
// by sheet row and column (row 0 is the title row, which the view shows as
// its header).
#pragma once

#include <QModelIndex>
#include <QPoint>

#include "sheet/grid.h"

#include <QString>

// "r<row>c<col>": the text fillSheet puts into a data cell.
QString cellText(int row, int col);

// Titles titlePrefix + column number, and cellText in rows 1..lastRow of
// every column.
void fillSheet(sheet::Grid& grid, int lastRow,
               const QString& titlePrefix = QStringLiteral("Title"));

// The view's index of a data cell: model rows start below the title row.
QModelIndex cellIndex(sheet::Grid& grid, int row, int col);

// Scrolls the cell into view and gives its centre in viewport coordinates.
QPoint cellCentre(sheet::Grid& grid, int row, int col);

// A left click on the cell, with keys held; fails the test if the cell
// cannot be brought on screen.
void clickCell(sheet::Grid& grid, int row, int col, Qt::KeyboardModifiers keys = {});

// A click then a double-click on the cell, as a real double-click arrives.
void doubleClickCell(sheet::Grid& grid, int row, int col);
