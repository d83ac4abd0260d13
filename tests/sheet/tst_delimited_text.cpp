// Comma- and tab-delimited text: quoting on save, splitting on load, the
// text encodings a file may come in, and whole sheets going out and back.
#include <QTest>

#include "sheet/cell_store.h"
#include "sheet/delimited_text.h"
#include "sheet/grid.h"

#include <string>
#include <vector>

using sheet::DelimitedText;
using sheet::Grid;

namespace {

std::vector<std::vector<std::string>> rowsOf(const QByteArray& text, char separator) {
    std::vector<std::vector<std::string>> rows;
    DelimitedText::parse(text, separator, [&](std::span<const std::string_view> cells) {
        rows.emplace_back(cells.begin(), cells.end());
    });
    return rows;
}

QByteArray cellText(const QByteArray& text, char separator) {
    QByteArray out;
    DelimitedText::appendCell(out, std::string_view(text.constData(), std::size_t(text.size())),
                              separator);
    return out;
}

}  // namespace

class DelimitedTextTest : public QObject {
    Q_OBJECT

  private slots:
    void cellQuoting_data();
    void cellQuoting();
    void splitting_data();
    void splitting();
    void encodings_data();
    void encodings();
    void sheetRoundTripsThroughBothSeparators_data();
    void sheetRoundTripsThroughBothSeparators();
    void loadPutsLinesBelowAnEmptyTitleRow();
    void emptyFileLeavesOneRowAndOneColumn();
    void tooWideFileIsRefusedAndSheetKept();
    void stoppedLoadLeavesTheSheet();
};

void DelimitedTextTest::cellQuoting_data() {
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << QByteArray("abc") << ',' << QByteArray("abc");
    QTest::newRow("empty") << QByteArray() << ',' << QByteArray();
    QTest::newRow("comma") << QByteArray("a,b") << ',' << QByteArray("\"a,b\"");
    QTest::newRow("comma in tab text") << QByteArray("a,b") << '\t' << QByteArray("a,b");
    QTest::newRow("tab in tab text") << QByteArray("a\tb") << '\t' << QByteArray("\"a\tb\"");
    QTest::newRow("quote") << QByteArray("say \"hi\"") << ',' << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line feed") << QByteArray("a\nb") << ',' << QByteArray("\"a\nb\"");
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << '\t' << QByteArray("\"a\r\nb\"");
    QTest::newRow("spaces kept") << QByteArray(" a ") << ',' << QByteArray(" a ");
}

void DelimitedTextTest::cellQuoting() {
    QFETCH(QByteArray, cell);
    QFETCH(char, separator);
    QFETCH(QByteArray, written);
    QCOMPARE(cellText(cell, separator), written);
}

void DelimitedTextTest::splitting_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("rows");  // cells joined by '|'
    QTest::newRow("CR LF lines") << QByteArray("a,b\r\nc,d\r\n") << QStringList{"a|b", "c|d"};
    QTest::newRow("LF lines, no end") << QByteArray("a,b\nc") << QStringList{"a|b", "c"};
    QTest::newRow("lone CR lines") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("empty lines are rows")
        << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("quoted separator") << QByteArray("\"a,b\",c") << QStringList{"a,b|c"};
    QTest::newRow("doubled quote") << QByteArray("\"x\"\"y\"") << QStringList{"x\"y"};
    QTest::newRow("line break inside quotes")
        << QByteArray("\"a\r\nb\",c\r\nd") << QStringList{"a\r\nb|c", "d"};
    QTest::newRow("trailing empty cells") << QByteArray("a,,\r\n") << QStringList{"a||"};
    QTest::newRow("unclosed quote takes the rest")
        << QByteArray("\"a,b\r\nc") << QStringList{"a,b\r\nc"};
    QTest::newRow("text after closing quote kept") << QByteArray("\"a\"b,c") << QStringList{"ab|c"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void DelimitedTextTest::splitting() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, rows);
    QStringList got;
    for (const auto& row : rowsOf(text, ',')) {
        QStringList cells;
        for (const std::string& cell : row) {
            cells << QString::fromStdString(cell);
        }
        got << cells.join(QLatin1Char('|'));
    }
    QCOMPARE(got, rows);
}

void DelimitedTextTest::encodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9") << QStringLiteral("caf\u00E9");
    QTest::newRow("UTF-8 with BOM") << QByteArray(
                                           "\xEF\xBB\xBF"
                                           "caf\xC3\xA9")
                                    << QStringLiteral("caf\u00E9");
    QTest::newRow("Windows-1252 letters")
        << QByteArray("caf\xE9 na\xEFve") << QStringLiteral("caf\u00E9 na\u00EFve");
    QTest::newRow("Windows-1252 euro and quotes")
        << QByteArray("\x80 \x93x\x94 \x85") << QStringLiteral("\u20AC \u201Cx\u201D \u2026");
    QTest::newRow("plain ASCII") << QByteArray("abc") << QStringLiteral("abc");
}

void DelimitedTextTest::encodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(QString::fromUtf8(DelimitedText::toUtf8(bytes)), text);
}

