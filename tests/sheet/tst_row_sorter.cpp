// Row ordering: empty cells, numbers by value, texts without regard to case,
// typed values, stability in both directions. Also number reading.
#include "sheet/number_text.h"
#include "sheet/row_sorter.h"
#include "sheet/text_column.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numeric>
#include <random>

using sheet::RowSorter;
using sheet::TextColumn;

namespace {
// Sorts the texts (separated by '|') and returns them joined the same way.
QString sorted(const QString& cells, bool descending) {
    const QStringList texts = cells.split(u'|');
    std::vector<QByteArray> bytes;
    TextColumn column;
    for (int i = 0; i < texts.size(); ++i) {
        bytes.push_back(texts[i].toUtf8());
        column.set(i, std::string_view(bytes.back().constData(), bytes.back().size()));
    }
    std::vector<uint32_t> rows(texts.size());
    std::iota(rows.begin(), rows.end(), 0u);
    RowSorter(column, {}).sort(rows, descending);
    QStringList out;
    for (uint32_t row : rows) {
        out << texts[int(row)];
    }
    return out.join(u'|');
}
}  // namespace

class TestRowSorter : public QObject {
    Q_OBJECT
  private slots:
    void orders_data() {
        QTest::addColumn<QString>("cells");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("expected");
        QTest::newRow("numbers by value") << "10|9|100|-2|1.5" << false << "-2|1.5|9|10|100";
        QTest::newRow("numbers descending") << "10|9|100|-2" << true << "100|10|9|-2";
        QTest::newRow("case ignored")
            << "banana|Apple|cherry|apple2" << false << "Apple|apple2|banana|cherry";
        QTest::newRow("equal texts keep order") << "b|B|a|b" << false << "a|b|B|b";
        QTest::newRow("equal texts keep order descending") << "b|B|a|b" << true << "b|B|b|a";
        QTest::newRow("empty, numbers, texts") << "x|5||y|-1" << false << "|-1|5|x|y";
        QTest::newRow("descending puts empty last") << "x|5||y" << true << "y|x|5|";
        QTest::newRow("blank text is text") << " ||x" << false << "| |x";
        QTest::newRow("number with blanks and exponent")
            << "2e3| 300 |+40" << false << "+40| 300 |2e3";
        QTest::newRow("not quite numbers are text") << "12abc|1,000|3" << false << "3|1,000|12abc";
        QTest::newRow("long common prefix")
            << "prefix_same_text_b|Prefix_Same_Text_A|prefix_same" << false
            << "prefix_same|Prefix_Same_Text_A|prefix_same_text_b";
        QTest::newRow("accented letters fold")
            << "Éclair|éclair|eclair|zeta" << false << "eclair|zeta|Éclair|éclair";
        QTest::newRow("greek case") << "ΣΑΣ|σας|Αλφα" << false << "Αλφα|ΣΑΣ|σας";
    }
    void orders() {
        QFETCH(QString, cells);
        QFETCH(bool, descending);
        QFETCH(QString, expected);
        QCOMPARE(sorted(cells, descending), expected);
    }

    void typedValuesDecideOverText() {
        TextColumn column;
        column.set(0, "01/02/2024");
        column.set(1, "12/31/2023");
        column.set(2, "03/01/2023");
        const std::vector<double> days{45293, 45291, 44986};
        std::vector<uint32_t> rows{0, 1, 2};
        RowSorter(column, days).sort(rows, false);
        QCOMPARE(rows, (std::vector<uint32_t>{2, 1, 0}));
    }

    void textComparisonIgnoresNumbersAndValues() {
        TextColumn column;
        const char* texts[] = {"1010", "01307", "", "B7", "a10", "9"};
        for (uint32_t i = 0; i < 6; ++i) {
            column.set(i, texts[i]);
        }
        const std::vector<double> values{1010, 1307, NAN, NAN, NAN, 9};
        std::vector<uint32_t> rows{0, 1, 2, 3, 4, 5};
        RowSorter(column, values, RowSorter::Compare::AsText).sort(rows, false);
        QCOMPARE(rows, (std::vector<uint32_t>{2, 1, 0, 5, 4, 3}));
        RowSorter(column, values, RowSorter::Compare::AsText).sort(rows, true);
        QCOMPARE(rows, (std::vector<uint32_t>{3, 4, 5, 0, 1, 2}));
    }

