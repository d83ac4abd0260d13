// The filter row: what each typed condition keeps (text, comparisons, Like
// patterns, dates), several columns together, and the rows a filter shows.
#include "sheet/cell_store.h"
#include "sheet/filter_condition.h"
#include "sheet/like_pattern.h"
#include "sheet/row_filter.h"

#include <QTest>

#include <cmath>

using sheet::CellInput;
using sheet::CellStore;
using sheet::FilterCondition;
using sheet::LikePattern;
using sheet::RowFilter;

namespace {

// A store with a title row and one row per entry of `rows` (cells split at '|').
CellStore storeOf(const QStringList& rows) {
    CellStore store;
    const int cols = int(rows.first().split(u'|').size());
    store.beginFill(cols);
    for (const QString& row : rows) {
        const QStringList cells = row.split(u'|');
        std::vector<QByteArray> bytes;
        std::vector<std::string_view> texts;
        for (const QString& cell : cells) {
            bytes.push_back(cell.toUtf8());
        }
        for (const QByteArray& b : bytes) {
            texts.emplace_back(b.constData(), std::size_t(b.size()));
        }
        store.appendTextRow(texts);
    }
    return store;
}

QList<int> shown(const RowFilter& filter, const CellStore& store) {
    const std::vector<int> rows = filter.shownRows(store, 1);
    return QList<int>(rows.begin(), rows.end());
}

}  // namespace

