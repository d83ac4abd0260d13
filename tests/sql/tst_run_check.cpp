// Run's checks before the engine: the length test and the keyword test,
// quirks included (a keyword inside a literal is refused, one next to a line
// break, a tab or at the very start is not).
#include <QTest>

#include "db/modifying_test.h"
#include "sql/run_check.h"

using Verdict = sql::RunCheck::Verdict;
Q_DECLARE_METATYPE(Verdict)

class RunCheckTest : public QObject {
    Q_OBJECT
  private slots:
    void verdict_data();
    void verdict();
};

void RunCheckTest::verdict_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<Verdict>("expected");
    QTest::newRow("empty") << "" << Verdict::TooShort;
    QTest::newRow("11 characters") << "SELECT 1+1 " << Verdict::TooShort;
    QTest::newRow("12 characters") << "SELECT 1+1  " << Verdict::Run;
    QTest::newRow("initial text, 20 characters") << "SELECT \r\n FROM \r\n \r\n" << Verdict::Run;
    QTest::newRow("line breaks count two") << "SELECT\r\nA\r\nB" << Verdict::Run;
    QTest::newRow("select") << "SELECT * FROM Orders" << Verdict::Run;
    QTest::newRow("update between blanks") << "UPDATE Orders SET Amount = 0" << Verdict::Modifying;
    QTest::newRow("literal with update")
        << "SELECT * FROM T WHERE Note = 'do not update me'" << Verdict::Modifying;
    QTest::newRow("lower-case insert") << "select 1 from t; insert into x" << Verdict::Modifying;
    QTest::newRow(" DELETE ") << "SELECT * FROM T WHERE X = ' delete '" << Verdict::Modifying;
    QTest::newRow("delete at the start") << "DELETE FROM Orders WHERE 1=1" << Verdict::Run;
    QTest::newRow("keyword before a line break")
        << "SELECT * FROM T\r\nWHERE a = ' INSERT\r\n'" << Verdict::Run;
    QTest::newRow("keyword after a line break") << "SELECT 1 FROM T\r\nUPDATE x" << Verdict::Run;
    QTest::newRow("keyword after a tab") << "SELECT 1 FROM T\tSET x" << Verdict::Run;
    QTest::newRow("bracketed") << "SELECT [SET] FROM T" << Verdict::Run;
    QTest::newRow("settle is no keyword") << "SELECT SETTLE FROM T" << Verdict::Run;
    QTest::newRow("offset is no keyword") << "SELECT a FROM T WHERE OFFSET = 1" << Verdict::Run;
}

void RunCheckTest::verdict() {
    QFETCH(QString, sql);
    QFETCH(Verdict, expected);
    QCOMPARE(sql::RunCheck::check(sql), expected);
    if (sql.size() >= sql::RunCheck::kMinLength) {
        QCOMPARE(db::ModifyingTest::modifiesData(sql), expected == Verdict::Modifying);
    }
}

QTEST_MAIN(RunCheckTest)
#include "tst_run_check.moc"
