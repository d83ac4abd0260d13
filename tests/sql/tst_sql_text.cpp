// The SQL box's CR LF form: what the program sets keeps its CR LF, Enter
// typed in the box counts as CR LF, and caret positions are indexes into
// that form.
#include <QPlainTextEdit>
#include <QTest>

#include "sql/sql_text.h"

class SqlTextTest : public QObject {
    Q_OBJECT
  private slots:
    void setTextComesBackAsSet_data();
    void setTextComesBackAsSet();
    void enterTypedCountsAsCrLf();
    void caretIsAnIndexIntoTheCrLfForm();
    void setCaretInsideABreakGoesBeforeIt();
    void replaceSelectionInsertsAtTheCaret();
    void indexConversions_data();
    void indexConversions();
};

void SqlTextTest::setTextComesBackAsSet_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("got");
    QTest::newRow("initial text") << "SELECT \r\n FROM \r\n \r\n"
                                  << "SELECT \r\n FROM \r\n \r\n";
    QTest::newRow("one line") << "SELECT * FROM T"
                              << "SELECT * FROM T";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("lone LF") << "a\nb"
                             << "a\r\nb";
    QTest::newRow("lone CR") << "a\rb"
                             << "a\r\nb";
    QTest::newRow("blank lines") << "\r\n\r\n"
                                 << "\r\n\r\n";
    QTest::newRow("tab kept") << "a\tb"
                              << "a\tb";
}

void SqlTextTest::setTextComesBackAsSet() {
    QFETCH(QString, set);
    QFETCH(QString, got);
    QPlainTextEdit box;
    sql::SqlText::set(box, set);
    QCOMPARE(sql::SqlText::get(box), got);
}

void SqlTextTest::enterTypedCountsAsCrLf() {
    QPlainTextEdit box;
    box.show();
    box.setFocus();
    QTest::keyClicks(&box, QStringLiteral("SELECT"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("FROM"));
    QCOMPARE(sql::SqlText::get(box), QStringLiteral("SELECT\r\nFROM"));
    QCOMPARE(sql::SqlText::get(box).size(), 12);
    QCOMPARE(sql::SqlText::caret(box), 12);
}

void SqlTextTest::caretIsAnIndexIntoTheCrLfForm() {
    QPlainTextEdit box;
    sql::SqlText::set(box, QStringLiteral("ab\r\ncd\r\nef"));
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(4);  // before "d"... in the box's own form "ab\ncd\nef": after "c"
    box.setTextCursor(cursor);
    QCOMPARE(sql::SqlText::caret(box), 5);
    sql::SqlText::setCaret(box, 8);  // before "e"
    QCOMPARE(box.textCursor().position(), 6);
    QCOMPARE(sql::SqlText::caret(box), 8);
    sql::SqlText::setCaret(box, 100);
    QCOMPARE(sql::SqlText::caret(box), 10);
}

void SqlTextTest::setCaretInsideABreakGoesBeforeIt() {
    QPlainTextEdit box;
    sql::SqlText::set(box, QStringLiteral("ab\r\ncd"));
    sql::SqlText::setCaret(box, 3);  // between CR and LF
    QCOMPARE(sql::SqlText::caret(box), 2);
}

void SqlTextTest::replaceSelectionInsertsAtTheCaret() {
    QPlainTextEdit box;
    sql::SqlText::set(box, QStringLiteral("SELECT \r\n FROM \r\n \r\n"));
    sql::SqlText::setCaret(box, 15);  // after " FROM " on line 2
    sql::SqlText::replaceSelection(box, QStringLiteral(" [Orders] "));
    QCOMPARE(sql::SqlText::get(box), QStringLiteral("SELECT \r\n FROM  [Orders] \r\n \r\n"));
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
    sql::SqlText::replaceSelection(box, QStringLiteral("SELECT *"));
    QVERIFY(sql::SqlText::get(box).startsWith(QStringLiteral("SELECT * \r\n")));
}

void SqlTextTest::indexConversions_data() {
    QTest::addColumn<QString>("lf");
    QTest::addColumn<int>("lfIndex");
    QTest::addColumn<int>("crLfIndex");
    QTest::newRow("start") << "a\nb" << 0 << 0;
    QTest::newRow("before break") << "a\nb" << 1 << 1;
    QTest::newRow("after break") << "a\nb" << 2 << 3;
    QTest::newRow("end") << "a\nb" << 3 << 4;
    QTest::newRow("two breaks") << "\n\nx" << 2 << 4;
    QTest::newRow("no breaks") << "abcdef" << 4 << 4;
}

void SqlTextTest::indexConversions() {
    QFETCH(QString, lf);
    QFETCH(int, lfIndex);
    QFETCH(int, crLfIndex);
    QCOMPARE(sql::SqlText::crLfIndex(lf, lfIndex), crLfIndex);
    QCOMPARE(sql::SqlText::lfIndex(lf, crLfIndex), lfIndex);
}

QTEST_MAIN(SqlTextTest)
#include "tst_sql_text.moc"
