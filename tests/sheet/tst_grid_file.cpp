// The grid's own file: a sheet with texts, values, column settings, cell
// looks and pictures comes back exactly; damaged or hostile files are
// refused with a reason and leave the sheet as it was.
#include <QImage>
#include <QPainter>
#include <QTest>

#include "sheet/cell_props.h"
#include "sheet/grid.h"
#include "sheet/grid_file.h"
#include "sheet/grid_model.h"

using sheet::CellSetting;
using sheet::Grid;
using sheet::GridFile;

namespace {

QPixmap dotPicture(const QColor& color) {
    QImage image(9, 7, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(1, 1, 5, 4, color);
    painter.end();
    return QPixmap::fromImage(image);
}

// A sheet that uses every stored part.
void fillRichSheet(Grid& g) {
    g.setFixedRows(1);
    g.setRows(6);
    g.setCols(4);
    for (int c = 0; c < 4; ++c) {
        g.setTextMatrix(0, c, QStringLiteral("Title %1").arg(c));
        for (int r = 1; r < 6; ++r) {
            g.setTextMatrix(r, c, QStringLiteral("r%1 c%2 \u00E9,\"\n").arg(r).arg(c));
        }
    }
    g.setTextMatrix(2, 2, QString());
    g.setColWidth(0, 410);
    g.setColWidth(3, 2500);
    g.setColAlignment(1, 7);
    g.setColFormat(2, QStringLiteral("#,###.00"));
    g.setColDataType(2, 5);
    g.setColDataType(3, 11);
    g.setColMerge(1, true);
    g.setMergeCells(3);
    g.setGridLines(0);
    g.setBackColorAlternate(0xC0FFC0);
    g.setCell(CellSetting::Bold, 1, 0, 3, 1, true);
    g.setCell(CellSetting::Italic, 2, 1, true);
    g.setCell(CellSetting::Underline, 5, 3, true);
    g.setCell(CellSetting::ForeColor, 4, 2, 0x0000FF);
    g.setCell(CellSetting::BackColor, 0, 1, 0x00FFFF);
    g.setCell(CellSetting::Alignment, 3, 3, 4);
    g.setCell(CellSetting::Checked, 1, 3, 1);
    g.setCell(CellSetting::BarFillPercent, 2, 2, 37.5);
    g.setCell(CellSetting::BarColor, 2, 2, 0xFF0000);
    g.setCell(CellSetting::PictureAlignment, 4, 0, 7);
    g.setCellPicture(1, 0, 2, 0, dotPicture(Qt::red));
    g.setCellPicture(4, 0, 4, 0, dotPicture(Qt::blue));
}

QImage imageOf(const QPixmap& p) {
    return p.toImage().convertToFormat(QImage::Format_ARGB32);
}

void compareSheets(const Grid& a, const Grid& b) {
    QCOMPARE(b.rows(), a.rows());
    QCOMPARE(b.cols(), a.cols());
    QCOMPARE(b.fixedRows(), a.fixedRows());
    QCOMPARE(b.mergeCells(), a.mergeCells());
    QCOMPARE(b.gridLines(), a.gridLines());
    QCOMPARE(b.backColorAlternate(), a.backColorAlternate());
    const sheet::CellStore& sa = a.gridModel()->store();
    const sheet::CellStore& sb = b.gridModel()->store();
    for (int c = 0; c < a.cols(); ++c) {
        QCOMPARE(b.colWidth(c), a.colWidth(c));
        QCOMPARE(b.colAlignment(c), a.colAlignment(c));
        QCOMPARE(b.colFormat(c), a.colFormat(c));
        QCOMPARE(b.colDataType(c), a.colDataType(c));
        QCOMPARE(b.colMerge(c), a.colMerge(c));
        for (int r = 0; r < a.rows(); ++r) {
            QCOMPARE(b.textMatrix(r, c), a.textMatrix(r, c));
            sheet::CellProps pa = sa.props(r, c), pb = sb.props(r, c);
            QCOMPARE(pb.picture != 0, pa.picture != 0);
            pa.picture = pb.picture = 0;
            QVERIFY2(pa == pb, qPrintable(QStringLiteral("look of cell %1,%2").arg(r).arg(c)));
            QCOMPARE(imageOf(b.cellPicture(r, c)), imageOf(a.cellPicture(r, c)));
            double va = 0, vb = 0;
            QCOMPARE(b.cellValue(r, c, &vb), a.cellValue(r, c, &va));
            QCOMPARE(vb, va);
        }
    }
}

}  // namespace

class GridFileTest : public QObject {
    Q_OBJECT