    void missingValuesFallBackToText() {
        TextColumn column;
        column.set(0, "7");
        column.set(1, "x");
        column.set(2, "3");
        const std::vector<double> values{std::numeric_limits<double>::quiet_NaN(), 99};
        std::vector<uint32_t> rows{0, 1, 2};
        RowSorter(column, values).sort(rows, false);
        QCOMPARE(rows, (std::vector<uint32_t>{2, 0, 1}));  // 3, 7, then 99 from its value
    }

    void largeRepetitiveColumnIsOrderedAndStable() {
        TextColumn column;
        std::mt19937 random(7);
        const int count = 50000;
        for (int i = 0; i < count; ++i) {
            const std::string text = "v" + std::to_string(random() % 300);
            column.set(i, (i % 2) ? text : "V" + text.substr(1));
        }
        std::vector<uint32_t> rows(count);
        std::iota(rows.begin(), rows.end(), 0u);
        RowSorter(column, {}).sort(rows, false);
        for (int i = 1; i < count; ++i) {
            const int order = RowSorter::compareText(column.get(rows[i - 1]), column.get(rows[i]));
            QVERIFY(order < 0 || (order == 0 && rows[i - 1] < rows[i]));
        }
    }

    // The sort keys hold the first bytes of each text; whatever lies past them
    // (long shared prefixes, letters of two to four bytes across the key's end,
    // NULs, case variants, bad bytes) must still order as the full comparison.
    void textKeysAgreeWithFullComparison() {
        const std::vector<std::string> pieces{"a",    "A",    "b", "é", "É",
                                              "ж",    "Ж",    "€", "𝄞", std::string(1, '\0'),
                                              "\xff", "\xc3", "-", "z"};
        std::mt19937 random(11);
        TextColumn column;
        const int count = 60000;  // sorted in two halves
        for (int i = 0; i < count; ++i) {
            std::string text = (i % 3) ? "shared-prefix-" : "";
            for (int k = int(random() % 6); k > 0; --k) {
                text += pieces[random() % pieces.size()];
            }
            column.set(i, text);
        }
        for (auto compare : {RowSorter::Compare::Generic, RowSorter::Compare::AsText}) {
            for (bool descending : {false, true}) {
                std::vector<uint32_t> rows(count);
                std::iota(rows.begin(), rows.end(), 0u);
                RowSorter(column, {}, compare).sort(rows, descending);
                std::vector<uint32_t> expected(count);
                std::iota(expected.begin(), expected.end(), 0u);
                std::stable_sort(expected.begin(), expected.end(), [&](uint32_t a, uint32_t b) {
                    const int order = RowSorter::compareText(column.get(a), column.get(b));
                    return descending ? order > 0 : order < 0;
                });
                // None of these texts reads as a number, so both orders agree.
                QCOMPARE(rows, expected);
            }
        }
    }

