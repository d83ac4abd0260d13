// Column display formats applied to numbers.
#include "sheet/number_format.h"

#include <QTest>

class TestNumberFormat : public QObject {
    Q_OBJECT
  private slots:
    void format_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0 rounds") << "0" << 1234.5678 << "1235";
        QTest::newRow("0 negative") << "0" << -2.4 << "-2";
        QTest::newRow("0 zero") << "0" << 0.0 << "0";
        QTest::newRow("0.00") << "0.00" << 1234.5678 << "1234.57";
        QTest::newRow("0.00 small") << "0.00" << 0.5 << "0.50";
        QTest::newRow("0.00 negative") << "0.00" << -0.004 << "0.00";
        QTest::newRow("#,### thousands") << "#,###" << 1234567.8 << "1,234,568";
        QTest::newRow("#,### three digits") << "#,###" << 999.0 << "999";
        QTest::newRow("#,### zero shows nothing") << "#,###" << 0.2 << "";
        QTest::newRow("#,### negative") << "#,###" << -4321.0 << "-4,321";
        QTest::newRow("#,###.00") << "#,###.00" << 1234.5 << "1,234.50";
        QTest::newRow("#,###.00 below one") << "#,###.00" << 0.5 << ".50";
        QTest::newRow("$#,###") << "$#,###" << 1234567.0 << "$1,234,567";
        QTest::newRow("$#,### negative") << "$#,###" << -1500.0 << "-$1,500";
        QTest::newRow("$#,###.00") << "$#,###.00" << 1234.567 << "$1,234.57";
        QTest::newRow("$#,###.00 large") << "$#,###.00" << 1e12 << "$1,000,000,000,000.00";
    }
    void format() {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        const sheet::NumberFormat format(pattern);
        QVERIFY(format.isValid());
        QCOMPARE(format.format(value), expected);
    }

    void patternsWithoutDigitsAreNotFormats() {
        QVERIFY(!sheet::NumberFormat(QString()).isValid());
        QVERIFY(!sheet::NumberFormat(QStringLiteral("General")).isValid());
        QVERIFY(sheet::NumberFormat(QStringLiteral("0%")).isValid());
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
