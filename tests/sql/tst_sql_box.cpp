// The SQL tab of the real window: Run (success, short text, keyword refusal,
// engine error), Clear, Lock and Unlock, status panel 2 and the insertion
// point the box keeps.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "browser_window.h"
#include "sheet/grid.h"
#include "sql/sql_text.h"
#include "test_files.h"
#include "ui/main_menus.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"

namespace {

const QString kInitial = QStringLiteral("SELECT \r\n FROM \r\n \r\n");

void showSqlTab(frmMain& w) {
    w.TabStrip1->setTabVisible(ui::TabStrip::Sql, true);
    w.TabStrip1->setCurrentPage(ui::TabStrip::Sql);
}

}  // namespace

class SqlBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void startsWithTheInitialText();
    void runFillsTheSheet();
    void runOfAnEmptyResultShowsTitlesOnly();
    void runRefusesShortText();
    void runRefusesModifyingKeywords();
    void engineErrorKeepsTheSheetButTakesTheSource();
    void initialTextReachesTheEngine();
    void refreshRunsTheLastStatement();
    void clearEmptiesTheBox();
    void lockAndUnlockSwapTheButtons();
    void unlockedTreeClickLeavesTheBox();
    void insertionPointFollowsTheCaret();
};

void SqlBoxTest::startsWithTheInitialText() {
    BrowserWindow run;
    frmMain& w = run.w();
    QCOMPARE(w.SqlText(), kInitial);
    QCOMPARE(w.SqlText().size(), 20);
    QVERIFY(!w.sqlUnlocked);
    QCOMPARE(w.SBar->panelText(2), QString());
}

void SqlBoxTest::runFillsTheSheet() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    showSqlTab(w);
    w.SBar->setPanelText(2, QStringLiteral("SQL"));
    w.setSqlText(QStringLiteral("SELECT A, E * 2 AS Twice\r\n  FROM [Table1]\r\n ORDER BY A"));
    run.press("cmdRun");
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.row(0), QStringLiteral("Flag|A|Twice"));
    QCOMPARE(run.row(1), QStringLiteral("|a|0"));
    QCOMPARE(run.row(2), QStringLiteral("|abcdefg|666666666"));
    QCOMPARE(w.fa->rows(), 3);
    QCOMPARE(w.fb->rows(), 4);
    QCOMPARE(w.SBar->panelText(2), QString());
    QCOMPARE(QString::fromStdString(w.Data1.recordSource()), w.SqlText());
    QVERIFY(w.sheetState.flagColumnPresent);
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
    QTRY_VERIFY(w.txtSQL->hasFocus());
}

void SqlBoxTest::runOfAnEmptyResultShowsTitlesOnly() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.setSqlText(QStringLiteral("SELECT * FROM Table1 WHERE 1 = 0"));
    run.press("cmdRun");
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(w.fa->rows(), 1);
    QCOMPARE(run.row(0), QStringLiteral("Flag|A|B|C|D|E|F|G|H|I"));
}

void SqlBoxTest::runRefusesShortText() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString row1 = run.row(1);
    for (const char* text : {"", "SELECT 1+1 ", "SELECT\r\n1+1"}) {
        w.setSqlText(QString::fromLatin1(text));
        run.press("cmdRun");
        QCOMPARE(run.lastMessage(), QStringLiteral("SQL Error|Invalid SQL statement.\r\n"));
        QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Critical);
        QCOMPARE(run.row(1), row1);
        QCOMPARE(QString::fromStdString(w.Data1.recordSource()), QStringLiteral("Table1"));
    }
    QCOMPARE(run.messageCount(), 3);
}

void SqlBoxTest::runRefusesModifyingKeywords() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.SBar->setPanelText(2, QStringLiteral("SQL"));
    w.setSqlText(QStringLiteral("SELECT * FROM Table1 WHERE A = 'please update me'"));
    run.press("cmdRun");
    QCOMPARE(run.lastMessage(),
             QStringLiteral("Query Error|Query involves modifying data is not allowed."));
    QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Exclamation);
    QCOMPARE(QString::fromStdString(w.Data1.recordSource()), QStringLiteral("Table1"));
    QCOMPARE(w.SBar->panelText(2), QStringLiteral("SQL"));
}

void SqlBoxTest::engineErrorKeepsTheSheetButTakesTheSource() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.SBar->setPanelText(2, QStringLiteral("SQL"));
    const QString row0 = run.row(0);
    const QString bad = QStringLiteral("SELECT Nothing FROM NoSuchTable");
    w.setSqlText(bad);
    run.press("cmdRun");
    QVERIFY2(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")),
             qPrintable(run.lastMessage()));
    QVERIFY(run.lastMessage().contains(QStringLiteral("NoSuchTable")));
    QCOMPARE(run.row(0), row0);
    QCOMPARE(QString::fromStdString(w.Data1.recordSource()), bad);
    QCOMPARE(w.SBar->panelText(2), QStringLiteral("SQL"));
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
    // A delete statement starting at the first character passes the keyword
    // test; the engine refuses it.
    w.setSqlText(QStringLiteral("DELETE FROM Table1 WHERE A = 'a'"));
    run.press("cmdRun");
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")));
    QCOMPARE(w.fa->rows(), 3);
}