class TestRowFilter : public QObject {
    Q_OBJECT
  private slots:
    void condition_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("passes");
        QTest::newRow("empty keeps all") << ""
                                         << "x" << true;
        QTest::newRow("text inside, any case") << "lon"
                                               << "London" << true;
        QTest::newRow("text not inside") << "lon"
                                         << "Paris" << false;
        QTest::newRow("accented text, any case") << "zÜr"
                                                 << "ZÜRICH" << true;
        QTest::newRow("equal number") << "=10"
                                      << "10.0" << true;
        QTest::newRow("equal text ignores case") << "=paris"
                                                 << "Paris" << true;
        QTest::newRow("equal text is whole") << "=par"
                                             << "Paris" << false;
        QTest::newRow("less than number") << "<10"
                                          << "9.5" << true;
        QTest::newRow("not less than number") << "<10"
                                              << "10" << false;
        QTest::newRow("numbers compare by value, not text") << ">9"
                                                            << "10" << true;
        QTest::newRow("greater or equal") << ">= 10"
                                          << "10" << true;
        QTest::newRow("less or equal") << "<=-1"
                                       << "-2" << true;
        QTest::newRow("not equal") << "<>3"
                                   << "4" << true;
        QTest::newRow("text is no number") << ">5"
                                           << "abc" << false;
        QTest::newRow("text is unequal to a number") << "<>5"
                                                     << "abc" << true;
        QTest::newRow("empty is no number") << "<5"
                                            << "" << false;
        QTest::newRow("text comparison") << "<m"
                                         << "London" << true;
        QTest::newRow("text comparison after") << ">m"
                                               << "London" << false;
        QTest::newRow("equals nothing keeps blanks") << "="
                                                     << "" << true;
        QTest::newRow("equals nothing drops filled") << "="
                                                     << "x" << false;
        QTest::newRow("unequal nothing keeps filled") << "<>"
                                                      << "x" << true;
        QTest::newRow("like star") << "Like L*n"
                                   << "London" << true;
        QTest::newRow("like is whole cell") << "like L*d"
                                            << "London" << false;
        QTest::newRow("like question") << "LIKE ?aris"
                                       << "Paris" << true;
        QTest::newRow("like quoted") << "Like \"*on\""
                                     << "London" << true;
        QTest::newRow("like digit") << "Like A##"
                                    << "A12" << true;
        QTest::newRow("like digit refuses letter") << "Like A##"
                                                   << "A1x" << false;
        QTest::newRow("like set") << "Like [bp]*"
                                  << "Paris" << true;
        QTest::newRow("like range") << "Like [a-c]*"
                                    << "Dublin" << false;
        QTest::newRow("like negated set") << "Like [!a-c]*"
                                          << "Dublin" << true;
        QTest::newRow("like unclosed bracket literal") << "Like [a*"
                                                       << "[abc" << true;
        QTest::newRow("like several stars") << "Like *a*b*c"
                                            << "xaxxbxxc" << true;
        QTest::newRow("like several stars fail") << "Like *a*b*c"
                                                 << "xaxxcxxb" << false;
        QTest::newRow("like empty cell") << "Like *"
                                         << "" << true;
        QTest::newRow("like folds case of plain text") << "Like *DON"
                                                       << "london" << true;
        QTest::newRow("like folds case beyond ascii") << "Like über*"
                                                      << "ÜBERLINGEN" << true;
        QTest::newRow("like question is one letter beyond ascii") << "Like m?nchen"
                                                                  << "München" << true;
        QTest::newRow("like word alone is text") << "like"
                                                 << "unlikely" << true;
        // Wildcards typed without "Like" are a pattern: "s*" used to look
        // for a literal star and hide every row.
        QTest::newRow("plain text with star is a pattern") << "s*"
                                                           << "Sunny Cheese" << true;
        QTest::newRow("plain star pattern is whole cell") << "s*"
                                                          << "Wild Sausage" << false;
        QTest::newRow("plain text with question is a pattern") << "?ak"
                                                               << "Oak" << true;
        QTest::newRow("plain text without wildcards still contains") << "sau"
                                                                     << "Wild Sausage" << true;
    }
    void condition() {
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        QFETCH(bool, passes);
        const QByteArray bytes = cell.toUtf8();
        QCOMPARE(FilterCondition(typed).passes(std::string_view(bytes.constData(), bytes.size()),
                                               nullptr),
                 passes);
    }

    void typedValuesAndDatesCompare() {
        // A date column's cells carry day numbers; a typed date compares with them.
        const double day = 45322;  // 2024-01-31
        QVERIFY(FilterCondition(QStringLiteral("=2024-01-31")).passes("1/31/2024", &day));
        QVERIFY(FilterCondition(QStringLiteral(">1/30/2024")).passes("1/31/2024", &day));
        QVERIFY(!FilterCondition(QStringLiteral("<2024-01-31")).passes("1/31/2024", &day));
        const double amount = 1234.5;
        QVERIFY(FilterCondition(QStringLiteral(">1000")).passes("1.234,50 €", &amount));
    }

    void likePatternIsLinearOnLongCells() {
        const QString cell = QString(200000, u'a');
        QVERIFY(LikePattern(QStringLiteral("*a*a*b")).matches(cell) == false);
        QVERIFY(LikePattern(QStringLiteral("a*a")).matches(cell));
    }

    void columnsCombine() {
        const CellStore store =
            storeOf({"City|Amount", "London|10", "Paris|5", "Lisbon|20", "Leeds|", "Berlin|30"});
        RowFilter filter;
        QVERIFY(!filter.isActive());
        QCOMPARE(shown(filter, store), (QList<int>{1, 2, 3, 4, 5}));
        filter.setCondition(0, QStringLiteral("Like L*"));
        QCOMPARE(shown(filter, store), (QList<int>{1, 3, 4}));
        filter.setCondition(1, QStringLiteral(">=10"));
        QCOMPARE(shown(filter, store), (QList<int>{1, 3}));
        QCOMPARE(filter.conditionText(1), QStringLiteral(">=10"));
        filter.setCondition(0, QString());
        QCOMPARE(shown(filter, store), (QList<int>{1, 3, 5}));
        QCOMPARE(filter.conditionText(0), QString());
        filter.setCondition(7, QStringLiteral("x"));  // a column that is not there
        QCOMPARE(shown(filter, store), (QList<int>{1, 3, 5}));
        filter.clear();
        QVERIFY(!filter.isActive());
        QCOMPARE(shown(filter, store), (QList<int>{1, 2, 3, 4, 5}));
    }

    void titleRowIsNeverFiltered() {
        const CellStore store = storeOf({"Name", "a"});
        RowFilter filter;
        filter.setCondition(0, QStringLiteral("Name"));
        QCOMPARE(shown(filter, store), QList<int>());
        QCOMPARE(filter.shownRows(store, 5), std::vector<int>());
    }
};

QTEST_MAIN(TestRowFilter)
#include "tst_row_filter.moc"