void DelimitedTextTest::sheetRoundTripsThroughBothSeparators_data() {
    QTest::addColumn<char>("separator");
    QTest::newRow("comma") << ',';
    QTest::newRow("tab") << '\t';
}

void DelimitedTextTest::sheetRoundTripsThroughBothSeparators() {
    QFETCH(char, separator);
    const QStringList cells{QStringLiteral("plain"),
                            QStringLiteral("a,b"),
                            QStringLiteral("tab\there"),
                            QStringLiteral("say \"hi\""),
                            QStringLiteral("two\r\nlines"),
                            QStringLiteral("lf\nonly"),
                            QString(),
                            QStringLiteral("\u00E9\u20AC\u4E2D")};
    Grid grid;
    grid.setFixedRows(1);
    grid.setRows(3);
    grid.setCols(cells.size());
    for (int c = 0; c < cells.size(); ++c) {
        grid.setTextMatrix(0, c, QStringLiteral("T%1").arg(c));
        grid.setTextMatrix(1, c, cells[c]);
        grid.setTextMatrix(2, c, cells[cells.size() - 1 - c]);
    }
    const QByteArray file = DelimitedText::save(grid, separator, true);
    QVERIFY(file.endsWith("\r\n"));
    Grid loaded;
    loaded.setFixedRows(1);
    QVERIFY(DelimitedText::load(loaded, file, separator).isOk());
    QCOMPARE(loaded.rows(), 4);
    QCOMPARE(loaded.cols(), int(cells.size()));
    for (int c = 0; c < cells.size(); ++c) {
        QCOMPARE(loaded.textMatrix(0, c), QString());
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(loaded.textMatrix(r + 1, c), grid.textMatrix(r, c));
        }
    }
}

void DelimitedTextTest::loadPutsLinesBelowAnEmptyTitleRow() {
    Grid grid;
    grid.setFixedRows(1);
    grid.setRows(5);
    grid.setCols(9);
    grid.setColDataType(2, 7);
    grid.setTextMatrix(3, 3, QStringLiteral("old"));
    QVERIFY(DelimitedText::load(grid, QByteArray("a,b\r\nc,d,e\r\nf"), ',').isOk());
    QCOMPARE(grid.rows(), 4);
    QCOMPARE(grid.cols(), 3);
    const QStringList expected{"", "", "", "a", "b", "", "c", "d", "e", "f", "", ""};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(grid.textMatrix(r, c), expected[r * 3 + c]);
            QCOMPARE(grid.colDataType(c), 0);
        }
    }
}

void DelimitedTextTest::emptyFileLeavesOneRowAndOneColumn() {
    Grid grid;
    grid.setFixedRows(1);
    grid.setRows(5);
    grid.setCols(4);
    QVERIFY(DelimitedText::load(grid, QByteArray(), '\t').isOk());
    QCOMPARE(grid.rows(), 1);
    QCOMPARE(grid.cols(), 1);
}

// Stopped half way (the progress handler says so), the load leaves the sheet
// as it was; a handler that goes on gets every row.
void DelimitedTextTest::stoppedLoadLeavesTheSheet() {
    QByteArray file;
    for (int i = 0; i < 20000; ++i) {
        file += QByteArray::number(i) + ",x\r\n";
    }
    Grid grid;
    grid.setFixedRows(1);
    grid.setRows(3);
    grid.setCols(2);
    grid.setTextMatrix(2, 1, QStringLiteral("kept"));
    std::size_t heard = 0;
    const jet::Status stopped =
        DelimitedText::load(grid, file, ',', [&heard](std::size_t done, std::size_t total) {
            heard = done;
            return total != 20000 || done < 8192;
        });
    QVERIFY(!stopped.isOk());
    QCOMPARE(QString::fromStdString(stopped.message()), QStringLiteral("The load was stopped."));
    QCOMPARE(heard, std::size_t(8192));
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.cols(), 2);
    QCOMPARE(grid.textMatrix(2, 1), QStringLiteral("kept"));
    QVERIFY(
        DelimitedText::load(grid, file, ',', [](std::size_t, std::size_t) { return true; }).isOk());
    QCOMPARE(grid.rows(), 20001);
    QCOMPARE(grid.textMatrix(20000, 0), QStringLiteral("19999"));
}

void DelimitedTextTest::tooWideFileIsRefusedAndSheetKept() {
    Grid grid;
    grid.setFixedRows(1);
    grid.setRows(2);
    grid.setCols(2);
    grid.setTextMatrix(1, 1, QStringLiteral("kept"));
    const QByteArray wide(sheet::CellStore::kMaxCols + 1, ',');
    const jet::Status status = DelimitedText::load(grid, wide, ',');
    QVERIFY(!status.isOk());
    QVERIFY(QString::fromStdString(status.message()).contains(QStringLiteral("columns")));
    QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("kept"));
    QCOMPARE(grid.cols(), 2);
}

QTEST_MAIN(DelimitedTextTest)
#include "tst_delimited_text.moc"