void SqlBoxTest::initialTextReachesTheEngine() {
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    run.w().setSqlText(kInitial);
    run.press("cmdRun");
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")));
    QVERIFY(run.lastMessage().size() >
            QStringLiteral("SQL Error|Invalid SQL statement.\r\n").size());
}

void SqlBoxTest::refreshRunsTheLastStatement() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.setSqlText(QStringLiteral("SELECT Count(*) AS N FROM Table1"));
    run.press("cmdRun");
    QCOMPARE(run.row(1), QStringLiteral("|2"));
    w.fa->setTextMatrix(1, 1, QStringLiteral("x"));
    w.setSqlText(QStringLiteral("changed since"));
    w.menus->action(QStringLiteral("mnuRefresh"))->trigger();
    QCOMPARE(run.row(0), QStringLiteral("Flag|N"));
    QCOMPARE(run.row(1), QStringLiteral("|2"));
}

void SqlBoxTest::clearEmptiesTheBox() {
    BrowserWindow run;
    frmMain& w = run.w();
    showSqlTab(w);
    w.SBar->setPanelText(2, QStringLiteral("SQL"));
    run.press("cmdClear");
    QCOMPARE(w.SqlText(), QString());
    QCOMPARE(w.SBar->panelText(2), QString());
    QTRY_VERIFY(w.txtSQL->hasFocus());
    run.press("cmdRun");
    QCOMPARE(run.lastMessage(), QStringLiteral("SQL Error|Invalid SQL statement.\r\n"));
}

void SqlBoxTest::lockAndUnlockSwapTheButtons() {
    BrowserWindow run;
    frmMain& w = run.w();
    showSqlTab(w);
    QVERIFY(w.cmdUnlockSQL->isVisible());
    QVERIFY(!w.cmdLockSQL->isVisible());
    run.press("cmdUnlockSQL");
    QVERIFY(w.sqlUnlocked);
    QVERIFY(w.cmdLockSQL->isVisible());
    QVERIFY(!w.cmdUnlockSQL->isVisible());
    QCOMPARE(w.SBar->panelText(2), QStringLiteral("SQL"));
    QCOMPARE(w.SqlText(), kInitial);
    // Switching pages keeps the pair as it was.
    w.TabStrip1->setCurrentPage(ui::TabStrip::Form);
    QVERIFY(!w.cmdLockSQL->isVisible());
    w.TabStrip1->setCurrentPage(ui::TabStrip::Sql);
    QVERIFY(w.cmdLockSQL->isVisible());
    QVERIFY(!w.cmdUnlockSQL->isVisible());
    run.press("cmdLockSQL");
    QVERIFY(!w.sqlUnlocked);
    QVERIFY(w.cmdUnlockSQL->isVisible());
    QVERIFY(!w.cmdLockSQL->isVisible());
    QCOMPARE(w.SBar->panelText(2), QString());
    QTRY_VERIFY(w.txtSQL->hasFocus());
}

void SqlBoxTest::unlockedTreeClickLeavesTheBox() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    showSqlTab(w);
    run.press("cmdUnlockSQL");
    w.setSqlText(QStringLiteral("SELECT A FROM Table1"));
    run.click(QStringLiteral("T12"));
    QCOMPARE(w.SqlText(), QStringLiteral("SELECT A FROM Table1"));
    run.press("cmdRun");  // a successful run leaves the text unlocked
    QVERIFY(w.sqlUnlocked);
    QCOMPARE(w.SBar->panelText(2), QString());
    run.press("cmdLockSQL");
    run.click(QStringLiteral("T12"));
    QCOMPARE(w.SqlText(), QStringLiteral("SELECT * \r\n  FROM [Table4]"));
}

void SqlBoxTest::insertionPointFollowsTheCaret() {
    BrowserWindow run;
    frmMain& w = run.w();
    w.activateWindow();
    showSqlTab(w);
    w.setSqlText(QStringLiteral("SELECT \r\n FROM \r\n"));
    sql::SqlText::setCaret(*w.txtSQL, 11);  // in the second line, after " F"
    w.fa->setFocus();
    w.txtSQL->setFocus();
    QTRY_COMPARE(int(w.sheetState.lastFocusedPane), 3);
    QCOMPARE(w.insertionPoint, 11);
    QTest::keyClick(w.txtSQL, Qt::Key_X);
    QCOMPARE(w.insertionPoint, 12);
    QCOMPARE(w.SqlText(), QStringLiteral("SELECT \r\n FxROM \r\n"));
    QTest::keyClick(w.txtSQL, Qt::Key_Return);  // the caret was at 12: the point is 13
    QCOMPARE(w.insertionPoint, 13);
    QCOMPARE(w.SqlText(), QStringLiteral("SELECT \r\n Fx\r\nROM \r\n"));
    const QRect firstLine = w.txtSQL->cursorRect(QTextCursor(w.txtSQL->document()));
    QTest::mouseClick(w.txtSQL->viewport(), Qt::LeftButton, {}, firstLine.center());
    QCOMPARE(w.insertionPoint, sql::SqlText::caret(*w.txtSQL));
    QCOMPARE(w.insertionPoint, 0);
}

QTEST_MAIN(SqlBoxTest)
#include "tst_sql_box.moc"
