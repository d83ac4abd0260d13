// Whether a loaded text file's first line is taken for its titles.
#include "sheet/delimited_text.h"
#include "sheet/grid.h"
#include "sheet/title_row_guess.h"

#include <QTest>

using sheet::DelimitedText;
using sheet::Grid;
using sheet::TitleRowGuess;

class TestTitleRowGuess : public QObject {
    Q_OBJECT
  private slots:
    void firstLine_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("titles");
        QTest::newRow("names every column") << QByteArray("ID,Name,Amount\r\n1,a,2.5\r\n") << true;
        QTest::newRow("quoted names") << QByteArray("\"Unit Price\",Qty\r\n1,2\r\n") << true;
        QTest::newRow("a number is data") << QByteArray("Name,2024\r\na,b\r\n") << false;
        QTest::newRow("an empty title is data") << QByteArray("Name,,X\r\na,b,c\r\n") << false;
        QTest::newRow("a short line is data") << QByteArray("Name\r\na,b\r\n") << false;
        QTest::newRow("repeated names are data") << QByteArray("a,A\r\nx,y\r\n") << false;
        QTest::newRow("one line alone is data") << QByteArray("ID,Name\r\n") << false;
        QTest::newRow("empty file") << QByteArray() << false;
    }
    void firstLine() {
        QFETCH(QByteArray, file);
        QFETCH(bool, titles);
        Grid grid;
        QVERIFY(DelimitedText::load(grid, file, DelimitedText::kComma).isOk());
        QCOMPARE(TitleRowGuess::firstRowNamesEveryColumn(grid), titles);
    }

    // Regression: a sheet saved as comma-delimited text came back with its
    // titles as data row 1 and blank titles.
    void savedSheetReopensWithTitleRowAsData() {
        Grid saved;
        saved.setCols(2);
        saved.setRows(3);
        saved.setTextMatrix(0, 0, QStringLiteral("City"));
        saved.setTextMatrix(0, 1, QStringLiteral("Amount"));
        saved.setTextMatrix(1, 0, QStringLiteral("Oslo"));
        saved.setTextMatrix(1, 1, QStringLiteral("12.5"));
        saved.setTextMatrix(2, 0, QStringLiteral("Rome"));
        saved.setTextMatrix(2, 1, QStringLiteral("7"));
        const QByteArray file = DelimitedText::save(saved, DelimitedText::kComma, true);
        Grid reopened;
        QVERIFY(DelimitedText::load(reopened, file, DelimitedText::kComma).isOk());
        QVERIFY(TitleRowGuess::firstRowNamesEveryColumn(reopened));
    }
};

QTEST_MAIN(TestTitleRowGuess)
#include "tst_title_row_guess.moc"
