// The grid widget, driven headless: shape, current cell and selection, block
// text, cell properties, title clicks that sort, title drags that move a
// column, column widths, find as you type, editing and what gets painted.
#include "sheet/column_types.h"
#include "sheet/grid.h"
#include "sheet/grid_header.h"
#include "sheet/grid_model.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using sheet::CellInput;
using sheet::CellSetting;
using sheet::Grid;

namespace {
void fill(Grid& grid, const QStringList& titles, const QList<QStringList>& rows) {
    grid.beginFill(std::vector<QString>(titles.begin(), titles.end()));
    for (const QStringList& row : rows) {
        std::vector<QByteArray> bytes;
        std::vector<CellInput> cells;
        for (const QString& text : row) {
            bytes.push_back(text.toUtf8());
        }
        for (const QByteArray& b : bytes) {
            cells.push_back({std::string_view(b.constData(), b.size())});
        }
        grid.appendRow(cells);
    }
    grid.endFill();
}

QString column(const Grid& grid, int col) {
    QStringList texts;
    for (int r = 0; r < grid.rows(); ++r) {
        texts << grid.textMatrix(r, col);
    }
    return texts.join(u'|');
}

QPoint titleCentre(Grid& grid, int col) {
    QHeaderView* header = grid.horizontalHeader();
    return QPoint(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                  header->height() / 2);
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}
}  // namespace

class TestGrid : public QObject {
    Q_OBJECT
  private slots:
    // A blank picture (what clears a sort marker) leaves the title its whole
    // width: a narrow title looks as if it never had a picture, while a
    // visible marker does take room.
    void blankTitlePictureLeavesTheTitleWhole() {
        Grid grid;
        grid.setRows(3);
        grid.setCols(2);
        grid.setTextMatrix(0, 0, QStringLiteral("Flag"));
        grid.setColWidth(0, 600);
        grid.resize(300, 200);
        grid.show();
        QHeaderView* header = grid.horizontalHeader();
        const QRect section(header->sectionViewportPosition(0), 0, header->sectionSize(0),
                            header->height());
        const QImage plain = header->grab(section).toImage();

        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        grid.setCell(CellSetting::PictureAlignment, 0, 0, 7);
        grid.setCellPicture(0, 0, 0, 0, blank);
        QCOMPARE(header->grab(section).toImage(), plain);

        QPixmap marker(16, 16);
        marker.fill(Qt::black);
        grid.setCellPicture(0, 0, 0, 0, marker);
        QVERIFY(header->grab(section).toImage() != plain);
    }

    void shapeAndFixedRow() {
        Grid grid;
        grid.setRows(50);
        grid.setCols(9);
        QCOMPARE(grid.rows(), 50);
        QCOMPARE(grid.cols(), 9);
        QCOMPARE(grid.fixedRows(), 1);
        QCOMPARE(grid.model()->rowCount(), 49);
        grid.setTextMatrix(0, 3, QStringLiteral("Title"));
        grid.setTextMatrix(49, 8, QStringLiteral("last"));
        QCOMPARE(grid.textMatrix(0, 3), QStringLiteral("Title"));
        QCOMPARE(grid.textMatrix(49, 8), QStringLiteral("last"));
        grid.setRows(10);
        QCOMPARE(grid.textMatrix(49, 8), QString());
        grid.setFixedRows(0);
        QVERIFY(grid.horizontalHeader()->isHidden());
        QCOMPARE(grid.model()->rowCount(), 10);
        grid.setFixedCols(2);  // accepted, nothing freezes
        QCOMPARE(grid.fixedCols(), 2);
    }