  private slots:
    void richSheetRoundTripsExactly();
    void typedValuesRoundTrip();
    void savedBytesStartWithMarkAndVersion();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void everyTruncationIsRefused();
    void absurdSizesAreRefusedWithoutAllocating();
};

void GridFileTest::richSheetRoundTripsExactly() {
    Grid original;
    fillRichSheet(original);
    const QByteArray file = GridFile::save(original);
    Grid loaded;
    loaded.setRows(3);
    loaded.setCols(12);
    loaded.setTextMatrix(1, 11, QStringLiteral("previous"));
    const jet::Status status = GridFile::load(loaded, file);
    QVERIFY2(status.isOk(), status.message().c_str());
    compareSheets(original, loaded);
    // Saving the loaded sheet gives the same bytes: nothing was lost or added.
    QCOMPARE(GridFile::save(loaded), file);
}

void GridFileTest::typedValuesRoundTrip() {
    Grid original;
    original.setFixedRows(1);
    const QString titles[] = {QStringLiteral("N"), QStringLiteral("Name")};
    original.beginFill(titles);
    const sheet::CellInput rows[][2] = {
        {{"10", 10, true}, {"ten"}}, {{"9", 9, true}, {"nine"}}, {{"-1.5", -1.5, true}, {""}}};
    for (const auto& row : rows) {
        original.appendRow(row);
    }
    original.endFill();
    Grid loaded;
    QVERIFY(GridFile::load(loaded, GridFile::save(original)).isOk());
    compareSheets(original, loaded);
    // Values decide the order, as before saving: -1.5, 9, 10.
    loaded.sort(0, Grid::SortAscending);
    QCOMPARE(loaded.textMatrix(1, 0), QStringLiteral("-1.5"));
    QCOMPARE(loaded.textMatrix(3, 0), QStringLiteral("10"));
}

void GridFileTest::savedBytesStartWithMarkAndVersion() {
    Grid g;
    g.setRows(1);
    g.setCols(1);
    const QByteArray file = GridFile::save(g);
    QVERIFY(file.startsWith(QByteArray(GridFile::kMagic, sizeof GridFile::kMagic)));
    QCOMPARE(file.mid(8, 4), QByteArray("\x01\x00\x00\x00", 4));
}

void GridFileTest::damagedFilesAreRefused_data() {
    Grid g;
    fillRichSheet(g);
    const QByteArray good = GridFile::save(g);
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "not a grid file";
    QTest::newRow("text file") << QByteArray("a,b,c\r\n1,2,3\r\n") << "not a grid file";
    QByteArray version = good;
    version[8] = 2;
    QTest::newRow("later version") << version << "version 2";
    QTest::newRow("extra bytes") << good + QByteArray("x") << "after the end";
    QByteArray fixed = good;
    fixed[20] = 5;
    QTest::newRow("fixed rows out of range") << fixed << "sheet size";
}

void GridFileTest::damagedFilesAreRefused() {
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    Grid g;
    g.setRows(2);
    g.setCols(2);
    g.setTextMatrix(1, 1, QStringLiteral("kept"));
    const jet::Status status = GridFile::load(g, file);
    QVERIFY(!status.isOk());
    QVERIFY2(QString::fromStdString(status.message()).contains(reason), status.message().c_str());
    QCOMPARE(g.rows(), 2);
    QCOMPARE(g.textMatrix(1, 1), QStringLiteral("kept"));
}

void GridFileTest::everyTruncationIsRefused() {
    Grid g;
    fillRichSheet(g);
    const QByteArray good = GridFile::save(g);
    for (int size = 0; size < good.size(); ++size) {
        Grid target;
        target.setRows(2);
        target.setCols(2);
        target.setTextMatrix(1, 1, QStringLiteral("kept"));
        QVERIFY2(!GridFile::load(target, good.left(size)).isOk(),
                 qPrintable(QString::number(size)));
        QCOMPARE(target.textMatrix(1, 1), QStringLiteral("kept"));
    }
}

void GridFileTest::absurdSizesAreRefusedWithoutAllocating() {
    Grid g;
    g.setRows(1);
    g.setCols(1);
    QByteArray file = GridFile::save(g);
    // 20 million rows of 16384 columns claimed by a file of a few dozen bytes.
    const char rows[] = {'\x00', '\x2D', '\x31', '\x01'};
    const char cols[] = {'\x00', '\x40', '\x00', '\x00'};
    file.replace(12, 4, QByteArray(rows, 4));
    file.replace(16, 4, QByteArray(cols, 4));
    const jet::Status status = GridFile::load(g, file);
    QVERIFY(!status.isOk());
    QCOMPARE(g.rows(), 1);
    // Counts past what a sheet can hold at all: refused from the header,
    // before anything is sized by them.
    file.replace(12, 4, QByteArray(4, '\xFF'));
    file.replace(16, 4, QByteArray(4, '\xFF'));
    const jet::Status huge = GridFile::load(g, file);
    QVERIFY(!huge.isOk());
    QVERIFY(huge.message().find("cannot hold") != std::string::npos);
    QCOMPARE(g.rows(), 1);
    QCOMPARE(g.cols(), 1);
}

QTEST_MAIN(GridFileTest)
#include "tst_grid_file.moc"
