// The grid's item model: every reshaping operation under
// QAbstractItemModelTester, and the roles the delegate and header paint from.
#include "sheet/grid_model.h"
#include "sheet/grid_roles.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QFont>
#include <QMimeData>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

using sheet::CellInput;
using sheet::CellProps;
using sheet::GridModel;

namespace {
void fill(GridModel& model, const QStringList& titles, const QList<QStringList>& rows) {
    model.beginFill(int(titles.size()));
    std::vector<QByteArray> keep;
    const auto append = [&](const QStringList& texts) {
        std::vector<CellInput> cells;
        for (const QString& text : texts) {
            keep.push_back(text.toUtf8());
            cells.push_back({std::string_view(keep.back().constData(), keep.back().size())});
        }
        model.appendRow(cells);
    };
    append(titles);
    for (const QStringList& row : rows) {
        append(row);
    }
    model.endFill();
}

QString column(const GridModel& model, int col) {
    QStringList texts;
    for (int r = 0; r < model.store().rows(); ++r) {
        texts << model.text(r, col);
    }
    return texts.join(u'|');
}
}  // namespace

class TestGridModel : public QObject {
    Q_OBJECT
  private slots:
    void passesTheModelTesterThroughEveryChange() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setCols(3);
        model.setRows(6);
        QCOMPARE(model.rowCount(), 5);
        model.setText(0, 0, QStringLiteral("Title"));
        model.setText(3, 1, QStringLiteral("x"));
        model.moveColumn(1, 2);
        QCOMPARE(model.text(3, 2), QStringLiteral("x"));
        model.moveColumn(2, 0);
        model.moveRow(3, 5);
        model.moveRow(5, 1);
        model.moveRow(0, 2);  // the title row itself: a reset
        model.removeRow(4);
        model.removeRow(0);
        model.setRows(8);
        model.removeRowList({6, 2});  // scattered: a reset
        model.removeRowList({3, 4});  // one run: one removal
        model.removeRowList({0, 1});  // the title row among them: a reset
        model.sortRows(0, true);
        model.setBlockText(1, 0, QStringLiteral("a\tb\rc\td\r"));
        model.clearBlockText(1, 0, 2, 1);
        model.editBlock(1, 0, 2, 2, [](CellProps& p) { p.style = CellProps::kBold; });
        model.setFixedRows(0);
        QCOMPARE(model.rowCount(), model.store().rows());
        model.setFixedRows(1);
        model.setCols(1);
        model.setRows(1);
        QCOMPARE(model.rowCount(), 0);
        model.setRows(0);
        model.setRows(4);
        model.clearCells();
        fill(model, {"A", "B"}, {{"1", "2"}, {"3", "4"}});
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 2);
        model.setAlternateColor(0xC0FFC0);
        model.setMergeMode(3);
    }

    void titleRowIsHeaderData() {
        GridModel model;
        fill(model, {"Name", "Qty"}, {{"pen", "3"}});
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Qty"));
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("pen"));
        QSignalSpy header(&model, &QAbstractItemModel::headerDataChanged);
        QPixmap marker(8, 8);
        marker.fill(Qt::black);
        const uint16_t id = model.pictureId(marker);
        model.editBlock(0, 1, 0, 1, [id](CellProps& p) {
            p.picture = id;
            p.pictureAlignment = 7;
        });
        QCOMPARE(header.count(), 1);
        QVERIFY(!model.headerData(1, Qt::Horizontal, Qt::DecorationRole).value<QPixmap>().isNull());
        QCOMPARE(model.headerData(1, Qt::Horizontal, sheet::PictureAlignmentRole).toInt(), 7);
        QCOMPARE(model.pictureId(marker), id);  // the same picture is stored once
    }

    void displayFormatsRenderNumbersOnly() {
        GridModel model;
        fill(model, {"Amount"}, {{"1234.5"}, {"n/a"}, {""}, {"-7"}});
        model.changeColumn(0,
                           [](sheet::SheetColumn& c) { c.format = QStringLiteral("$#,###.00"); });
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("$1,234.50"));
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("n/a"));
        QCOMPARE(model.index(2, 0).data().toString(), QString());
        QCOMPARE(model.index(3, 0).data().toString(), QStringLiteral("-$7.00"));
        QCOMPARE(model.index(0, 0).data(Qt::EditRole).toString(), QStringLiteral("1234.5"));
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Amount"));
    }

    void hugeTextsAreCutForDisplayOnly() {
        GridModel model;
        const QString memo = QString(10000, u'é');
        fill(model, {"Memo"}, {{memo}});
        const QString shown = model.index(0, 0).data().toString();
        QVERIFY(shown.size() < 4096);
        QVERIFY(memo.startsWith(shown));  // cut between characters, never inside one
        QCOMPARE(model.index(0, 0).data(Qt::EditRole).toString(), memo);
    }

    void generalAlignmentPutsNumbersRight() {
        GridModel model;
        fill(model, {"Mixed"}, {{"42"}, {"word"}});
        const auto align = [&](int row) {
            return Qt::Alignment(model.index(row, 0).data(Qt::TextAlignmentRole).toInt());
        };
        QVERIFY(align(0) & Qt::AlignRight);
        QVERIFY(align(1) & Qt::AlignLeft);
        model.editBlock(1, 0, 1, 0, [](CellProps& p) { p.alignment = 4; });
        QVERIFY(align(0) & Qt::AlignHCenter);
    }

    void mergedColumnsHideRepeats() {
        GridModel model;
        fill(model, {"City", "Other"},
             {{"Oslo", "a"}, {"Oslo", "a"}, {"Rome", "a"}, {"", ""}, {"", ""}});
        model.changeColumn(0, [](sheet::SheetColumn& c) { c.merge = true; });
        QVERIFY(!model.index(1, 0).data(sheet::MergeAboveRole).toBool());  // merge mode is off
        model.setMergeMode(3);
        QVERIFY(!model.index(0, 0).data(sheet::MergeAboveRole).toBool());
        QVERIFY(model.index(0, 0).data(sheet::MergeBelowRole).toBool());
        QVERIFY(model.index(1, 0).data(sheet::MergeAboveRole).toBool());
        QVERIFY(!model.index(1, 0).data(sheet::MergeBelowRole).toBool());
        QVERIFY(!model.index(2, 0).data(sheet::MergeAboveRole).toBool());
        QVERIFY(!model.index(4, 0).data(sheet::MergeAboveRole).toBool());  // empty cells stay
        QVERIFY(!model.index(1, 1).data(sheet::MergeAboveRole).toBool());  // column not merged
    }

    void alternateRowsAndCellColours() {
        GridModel model;
        fill(model, {"A"}, {{"1"}, {"2"}, {"3"}, {"4"}});
        QVERIFY(!model.index(1, 0).data(Qt::BackgroundRole).isValid());
        model.setAlternateColor(0xC0FFC0);
        QVERIFY(!model.index(0, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0xC0, 0xFF, 0xC0));
        model.editBlock(2, 0, 2, 0, [](CellProps& p) {
            p.backColor = 0x0000FF;
            p.foreColor = 0xFF0000;
            p.style = CellProps::kItalic | CellProps::kUnderline;
        });
        QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(model.index(3, 0).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0xC0, 0xFF, 0xC0));
        model.setAlternateColor(CellProps::kNoColor);  // back to no alternate colour
        QVERIFY(!model.index(3, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(model.alternateColor(), CellProps::kNoColor);
        QCOMPARE(model.index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
        const QFont font = model.index(1, 0).data(Qt::FontRole).value<QFont>();
        QVERIFY(font.italic() && font.underline() && !font.bold());
    }

    void barsAndCheckBoxesAsRoles() {
        GridModel model;
        fill(model, {"V"}, {{"2"}});
        QVERIFY(!model.index(0, 0).data(sheet::BarColorRole).isValid());
        QVERIFY(!model.index(0, 0).data(Qt::CheckStateRole).isValid());
        model.editBlock(1, 0, 1, 0, [](CellProps& p) {
            p.barColor = 255;
            p.barPercent = 125.5;
            p.checked = 2;
        });
        QCOMPARE(model.index(0, 0).data(sheet::BarColorRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(model.index(0, 0).data(sheet::BarPercentRole).toDouble(), 125.5);
        QCOMPARE(model.index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
        QVERIFY(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(model.index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    }

    void editingReplacesTheTypedValue() {
        GridModel model;
        model.beginFill(1);
        const CellInput title{"N"};
        model.appendRow(std::span(&title, 1));
        for (double v : {30.0, 4.0, 100.0}) {
            const std::string text = "#" + std::to_string(int(v));  // text sorts the other way
            const CellInput cell{text, v, true};
            model.appendRow(std::span(&cell, 1));
        }
        model.endFill();
        model.sortRows(0, false);
        QCOMPARE(column(model, 0), QStringLiteral("N|#4|#30|#100"));
        QSignalSpy edited(&model, &GridModel::cellEdited);
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("#5000"), Qt::EditRole));
        QCOMPARE(edited.count(), 1);
        double value = 0;
        QVERIFY(!model.store().value(1, 0, &value));
        model.sortRows(0, false);  // the edited cell now sorts as the text it holds
        QCOMPARE(column(model, 0), QStringLiteral("N|#30|#100|#5000"));
    }

    void blockTextRoundTrip() {
        GridModel model;
        fill(model, {"A", "B", "C"}, {{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}});
        QCOMPARE(model.blockText(1, 1, 2, 2), QStringLiteral("2\t3\r5\t6"));
        QCOMPARE(model.blockText(2, 2, 1, 1), QStringLiteral("2\t3\r5\t6"));
        QCOMPARE(model.blockText(0, 0, 0, 2), QStringLiteral("A\tB\tC"));
        model.setBlockText(2, 1, QStringLiteral("x\ty\tspill\r\nz\r\nbeyond\r\n"));
        QCOMPARE(column(model, 1), QStringLiteral("B|2|x|z"));
        QCOMPARE(column(model, 2), QStringLiteral("C|3|y|9"));
        QCOMPARE(model.store().rows(), 4);  // the grid did not grow
        // Regression: rows dragged or copied out ran together in Linux editors,
        // separated by a bare carriage return.
        QMimeData* mime = model.mimeData({model.index(0, 0), model.index(1, 1)});
        QCOMPARE(mime->text(), QStringLiteral("1\t2\n4\tx"));
        QCOMPARE(mime->data(QStringLiteral("text/tab-separated-values")), QByteArray("1\t2\n4\tx"));
        delete mime;
        QCOMPARE(model.blockText(1, 0, 1, 0), QStringLiteral("1"));
        model.setText(1, 0, QStringLiteral("€ ü"));
        QCOMPARE(model.blockText(1, 0, 1, 1), QStringLiteral("€ ü\t2"));
    }

    void filterHidesRowsThroughSortsAndEdits() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, {"N"}, {{"5"}, {"1"}, {"4"}, {"2"}, {"3"}});
        model.showOnlyRows(std::vector<int>{1, 3, 5});  // 5, 4, 3
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("4"));
        QCOMPARE(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toInt(), 3);
        QVERIFY(!model.cellIndex(2, 0).isValid());  // hidden
        QCOMPARE(model.cellIndex(3, 0).row(), 1);
        QCOMPARE(model.viewBlockText(0, 0, 2, 0, u'\n'), QStringLiteral("5\n4\n3"));
        model.sortRows(0, false);
        QCOMPARE(column(model, 0), QStringLiteral("N|1|2|3|4|5"));
        QCOMPARE(model.viewBlockText(0, 0, 2, 0, u'\n'), QStringLiteral("3\n4\n5"));
        // Pasting fills shown rows only; clearing empties shown rows only.
        model.setBlockText(3, 0, QStringLiteral("a\nb\nc"));
        QCOMPARE(column(model, 0), QStringLiteral("N|1|2|a|b|c"));
        model.clearViewBlockText(0, 0, 1, 0);
        QCOMPARE(column(model, 0), QStringLiteral("N|1|2|||c"));
        model.removeRowList({4});
        QCOMPARE(model.rowCount(), 2);
        model.insertRowList(std::vector<int>{2});
        QCOMPARE(model.rowCount(), 3);  // a new row is shown
        QCOMPARE(column(model, 0), QStringLiteral("N|1||2||c"));
        model.showAllRows();
        QCOMPARE(model.rowCount(), 5);
        QVERIFY(!model.store().anyHidden());
    }

    void pastedTextSplitsOnEveryLineBreak_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("col0");
        QTest::addColumn<QString>("col1");
        QTest::newRow("CR LF, trailing") << "a\tb\r\nc\td\r\n"
                                         << "T|a|c|5|7"
                                         << "U|b|d|6|8";
        QTest::newRow("LF") << "a\tb\nc\td"
                            << "T|a|c|5|7"
                            << "U|b|d|6|8";
        QTest::newRow("CR") << "a\tb\rc\td\r"
                            << "T|a|c|5|7"
                            << "U|b|d|6|8";
        QTest::newRow("two trailing breaks: one empty row") << "a\r\n\r\n"
                                                            << "T|a||5|7"
                                                            << "U|2|4|6|8";
        QTest::newRow("empty fields") << "\t\n\tz"
                                      << "T|||5|7"
                                      << "U||z|6|8";
        QTest::newRow("short second row") << "a\tb\nc"
                                          << "T|a|c|5|7"
                                          << "U|b|4|6|8";
        QTest::newRow("empty text") << ""
                                    << "T|1|3|5|7"
                                    << "U|2|4|6|8";
        QTest::newRow("past the last row") << "1\n2\n3\n4\n5\n6"
                                           << "T|1|2|3|4"
                                           << "U|2|4|6|8";
    }

    void pastedTextSplitsOnEveryLineBreak() {
        QFETCH(QString, text);
        QFETCH(QString, col0);
        QFETCH(QString, col1);
        GridModel model;
        fill(model, {"T", "U"}, {{"1", "2"}, {"3", "4"}, {"5", "6"}, {"7", "8"}});
        model.setBlockText(1, 0, text);
        QCOMPARE(column(model, 0), col0);
        QCOMPARE(column(model, 1), col1);
        QCOMPARE(model.store().rows(), 5);
    }

    void clearingABlockKeepsItsLooks() {
        GridModel model;
        fill(model, {"A", "B", "C"}, {{"1", "2", "3"}, {"4", "5", "6"}});
        model.editBlock(1, 1, 1, 1, [](CellProps& p) { p.style = CellProps::kBold; });
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.clearBlockText(2, 2, 1, 1);  // corners in any order
        QCOMPARE(changed.count(), 1);
        QCOMPARE(column(model, 1), QStringLiteral("B||"));
        QCOMPARE(column(model, 2), QStringLiteral("C||"));
        QCOMPARE(column(model, 0), QStringLiteral("A|1|4"));
        QCOMPARE(int(model.store().props(1, 1).style), int(CellProps::kBold));
    }

    void removingManyRowsIsOneChange() {
        GridModel model;
        QList<QStringList> rows;
        for (int r = 1; r <= 9; ++r) {
            rows.append({QString::number(r)});
        }
        fill(model, {"N"}, rows);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.removeRowList({7, 3, 3, 42, -1});  // duplicates and strays are skipped
        QCOMPARE(reset.count(), 1);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(column(model, 0), QStringLiteral("N|1|2|4|5|6|8|9"));
        model.removeRowList({4, 2, 3});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed[0][1].toInt(), 1);  // model rows start below the titles
        QCOMPARE(removed[0][2].toInt(), 3);
        QCOMPARE(column(model, 0), QStringLiteral("N|1|6|8|9"));
        model.removeRowList({});
        QCOMPARE(reset.count() + removed.count(), 2);
    }
};

QTEST_MAIN(TestGridModel)
#include "tst_grid_model.moc"