    // A big column of empties, typed values, numbers as text (negative, zero,
    // fractions, exponents) and texts sharing long prefixes comes out as a
    // plain stable sort by the documented order puts it, in both directions,
    // from rows in any order (sorted in two halves, then merged).
    void largeMixedColumnAgreesWithAPlainOrder() {
        std::mt19937 random(23);
        TextColumn column;
        const int count = 80000;
        std::vector<double> values(count, std::numeric_limits<double>::quiet_NaN());
        const std::vector<std::string> numbers{"0", "-0", "-1.5", "2", "1E+300", "-1E-300", "10"};
        for (int i = 0; i < count; ++i) {
            switch (random() % 5) {
                case 0:
                    break;  // empty
                case 1:
                    values[i] = double(int(random() % 2001) - 1000) / 8;
                    column.set(i, "typed");
                    break;
                case 2:
                    column.set(i, numbers[random() % numbers.size()]);
                    break;
                default: {
                    std::string text = "prefix-shared-by-all/";
                    text += std::to_string(random() % 5000);
                    text += (random() % 2) ? 'X' : 'x';
                    column.set(i, text);
                }
            }
        }
        // (kind, number) by the rules: empty, then numbers, then texts.
        const auto rank = [&](uint32_t row) -> std::pair<int, double> {
            if (!std::isnan(values[row])) {
                return {1, values[row]};
            }
            const std::string_view text = column.get(row);
            if (text.empty()) {
                return {0, 0.0};
            }
            const auto number = sheet::readNumber(text);
            return number ? std::pair{1, *number} : std::pair{2, 0.0};
        };
        std::vector<uint32_t> shuffled(count);
        std::iota(shuffled.begin(), shuffled.end(), 0u);
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        for (bool descending : {false, true}) {
            std::vector<uint32_t> rows = shuffled;
            RowSorter(column, values).sort(rows, descending);
            std::vector<uint32_t> expected = shuffled;
            std::stable_sort(expected.begin(), expected.end(), [&](uint32_t a, uint32_t b) {
                auto [kindA, numberA] = rank(a);
                auto [kindB, numberB] = rank(b);
                int order = kindA != kindB ? (kindA < kindB ? -1 : 1)
                            : kindA == 1   ? (numberA < numberB   ? -1
                                              : numberB < numberA ? 1
                                                                  : 0)
                            : kindA == 2   ? RowSorter::compareText(column.get(a), column.get(b))
                                           : 0;
                return descending ? order > 0 : order < 0;
            });
            QCOMPARE(rows, expected);
        }
    }

    void invalidUtf8DoesNotBreakOrdering() {
        TextColumn column;
        column.set(0, "\xff\xfe");
        column.set(1, "abc");
        column.set(2, "\xc3");  // truncated sequence
        std::vector<uint32_t> rows{0, 1, 2};
        RowSorter(column, {}).sort(rows, false);
        QCOMPARE(rows[0], 1u);
    }

    void startsWithText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("expected");
        QTest::newRow("same case") << "Smith"
                                   << "Sm" << true;
        QTest::newRow("other case") << "Smith"
                                    << "sMI" << true;
        QTest::newRow("longer prefix") << "Sm"
                                       << "Smith" << false;
        QTest::newRow("different") << "Jones"
                                   << "Sm" << false;
        QTest::newRow("accented") << "Élan"
                                  << "él" << true;
    }
    void startsWithText() {
        QFETCH(QString, text);
        QFETCH(QString, prefix);
        QFETCH(bool, expected);
        const QByteArray a = text.toUtf8(), b = prefix.toUtf8();
        QCOMPARE(RowSorter::startsWithText(std::string_view(a.constData(), a.size()),
                                           std::string_view(b.constData(), b.size())),
                 expected);
    }

    void readNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "42" << true << 42.0;
        QTest::newRow("blanks and sign") << "  -3.5 " << true << -3.5;
        QTest::newRow("plus") << "+7" << true << 7.0;
        QTest::newRow("leading point") << ".25" << true << 0.25;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << "   " << false << 0.0;
        QTest::newRow("inf is text") << "inf" << false << 0.0;
        QTest::newRow("nan is text") << "nan" << false << 0.0;
        QTest::newRow("trailing letters") << "12kg" << false << 0.0;
        QTest::newRow("grouped") << "1,000" << false << 0.0;
        QTest::newRow("only sign") << "-" << false << 0.0;
        QTest::newRow("overflow") << "1e999" << false << 0.0;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const QByteArray bytes = text.toUtf8();
        const auto number = sheet::readNumber(std::string_view(bytes.constData(), bytes.size()));
        QCOMPARE(number.has_value(), isNumber);
        if (isNumber) {
            QCOMPARE(*number, value);
        }
    }
};

QTEST_GUILESS_MAIN(TestRowSorter)
#include "tst_row_sorter.moc"
