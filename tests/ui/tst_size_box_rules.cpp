// The "Rows" and "Cols" boxes' rules without a window: what Enter makes of a
// box's text (the empty box's one row or column, the lower bounds, text that
// is no whole number, counts above the maximum) and where the spin buttons
// stop.
#include <QTest>

#include "ui/size_box_rules.h"

using ui::SizeBoxRules;
using Box = SizeBoxRules::Box;
using Verdict = SizeBoxRules::Verdict;

Q_DECLARE_METATYPE(SizeBoxRules::Box)
Q_DECLARE_METATYPE(SizeBoxRules::Verdict)

class SizeBoxRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void enterReadsTheBox_data();
    void enterReadsTheBox();
    void spinSteps_data();
    void spinSteps();
    void refusalsNameTheirBoxAndLimit();
};

void SizeBoxRulesTest::enterReadsTheBox_data() {
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");

    QTest::newRow("rows number") << Box::Rows << "120" << Verdict::Apply << 120 << "120";
    QTest::newRow("rows zero: title row only") << Box::Rows << "0" << Verdict::Apply << 0 << "0";
    QTest::newRow("rows empty") << Box::Rows << "" << Verdict::Apply << 1 << "1";
    QTest::newRow("rows blanks") << Box::Rows << "   " << Verdict::Apply << 1 << "1";
    QTest::newRow("rows spaces around") << Box::Rows << " 7 " << Verdict::Apply << 7 << "7";
    QTest::newRow("rows leading zeros") << Box::Rows << "007" << Verdict::Apply << 7 << "7";
    QTest::newRow("rows at maximum")
        << Box::Rows << "10000000" << Verdict::Apply << 10'000'000 << "10000000";
    QTest::newRow("rows above maximum") << Box::Rows << "10000001" << Verdict::TooBig << 0 << "";
    QTest::newRow("rows beyond int") << Box::Rows << "99999999999" << Verdict::TooBig << 0 << "";
    QTest::newRow("rows negative") << Box::Rows << "-3" << Verdict::NotANumber << 0 << "";
    QTest::newRow("rows plus sign") << Box::Rows << "+3" << Verdict::NotANumber << 0 << "";
    QTest::newRow("rows fraction") << Box::Rows << "2.5" << Verdict::NotANumber << 0 << "";
    QTest::newRow("rows thousands") << Box::Rows << "1,000" << Verdict::NotANumber << 0 << "";
    QTest::newRow("rows word") << Box::Rows << "ten" << Verdict::NotANumber << 0 << "";
    QTest::newRow("rows Arabic-Indic digits")
        << Box::Rows << QString::fromUtf8("\u0661\u0662") << Verdict::NotANumber << 0 << "";
    QTest::newRow("cols number") << Box::Cols << "500" << Verdict::Apply << 500 << "500";
    QTest::newRow("cols empty") << Box::Cols << "" << Verdict::Apply << 1 << "1";
    QTest::newRow("cols zero") << Box::Cols << "0" << Verdict::NotANumber << 0 << "";
    QTest::newRow("cols at maximum") << Box::Cols << "16384" << Verdict::Apply << 16384 << "16384";
    QTest::newRow("cols above maximum") << Box::Cols << "16385" << Verdict::TooBig << 0 << "";
    QTest::newRow("cols hex") << Box::Cols << "0x10" << Verdict::NotANumber << 0 << "";
}

void SizeBoxRulesTest::enterReadsTheBox() {
    QFETCH(Box, box);
    QFETCH(QString, text);
    QFETCH(Verdict, verdict);
    QFETCH(int, count);
    QFETCH(QString, shown);
    const SizeBoxRules::Reading reading = SizeBoxRules::read(box, text);
    QCOMPARE(reading.verdict, verdict);
    if (verdict == Verdict::Apply) {
        QCOMPARE(reading.count, count);
        QCOMPARE(reading.shown, shown);
    }
}

void SizeBoxRulesTest::spinSteps_data() {
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("up");
    QTest::addColumn<QString>("down");

    QTest::newRow("rows middle") << Box::Rows << "50"
                                 << "51"
                                 << "49";
    QTest::newRow("rows at 1") << Box::Rows << "1"
                               << "2"
                               << "1";
    QTest::newRow("rows at 0") << Box::Rows << "0"
                               << "1"
                               << "0";
    QTest::newRow("rows at 2") << Box::Rows << "2"
                               << "3"
                               << "1";
    QTest::newRow("rows at spin top") << Box::Rows << "200000"
                                      << "200001"
                                      << "199999";
    QTest::newRow("rows past spin top") << Box::Rows << "200001"
                                        << "200001"
                                        << "200000";
    QTest::newRow("rows typed beyond") << Box::Rows << "750000"
                                       << "750000"
                                       << "749999";
    QTest::newRow("rows empty") << Box::Rows << ""
                                << "1"
                                << "";
    QTest::newRow("rows word") << Box::Rows << "abc"
                               << "abc"
                               << "abc";
    QTest::newRow("cols at spin top") << Box::Cols << "200"
                                      << "201"
                                      << "199";
    QTest::newRow("cols past spin top") << Box::Cols << "201"
                                        << "201"
                                        << "200";
    QTest::newRow("cols typed beyond") << Box::Cols << "500"
                                       << "500"
                                       << "499";
    QTest::newRow("cols at 1") << Box::Cols << "1"
                               << "2"
                               << "1";
    QTest::newRow("cols negative") << Box::Cols << "-4"
                                   << "-4"
                                   << "-4";
}

void SizeBoxRulesTest::spinSteps() {
    QFETCH(Box, box);
    QFETCH(QString, text);
    QFETCH(QString, up);
    QFETCH(QString, down);
    QCOMPARE(SizeBoxRules::stepUp(box, text), up);
    QCOMPARE(SizeBoxRules::stepDown(box, text), down);
}

void SizeBoxRulesTest::refusalsNameTheirBoxAndLimit() {
    QCOMPARE(SizeBoxRules::title(Box::Rows), QStringLiteral("Rows"));
    QCOMPARE(SizeBoxRules::title(Box::Cols), QStringLiteral("Cols"));
    QVERIFY(SizeBoxRules::tooBigMessage(Box::Rows).contains(QStringLiteral("10,000,000")));
    QVERIFY(SizeBoxRules::tooBigMessage(Box::Cols).contains(QStringLiteral("16,384")));
}

QTEST_APPLESS_MAIN(SizeBoxRulesTest)
#include "tst_size_box_rules.moc"