    void currentCellAndBlockSelection() {
        Grid grid;
        fill(grid, {"A", "B", "C"}, {{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}});
        QCOMPARE(grid.row(), 1);
        QCOMPARE(grid.col(), 0);
        grid.select(3, 2, 2, 1);
        QCOMPARE(grid.row(), 3);
        QCOMPARE(grid.col(), 2);
        QCOMPARE(grid.rowSel(), 2);
        QCOMPARE(grid.colSel(), 1);
        QCOMPARE(grid.clip(), QStringLiteral("5\t6\r8\t9"));
        grid.setClip(QStringLiteral("a\tb\r\nc"));
        QCOMPARE(column(grid, 1), QStringLiteral("B|2|a|c"));
        QCOMPARE(column(grid, 2), QStringLiteral("C|3|b|9"));
        grid.setRow(1);
        grid.setCol(2);
        QCOMPARE(grid.text(), QStringLiteral("3"));
        grid.setText(QStringLiteral("three"));
        QCOMPARE(grid.textMatrix(1, 2), QStringLiteral("three"));
        grid.setRow(0);  // the title row cannot be current
        QCOMPARE(grid.row(), 1);
        // Whole rows selected with the current cell in a middle column: the
        // block still covers every column.
        grid.setSelectionModeCode(Grid::SelectListBox);
        grid.select(2, 0, 3, 2);
        grid.selectionModel()->setCurrentIndex(grid.model()->index(1, 1),
                                               QItemSelectionModel::NoUpdate);
        QCOMPARE(grid.rowSel(), 3);
        QCOMPARE(grid.colSel(), 2);
        QCOMPARE(grid.clip(), QStringLiteral("4\ta\tb\r7\tc\t9"));
    }

