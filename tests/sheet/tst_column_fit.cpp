// Columns fitted to their contents: the title and the first rows' texts fit,
// a long text is capped while numbers and dates show whole, rows past the
// sample are not read, and a double-click on a title's right edge fits that
// column (and reports a user resize).
#include <QFontMetrics>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "sheet/column_fit.h"
#include "sheet/column_types.h"
#include "sheet/grid.h"

namespace {

// The width in twips a text needs in the grid's font.
int twipsFor(const sheet::Grid& grid, const QString& text, bool bold) {
    QFont font = grid.font();
    font.setBold(bold);
    return QFontMetrics(font).horizontalAdvance(text) * 1440 / grid.logicalDpiX();
}

void fill(sheet::Grid& grid, const QList<QStringList>& rows) {
    grid.setFixedRows(1);
    grid.setRows(int(rows.size()));
    grid.setCols(int(rows.first().size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            grid.setTextMatrix(r, c, rows[r][c]);
        }
    }
}

}  // namespace

class ColumnFitTest : public QObject {
    Q_OBJECT

  private slots:
    void titleAndTextsFit();
    void longTextIsCappedNumbersAndDatesAreNot();
    void onlyTheFirstRowsAreRead();
    void doubleClickOnATitlesEdgeFitsTheColumn();
};

void ColumnFitTest::titleAndTextsFit() {
    sheet::Grid grid;
    const QString longTitle = QStringLiteral("A rather long column title");
    const QString wideCell = QStringLiteral("a wider cell than its title");
    fill(grid, {{QStringLiteral("Id"), longTitle, QStringLiteral("Nm")},
                {QStringLiteral("1"), QStringLiteral("x"), wideCell},
                {QStringLiteral("2"), QStringLiteral("y"), QStringLiteral("z")}});
    sheet::ColumnFit::fitAllColumns(grid);
    QVERIFY(grid.colWidth(1) > twipsFor(grid, longTitle, true));
    QVERIFY(grid.colWidth(2) > twipsFor(grid, wideCell, false));
    QCOMPARE(grid.colWidth(0), sheet::ColumnFit::kMinTwips);  // "Id" and digits are narrow
    // Each width is the fit of its own column, not of its neighbours.
    QVERIFY(grid.colWidth(1) < twipsFor(grid, longTitle + longTitle, true));
}

void ColumnFitTest::longTextIsCappedNumbersAndDatesAreNot() {
    sheet::Grid grid;
    const QString memo = QString(2000, QLatin1Char('m'));
    const QString number = QStringLiteral("-123456789012345678901234567890123456789.123456");
    const QString date = QStringLiteral("12/31/9999 11:59:59 PM with a long era name");
    fill(grid, {{QStringLiteral("Memo"), QStringLiteral("Amount"), QStringLiteral("When")},
                {memo, number + number, date + date}});
    grid.setColDataType(0, sheet::kTextType);
    grid.setColDataType(1, 5);  // Double
    grid.setColDataType(2, sheet::kDateType);
    sheet::ColumnFit::fitAllColumns(grid);
    QCOMPARE(grid.colWidth(0), sheet::ColumnFit::kMaxTextTwips);
    QVERIFY(grid.colWidth(1) > sheet::ColumnFit::kMaxTextTwips);
    QVERIFY(grid.colWidth(1) >= twipsFor(grid, number + number, false));
    QVERIFY(grid.colWidth(2) >= twipsFor(grid, date + date, false));
}

void ColumnFitTest::onlyTheFirstRowsAreRead() {
    sheet::Grid grid;
    grid.setFixedRows(1);
    grid.setCols(1);
    grid.setRows(sheet::ColumnFit::kSampleRows + 10);
    grid.setTextMatrix(0, 0, QStringLiteral("T"));
    grid.setTextMatrix(sheet::ColumnFit::kSampleRows + 5, 0, QString(60, QLatin1Char('w')));
    sheet::ColumnFit::fitColumn(grid, 0);
    QCOMPARE(grid.colWidth(0), sheet::ColumnFit::kMinTwips);
    grid.setTextMatrix(sheet::ColumnFit::kSampleRows, 0, QString(60, QLatin1Char('w')));
    sheet::ColumnFit::fitColumn(grid, 0);
    QVERIFY(grid.colWidth(0) > sheet::ColumnFit::kMinTwips);
}

void ColumnFitTest::doubleClickOnATitlesEdgeFitsTheColumn() {
    sheet::Grid grid;
    grid.resize(800, 400);
    const QString wide = QStringLiteral("the widest text of the second column");
    fill(grid, {{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                {QStringLiteral("a"), wide, QStringLiteral("c")}});
    grid.setColWidth(0, 800);
    grid.setColWidth(1, 600);
    grid.setUserResizing(3);  // columns and rows, as the data sheet's
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy resized(&grid, &sheet::Grid::afterUserResize);
    QHeaderView* titles = grid.horizontalHeader();
    const int edge = titles->sectionViewportPosition(1) + titles->sectionSize(1) - 1;
    const QPoint at(edge, titles->height() / 2);
    // A press and release first, as a real double-click brings.
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(titles->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(grid.colWidth(1), sheet::ColumnFit::fittedWidth(grid, 1));
    QVERIFY(grid.colWidth(1) > twipsFor(grid, wide, false));
    QCOMPARE(grid.colWidth(0), 800);
    QVERIFY(!resized.isEmpty());
    QCOMPARE(resized.last().at(1).toInt(), 1);
}

QTEST_MAIN(ColumnFitTest)
#include "tst_column_fit.moc"
