// Find on the sheet: next and previous with wrap-round, match case, whole
// cell, hidden rows skipped, and the count of hits.
#include "sheet/cell_store.h"
#include "sheet/sheet_find.h"
#include "sheet/text_matcher.h"

#include <QTest>

using sheet::CellPosition;
using sheet::CellStore;
using sheet::SheetFind;
using sheet::TextMatcher;
using Direction = sheet::SheetFind::Direction;

Q_DECLARE_METATYPE(std::string)

namespace {

CellStore storeOf(const std::vector<std::vector<std::string>>& rows) {
    CellStore store;
    store.beginFill(int(rows.front().size()));
    for (const auto& row : rows) {
        std::vector<std::string_view> texts(row.begin(), row.end());
        store.appendTextRow(texts);
    }
    return store;
}

QString at(const std::optional<CellPosition>& found) {
    return found ? QStringLiteral("%1,%2").arg(found->row).arg(found->col) : QStringLiteral("none");
}

}  // namespace

class TestSheetFind : public QObject {
    Q_OBJECT
  private slots:
    void matcher_data() {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeCell");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("matches");
        QTest::newRow("inside, any case") << "DON" << false << false << "London" << true;
        QTest::newRow("inside, case counts") << "DON" << true << false << "London" << false;
        QTest::newRow("inside, same case") << "don" << true << false << "London" << true;
        QTest::newRow("whole, any case") << "london" << false << true << "London" << true;
        QTest::newRow("whole refuses part") << "londo" << false << true << "London" << false;
        QTest::newRow("whole, case counts") << "london" << true << true << "London" << false;
        QTest::newRow("non-ASCII cell, any case") << "sao" << false << false << "SAO Paulo" << true;
        QTest::newRow("non-ASCII needle") << "ZÜRICH" << false << false << "in zürich" << true;
        QTest::newRow("non-ASCII whole") << "kraków" << false << true << "KRAKÓW" << true;
        QTest::newRow("ASCII needle, accented cell")
            << "paulo" << false << false << "São PAULO" << true;
        QTest::newRow("empty cell") << "x" << false << false << "" << false;
        QTest::newRow("needle folding to ASCII")
            << QString(QChar(0x212A)) << false << false << "Kilo" << true;
        QTest::newRow("non-ASCII needle, ASCII cell") << "ü" << false << false << "u" << false;
    }
    void matcher() {
        QFETCH(QString, wanted);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeCell);
        QFETCH(QString, cell);
        QFETCH(bool, matches);
        const QByteArray bytes = cell.toUtf8();
        const TextMatcher matcher(wanted, {matchCase, wholeCell});
        QCOMPARE(matcher.matches(std::string_view(bytes.constData(), bytes.size())), matches);
    }

    void nextAndPreviousWrapRound() {
        const CellStore store =
            storeOf({{"A", "B"}, {"x", "hit"}, {"hit", "y"}, {"z", "z"}, {"w", "hit"}});
        const SheetFind find(store, 1);
        const TextMatcher hit(QStringLiteral("hit"), {});
        QCOMPARE(at(find.find(hit, {1, 0}, Direction::Next)), QStringLiteral("1,1"));
        QCOMPARE(at(find.find(hit, {1, 1}, Direction::Next)), QStringLiteral("2,0"));
        QCOMPARE(at(find.find(hit, {2, 0}, Direction::Next)), QStringLiteral("4,1"));
        QCOMPARE(at(find.find(hit, {4, 1}, Direction::Next)), QStringLiteral("1,1"));
        QCOMPARE(at(find.find(hit, {1, 1}, Direction::Previous)), QStringLiteral("4,1"));
        QCOMPARE(at(find.find(hit, {4, 1}, Direction::Previous)), QStringLiteral("2,0"));
        QCOMPARE(find.count(hit), 3);
        // The title row is not searched, and the only hit is found from itself.
        const CellStore one = storeOf({{"hit"}, {"a"}, {"hit"}});
        QCOMPARE(at(SheetFind(one, 1).find(hit, {2, 0}, Direction::Next)), QStringLiteral("2,0"));
        QCOMPARE(SheetFind(one, 1).count(hit), 1);
    }

    void nothingToFind() {
        const CellStore store = storeOf({{"A"}, {"x"}});
        const SheetFind find(store, 1);
        QCOMPARE(at(find.find(TextMatcher(QStringLiteral("q"), {}), {1, 0}, Direction::Next)),
                 QStringLiteral("none"));
        QCOMPARE(at(find.find(TextMatcher(QString(), {}), {1, 0}, Direction::Next)),
                 QStringLiteral("none"));
        const CellStore titlesOnly = storeOf({{"x"}});
        QCOMPARE(at(SheetFind(titlesOnly, 1)
                        .find(TextMatcher(QStringLiteral("x"), {}), {0, 0}, Direction::Previous)),
                 QStringLiteral("none"));
        // A starting cell outside the sheet is brought inside.
        QCOMPARE(at(find.find(TextMatcher(QStringLiteral("x"), {}), {99, 99}, Direction::Next)),
                 QStringLiteral("1,0"));
    }

    void hiddenRowsAreSkipped() {
        const CellStore store = storeOf({{"A"}, {"hit"}, {"hit"}, {"hit"}});
        const SheetFind find(store, 1, [](int row) { return row != 2; });
        const TextMatcher hit(QStringLiteral("hit"), {});
        QCOMPARE(at(find.find(hit, {1, 0}, Direction::Next)), QStringLiteral("3,0"));
        QCOMPARE(at(find.find(hit, {3, 0}, Direction::Previous)), QStringLiteral("1,0"));
        QCOMPARE(find.count(hit), 2);
    }
};

QTEST_MAIN(TestSheetFind)
#include "tst_sheet_find.moc"