    void listSelectionOfWholeRows() {
        Grid grid;
        grid.setRows(10);
        grid.setCols(4);
        grid.setSelectionModeCode(Grid::SelectListBox);
        grid.select(3, 0, 3, 3);
        grid.selectionModel()->select(grid.model()->index(6, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        grid.selectionModel()->select(grid.model()->index(1, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(grid.isRowSelected(2));
        QVERIFY(grid.isRowSelected(3));
        QVERIFY(grid.isRowSelected(7));
        QVERIFY(!grid.isRowSelected(4));
        QCOMPARE(grid.selectedRows(), 3);
        QCOMPARE(grid.selectedRow(0), 2);
        QCOMPARE(grid.selectedRow(1), 3);
        QCOMPARE(grid.selectedRow(2), 7);
        QCOMPARE(grid.selectedRow(3), -1);
        QCOMPARE(grid.selectedRow(-1), -1);
    }

    void emptySheetsAreSafe() {
        Grid grid;
        QCOMPARE(grid.row(), 0);
        QCOMPARE(grid.col(), 0);
        grid.select(1, 0, 5, 5);  // nothing there to select
        QCOMPARE(grid.selectedRows(), 0);
        QCOMPARE(grid.clip(), QString());
        grid.setClip(QStringLiteral("x"));
        grid.sort(0, Grid::SortAscending);
        grid.setCols(3);
        grid.setRows(1);  // the title row only
        QCOMPARE(grid.row(), 0);
        grid.select(1, 0, 1, 2);
        grid.removeItem(5);
        grid.setRowPosition(0, 3);
        grid.setColPosition(-1, 7);
        grid.editCell();
        QCOMPARE(grid.textMatrix(7, 7), QString());
        QCOMPARE(grid.cell(CellSetting::Bold, 9, 9).toBool(), false);
        grid.setCell(CellSetting::Bold, -3, -3, 99, 99, true);  // clipped to the title row
        QVERIFY(grid.cell(CellSetting::Bold, 0, 2).toBool());
    }

    void cellPropertiesOverBlocks() {
        Grid grid;
        grid.setRows(6);
        grid.setCols(3);
        grid.setCell(CellSetting::Bold, 1, 0, 3, 2, true);
        QVERIFY(grid.cell(CellSetting::Bold, 3, 2).toBool());
        QVERIFY(!grid.cell(CellSetting::Bold, 4, 0).toBool());
        grid.setCell(CellSetting::Bold, 3, 2, 1, 0, false);  // corners in either order
        QVERIFY(!grid.cell(CellSetting::Bold, 1, 0).toBool());
        grid.setCell(CellSetting::ForeColor, 2, 1, 0x0000FF);
        QCOMPARE(grid.cell(CellSetting::ForeColor, 2, 1).toUInt(), 0x0000FFu);
        QCOMPARE(grid.cell(CellSetting::ForeColor, 2, 2).toUInt(), 0u);
        grid.setCell(CellSetting::BarFillPercent, 1, 1, 5, 1, 150.0);
        grid.setCell(CellSetting::BarColor, 1, 1, 255);
        QCOMPARE(grid.cell(CellSetting::BarFillPercent, 4, 1).toDouble(), 150.0);
        QCOMPARE(grid.cell(CellSetting::BarColor, 1, 1).toUInt(), 255u);
        grid.setCell(CellSetting::Text, 1, 2, 2, 2, QStringLiteral("same"));
        QCOMPARE(column(grid, 2), QStringLiteral("|same|same|||"));
        QPixmap flag(10, 10);
        flag.fill(Qt::red);
        grid.setCellPicture(2, 0, 4, 0, flag);
        QCOMPARE(grid.cellPicture(3, 0).cacheKey(), flag.cacheKey());
        QVERIFY(grid.cellPicture(5, 0).isNull());
        grid.setCell(CellSetting::PictureAlignment, 0, 1, 7);
        QCOMPARE(grid.cell(CellSetting::PictureAlignment, 0, 1).toInt(), 7);
        grid.setRow(2);
        grid.setCol(1);
        grid.setCellChecked(1);
        grid.setCellAlignment(4);
        grid.setCellBackColor(0x008000);
        QCOMPARE(grid.cell(CellSetting::Checked, 2, 1).toInt(), 1);
        QCOMPARE(grid.cell(CellSetting::Alignment, 2, 1).toInt(), 4);
        QCOMPARE(grid.cell(CellSetting::Alignment, 3, 1).toInt(), Grid::kGeneralAlignment);
        QCOMPARE(grid.cell(CellSetting::BackColor, 2, 1).toUInt(), 0x008000u);
        grid.clear();
        QVERIFY(grid.cellPicture(3, 0).isNull());
        QCOMPARE(grid.rows(), 6);
    }

    void columnSettingsAndWidths() {
        Grid grid;
        grid.setCols(3);
        grid.setRows(3);
        QCOMPARE(grid.colWidth(0), 1500);
        grid.setColWidth(0, 410);
        QCOMPARE(grid.colWidth(0), 410);
        QCOMPARE(grid.horizontalHeader()->sectionSize(0),
                 qRound(410 * grid.logicalDpiX() / 1440.0));
        grid.setColFormat(1, QStringLiteral("0.00"));
        grid.setTextMatrix(1, 1, QStringLiteral("2"));
        QCOMPARE(grid.model()->index(0, 1).data().toString(), QStringLiteral("2.00"));
        QCOMPARE(grid.colFormat(2), QString());
        grid.setColDataType(2, sheet::kBooleanType);
        QCOMPARE(grid.colDataType(2), 11);
        grid.setColMerge(1, true);
        QVERIFY(grid.colMerge(1));
        QVERIFY(!grid.colMerge(0));
        grid.setColAlignment(-1, 7);
        QCOMPARE(grid.colAlignment(0), 7);
        QCOMPARE(grid.colAlignment(2), 7);
        grid.setColPosition(0, 2);
        QCOMPARE(grid.colWidth(2), 410);
        QCOMPARE(grid.colFormat(0), QStringLiteral("0.00"));
    }

    void titleClicksSortBothWays() {
        Grid grid;
        grid.resize(600, 300);
        fill(grid, {"Name", "Qty"}, {{"pear", "10"}, {"Apple", "9"}, {"fig", "100"}, {"", "x"}});
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy before(&grid, &Grid::beforeSort);
        QSignalSpy after(&grid, &Grid::afterSort);
        QWidget* titles = grid.horizontalHeader()->viewport();
        QTest::mouseClick(titles, Qt::LeftButton, {}, titleCentre(grid, 1));
        QCOMPARE(before.count(), 1);
        QCOMPARE(after.count(), 1);
        QCOMPARE(before.at(0), (QList<QVariant>{1, 1}));
        QCOMPARE(after.at(0), (QList<QVariant>{1, 1}));
        QCOMPARE(column(grid, 1), QStringLiteral("Qty|9|10|100|x"));
        QTest::mouseClick(titles, Qt::LeftButton, {}, titleCentre(grid, 1));
        QCOMPARE(after.at(1), (QList<QVariant>{1, 2}));
        QCOMPARE(column(grid, 1), QStringLiteral("Qty|x|100|10|9"));
        QTest::mouseClick(titles, Qt::LeftButton, {}, titleCentre(grid, 0));
        QCOMPARE(after.at(2), (QList<QVariant>{0, 1}));
        QCOMPARE(column(grid, 0), QStringLiteral("Name||Apple|fig|pear"));
        QCOMPARE(column(grid, 1), QStringLiteral("Qty|x|9|100|10"));  // rows travel whole
    }

    void titleClickLeavesTheSelectionAlone() {
        Grid grid;
        grid.resize(600, 300);
        fill(grid, {"A", "B"}, {{"2", "x"}, {"1", "y"}, {"3", "z"}});
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.select(2, 1, 2, 1);
        QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                          titleCentre(grid, 0));
        QCOMPARE(column(grid, 0), QStringLiteral("A|1|2|3"));
        QCOMPARE(grid.row(), 2);
        QCOMPARE(grid.col(), 1);
        QCOMPARE(grid.rowSel(), 2);
        QCOMPARE(grid.colSel(), 1);
        QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 1);
    }

    void titleDragMovesTheWholeColumn() {
        Grid grid;
        grid.resize(800, 300);
        fill(grid, {"A", "B", "C", "D"}, {{"a1", "b1", "c1", "d1"}, {"a2", "b2", "c2", "d2"}});
        grid.setColWidth(0, 1000);
        grid.setCell(CellSetting::Bold, 2, 0, true);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy moved(&grid, &Grid::afterMoveColumn);
        QSignalSpy sorted(&grid, &Grid::afterSort);
        QWidget* titles = grid.horizontalHeader()->viewport();
        const QPoint from = titleCentre(grid, 0);
        const QPoint to = titleCentre(grid, 2) + QPoint(10, 0);
        sendMouse(titles, QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 10; ++step) {
            sendMouse(titles, QEvent::MouseMove, from + (to - from) * step / 10, Qt::LeftButton);
        }
        sendMouse(titles, QEvent::MouseButtonRelease, to, Qt::NoButton);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0), (QList<QVariant>{0, 2}));
        QCOMPARE(sorted.count(), 0);  // a drag is not a click
        QCOMPARE(column(grid, 2), QStringLiteral("A|a1|a2"));
        QCOMPARE(column(grid, 0), QStringLiteral("B|b1|b2"));
        QVERIFY(grid.cell(CellSetting::Bold, 2, 2).toBool());
        QVERIFY(!grid.cell(CellSetting::Bold, 2, 0).toBool());
        QCOMPARE(grid.colWidth(2), 1000);
        QCOMPARE(grid.horizontalHeader()->visualIndex(2), 2);  // indexes stay plain
    }

    void draggingABorderReportsTheResize() {
        Grid grid;
        grid.resize(800, 300);
        fill(grid, {"A", "B"}, {{"1", "2"}});
        grid.setUserResizing(3);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy resized(&grid, &Grid::afterUserResize);
        QHeaderView* header = grid.horizontalHeader();
        QWidget* titles = header->viewport();
        const QPoint border(header->sectionViewportPosition(0) + header->sectionSize(0) - 1,
                            header->height() / 2);
        sendMouse(titles, QEvent::MouseButtonPress, border, Qt::LeftButton);
        sendMouse(titles, QEvent::MouseMove, border + QPoint(20, 0), Qt::LeftButton);
        sendMouse(titles, QEvent::MouseMove, border + QPoint(40, 0), Qt::LeftButton);
        QCOMPARE(resized.count(), 0);  // not while the border is still held
        sendMouse(titles, QEvent::MouseButtonRelease, border + QPoint(40, 0), Qt::NoButton);
        QCOMPARE(resized.count(), 1);
        QCOMPARE(resized.at(0).at(1).toInt(), 0);
        QVERIFY(grid.colWidth(0) > 1500);
        grid.setColWidth(0, 410);  // what the sheet does for its flag column
        QCOMPARE(grid.colWidth(0), 410);
    }

    void typingFindsRowsInFindMode() {
        Grid grid;
        grid.resize(600, 300);
        fill(grid, {"Name"}, {{"Adams"}, {"baker"}, {"Brown"}, {"Carter"}, {"brady"}});
        grid.setSelectionModeCode(Grid::SelectListBox);
        grid.setAutoSearch(2);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();
        QTest::keyClicks(&grid, QStringLiteral("br"));
        QCOMPARE(grid.row(), 3);
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&grid, QStringLiteral("b"));  // a new search moves on
        QCOMPARE(grid.row(), 5);
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&grid, QStringLiteral("a"));  // wraps around
        QCOMPARE(grid.row(), 1);
        QCOMPARE(grid.textMatrix(1, 0), QStringLiteral("Adams"));
        grid.setAutoSearch(0);
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&grid, QStringLiteral("c"));
        QCOMPARE(grid.row(), 1);
    }

    void editingACell() {
        Grid grid;
        grid.resize(600, 300);
        grid.beginFill(std::vector<QString>{QStringLiteral("N")});
        const CellInput cell{"5", 5, true};
        grid.appendRow(std::span(&cell, 1));
        grid.endFill();
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        double value = 0;
        QVERIFY(grid.cellValue(1, 0, &value));
        QSignalSpy edited(&grid, &Grid::afterEdit);
        grid.editCell();
        auto* editor = grid.findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("seven"));
        QTest::keyClick(editor, Qt::Key_Return);  // the delegate commits a moment later
        QTRY_COMPARE(grid.textMatrix(1, 0), QStringLiteral("seven"));
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.at(0), (QList<QVariant>{1, 0}));
        QVERIFY(!grid.cellValue(1, 0, &value));
    }

    void mouseAndKeyEvents() {
        Grid grid;
        grid.resize(600, 300);
        grid.setRows(20);
        grid.setCols(3);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy clicked(&grid, &Grid::clickedCell);
        QSignalSpy doubled(&grid, &Grid::doubleClickedCell);
        QSignalSpy up(&grid, &Grid::mouseUp);
        const QRect cell = grid.visualRect(grid.model()->index(2, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(grid.row(), 3);
        QCOMPARE(grid.col(), 1);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(doubled.count(), 1);
        QVERIFY(up.count() >= 1);
        int rowAtKey = -1;
        connect(&grid, &Grid::keyDown, this, [&](int key) {
            if (key == Qt::Key_Down) {
                rowAtKey = grid.row();
            }
        });
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(rowAtKey, 4);  // the event comes after the grid moved
    }

    void paintsBarsAndMergedCells() {
        Grid grid;
        grid.resize(400, 200);
        fill(grid, {"V", "M"}, {{"1", "same"}, {"2", "same"}, {"3", "other"}});
        grid.setCell(CellSetting::BarColor, 1, 0, 3, 0, 255);
        grid.setCell(CellSetting::BarFillPercent, 1, 0, 100.0);
        grid.setCell(CellSetting::BarFillPercent, 2, 0, 50.0);
        grid.setColMerge(1, true);
        grid.setMergeCells(3);
        grid.setSelectionModeCode(Grid::SelectFree);
        grid.selectionModel()->clear();
        grid.setCurrentIndex({});
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QImage image = grid.viewport()->grab().toImage();
        const auto rect = [&](int r, int c) { return grid.visualRect(grid.model()->index(r, c)); };
        const auto isRed = [&](QPoint p) { return image.pixelColor(p) == QColor(Qt::red); };
        QVERIFY(isRed(rect(0, 0).topLeft() + QPoint(3, 4)));
        QVERIFY(isRed(rect(0, 0).topRight() + QPoint(-3, 4)));
        QVERIFY(isRed(rect(1, 0).topLeft() + QPoint(3, 4)));
        QVERIFY(!isRed(rect(1, 0).topRight() + QPoint(-3, 4)));  // half a bar
        QVERIFY(!isRed(rect(2, 0).topLeft() + QPoint(3, 4)));    // no fill percent
        // The repeated "same" paints nothing: its cell is one plain colour.
        const QRect merged = rect(1, 1).adjusted(1, 1, -2, -2);
        const QColor plain = image.pixelColor(merged.topLeft());
        for (int x = merged.left(); x <= merged.right(); ++x) {
            for (int y = merged.top(); y <= merged.bottom(); ++y) {
                QCOMPARE(image.pixelColor(x, y), plain);
            }
        }
        // No line is drawn between the two equal cells, but one is below the run.
        const int between = rect(0, 1).bottom();
        QCOMPARE(image.pixelColor(rect(0, 1).center().x(), between), plain);
        QVERIFY(image.pixelColor(rect(1, 1).center().x(), rect(1, 1).bottom()) != plain);
    }

    void titlePicturesSitWhereTheirAlignmentSays() {
        Grid grid;
        grid.resize(400, 200);
        fill(grid, {"Sorted", "Plain"}, {{"1", "2"}});
        QPixmap marker(8, 8);
        marker.fill(Qt::blue);
        grid.setCell(CellSetting::PictureAlignment, 0, 0, 7);
        grid.setCellPicture(0, 0, 0, 0, marker);
        grid.setCellPicture(0, 1, 0, 1, marker);  // default: at the left
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QHeaderView* header = grid.horizontalHeader();
        const QImage image = header->viewport()->grab().toImage();
        const auto blueAt = [&](int x) {
            return image.pixelColor(x, header->height() / 2) == QColor(Qt::blue);
        };
        const int right0 = header->sectionViewportPosition(0) + header->sectionSize(0);
        const int left1 = header->sectionViewportPosition(1);
        bool nearRight = false, nearLeft = false;
        for (int x = right0 - 14; x < right0; ++x) {
            nearRight = nearRight || blueAt(x);
        }
        for (int x = left1; x < left1 + 14; ++x) {
            nearLeft = nearLeft || blueAt(x);
        }
        QVERIFY(nearRight);
        QVERIFY(nearLeft);
        QVERIFY(!blueAt(header->sectionViewportPosition(0) + 5));
    }

    void bulkFillKeepsTypedValuesForSorting() {
        Grid grid;
        grid.beginFill(std::vector<QString>{QStringLiteral("When")});
        const std::pair<const char*, double> dates[] = {
            {"1/2/2024", 45293}, {"12/31/2023", 45291}, {"3/1/2023", 44986}};
        for (const auto& [text, day] : dates) {
            const CellInput cell{text, day, true};
            grid.appendRow(std::span(&cell, 1));
        }
        grid.endFill();
        grid.sort(0, Grid::SortAscending);
        QCOMPARE(column(grid, 0), QStringLiteral("When|3/1/2023|12/31/2023|1/2/2024"));
        grid.sort(0, Grid::SortDescending);
        QCOMPARE(column(grid, 0), QStringLiteral("When|1/2/2024|12/31/2023|3/1/2023"));
    }

    // Regression: a database text column of codes sorted by the numbers the
    // codes read as, so "1010" came before "01307".
    void databaseTextCodesSortedAsNumbers() {
        Grid grid;
        grid.beginFill(std::vector<QString>{QStringLiteral("Code"), QStringLiteral("Qty")});
        const std::pair<const char*, double> rows[] = {{"1010", 9}, {"01307", 10}, {"", 100}};
        for (const auto& [code, qty] : rows) {
            const std::string qtyText = std::to_string(int(qty));
            const CellInput cells[] = {{code, 0, false}, {qtyText, qty, true}};
            grid.appendRow(cells);
        }
        grid.endFill();
        grid.setColDataType(0, 8);  // text
        grid.setColDataType(1, 3);  // long
        grid.sort(0, Grid::SortAscending);
        QCOMPARE(column(grid, 0), QStringLiteral("Code||01307|1010"));
        grid.sort(1, Grid::SortAscending);
        QCOMPARE(column(grid, 1), QStringLiteral("Qty|9|10|100"));
        // A loaded file's columns carry no type and keep the generic order.
        grid.setColDataType(0, 0);
        grid.sort(0, Grid::SortAscending);
        QCOMPARE(column(grid, 0), QStringLiteral("Code||1010|01307"));
    }

    void looksAndModes() {
        Grid grid;
        grid.setRows(4);
        grid.setCols(2);
        grid.setBackColorAlternate(0xC0FFC0);
        QCOMPARE(grid.backColorAlternate(), 0xC0FFC0u);
        grid.setGridLines(0);
        QCOMPARE(grid.gridLines(), 0);
        grid.setOleDragMode(1);
        QVERIFY(grid.dragEnabled());
        QVERIFY(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsDragEnabled);
        grid.setOleDragMode(0);
        QVERIFY(!grid.dragEnabled());
        grid.setSelectionModeCode(Grid::SelectListBox);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
        grid.setSelectionModeCode(Grid::SelectFree);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectItems);
        grid.setRowPosition(3, 1);
        grid.removeItem(1);
        QCOMPARE(grid.rows(), 3);
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
