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

void showSqlTab(app::MainWindow& w) {
    w.controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w.controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
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
    void fault2_deepNestingIsTooComplex();
};

void SqlBoxTest::startsWithTheInitialText() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QCOMPARE(w.sqlWorkbench().text(), kInitial);
    QCOMPARE(w.sqlWorkbench().text().size(), 20);
    QVERIFY(!w.sqlWorkbench().unlocked());
    QCOMPARE(w.controls().statusPanels->panelText(2), QString());
}

void SqlBoxTest::runFillsTheSheet() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    showSqlTab(w);
    w.controls().statusPanels->setPanelText(2, QStringLiteral("SQL"));
    w.sqlWorkbench().setText(
        QStringLiteral("SELECT A, E * 2 AS Twice\r\n  FROM [Table1]\r\n ORDER BY A"));
    run.press("cmdRun");
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.row(0), QStringLiteral("Flag|A|Twice"));
    QCOMPARE(run.row(1), QStringLiteral("|a|0"));
    QCOMPARE(run.row(2), QStringLiteral("|abcdefg|666666666"));
    QCOMPARE(w.controls().dataSheet->rows(), 3);
    QCOMPARE(w.controls().formView->rows(), 4);
    QCOMPARE(w.controls().statusPanels->panelText(2), QString());
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             w.sqlWorkbench().text());
    QVERIFY(w.sheetState().flagColumnPresent);
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
    QTRY_VERIFY(w.controls().sqlBox->hasFocus());
}

void SqlBoxTest::runOfAnEmptyResultShowsTitlesOnly() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.sqlWorkbench().setText(QStringLiteral("SELECT * FROM Table1 WHERE 1 = 0"));
    run.press("cmdRun");
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(w.controls().dataSheet->rows(), 1);
    QCOMPARE(run.row(0), QStringLiteral("Flag|A|B|C|D|E|F|G|H|I"));
}

void SqlBoxTest::runRefusesShortText() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString row1 = run.row(1);
    for (const char* text : {"", "SELECT 1+1 ", "SELECT\r\n1+1"}) {
        w.sqlWorkbench().setText(QString::fromLatin1(text));
        run.press("cmdRun");
        QCOMPARE(run.lastMessage(), QStringLiteral("SQL Error|Invalid SQL statement.\r\n"));
        QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Critical);
        QCOMPARE(run.row(1), row1);
        QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
                 QStringLiteral("Table1"));
    }
    QCOMPARE(run.messageCount(), 3);
}

void SqlBoxTest::runRefusesModifyingKeywords() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.controls().statusPanels->setPanelText(2, QStringLiteral("SQL"));
    w.sqlWorkbench().setText(QStringLiteral("SELECT * FROM Table1 WHERE A = 'please update me'"));
    run.press("cmdRun");
    QCOMPARE(run.lastMessage(),
             QStringLiteral("Query Error|Query involves modifying data is not allowed."));
    QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Exclamation);
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));
    QCOMPARE(w.controls().statusPanels->panelText(2), QStringLiteral("SQL"));
}

void SqlBoxTest::engineErrorKeepsTheSheetButTakesTheSource() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.controls().statusPanels->setPanelText(2, QStringLiteral("SQL"));
    const QString row0 = run.row(0);
    const QString bad = QStringLiteral("SELECT Nothing FROM NoSuchTable");
    w.sqlWorkbench().setText(bad);
    run.press("cmdRun");
    QVERIFY2(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")),
             qPrintable(run.lastMessage()));
    QVERIFY(run.lastMessage().contains(QStringLiteral("NoSuchTable")));
    QCOMPARE(run.row(0), row0);
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()), bad);
    QCOMPARE(w.controls().statusPanels->panelText(2), QStringLiteral("SQL"));
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
    // A delete statement starting at the first character passes the keyword
    // test; the engine refuses it.
    w.sqlWorkbench().setText(QStringLiteral("DELETE FROM Table1 WHERE A = 'a'"));
    run.press("cmdRun");
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")));
    QCOMPARE(w.controls().dataSheet->rows(), 3);
}

void SqlBoxTest::initialTextReachesTheEngine() {
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    run.w().sqlWorkbench().setText(kInitial);
    run.press("cmdRun");
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")));
    QVERIFY(run.lastMessage().size() >
            QStringLiteral("SQL Error|Invalid SQL statement.\r\n").size());
}

void SqlBoxTest::refreshRunsTheLastStatement() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.sqlWorkbench().setText(QStringLiteral("SELECT Count(*) AS N FROM Table1"));
    run.press("cmdRun");
    QCOMPARE(run.row(1), QStringLiteral("|2"));
    w.controls().dataSheet->setTextMatrix(1, 1, QStringLiteral("x"));
    w.sqlWorkbench().setText(QStringLiteral("changed since"));
    w.menus().action(QStringLiteral("mnuRefresh"))->trigger();
    QCOMPARE(run.row(0), QStringLiteral("Flag|N"));
    QCOMPARE(run.row(1), QStringLiteral("|2"));
}

void SqlBoxTest::clearEmptiesTheBox() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    showSqlTab(w);
    w.controls().statusPanels->setPanelText(2, QStringLiteral("SQL"));
    run.press("cmdClear");
    QCOMPARE(w.sqlWorkbench().text(), QString());
    QCOMPARE(w.controls().statusPanels->panelText(2), QString());
    QTRY_VERIFY(w.controls().sqlBox->hasFocus());
    run.press("cmdRun");
    QCOMPARE(run.lastMessage(), QStringLiteral("SQL Error|Invalid SQL statement.\r\n"));
}

void SqlBoxTest::lockAndUnlockSwapTheButtons() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    showSqlTab(w);
    QVERIFY(w.controls().sqlButtons.unlock->isVisible());
    QVERIFY(!w.controls().sqlButtons.lock->isVisible());
    run.press("cmdUnlockSQL");
    QVERIFY(w.sqlWorkbench().unlocked());
    QVERIFY(w.controls().sqlButtons.lock->isVisible());
    QVERIFY(!w.controls().sqlButtons.unlock->isVisible());
    QCOMPARE(w.controls().statusPanels->panelText(2), QStringLiteral("SQL"));
    QCOMPARE(w.sqlWorkbench().text(), kInitial);
    // Switching pages keeps the pair as it was.
    w.controls().tabStrip->setCurrentPage(ui::TabStrip::Form);
    QVERIFY(!w.controls().sqlButtons.lock->isVisible());
    w.controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    QVERIFY(w.controls().sqlButtons.lock->isVisible());
    QVERIFY(!w.controls().sqlButtons.unlock->isVisible());
    run.press("cmdLockSQL");
    QVERIFY(!w.sqlWorkbench().unlocked());
    QVERIFY(w.controls().sqlButtons.unlock->isVisible());
    QVERIFY(!w.controls().sqlButtons.lock->isVisible());
    QCOMPARE(w.controls().statusPanels->panelText(2), QString());
    QTRY_VERIFY(w.controls().sqlBox->hasFocus());
}

void SqlBoxTest::unlockedTreeClickLeavesTheBox() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    showSqlTab(w);
    run.press("cmdUnlockSQL");
    w.sqlWorkbench().setText(QStringLiteral("SELECT A FROM Table1"));
    run.click(QStringLiteral("T12"));
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT A FROM Table1"));
    run.press("cmdRun");  // a successful run leaves the text unlocked
    QVERIFY(w.sqlWorkbench().unlocked());
    QCOMPARE(w.controls().statusPanels->panelText(2), QString());
    run.press("cmdLockSQL");
    run.click(QStringLiteral("T12"));
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT * \r\n  FROM [Table4]"));
}

void SqlBoxTest::insertionPointFollowsTheCaret() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    w.activateWindow();
    showSqlTab(w);
    w.sqlWorkbench().setText(QStringLiteral("SELECT \r\n FROM \r\n"));
    sql::SqlText::setCaret(*w.controls().sqlBox, 11);  // in the second line, after " F"
    w.controls().dataSheet->setFocus();
    w.controls().sqlBox->setFocus();
    QTRY_COMPARE(int(w.sheetState().lastFocusedPane), 3);
    QCOMPARE(w.sqlWorkbench().insertionPoint(), 11);
    QTest::keyClick(w.controls().sqlBox, Qt::Key_X);
    QCOMPARE(w.sqlWorkbench().insertionPoint(), 12);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT \r\n FxROM \r\n"));
    QTest::keyClick(w.controls().sqlBox, Qt::Key_Return);  // the caret was at 12: the point is 13
    QCOMPARE(w.sqlWorkbench().insertionPoint(), 13);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT \r\n Fx\r\nROM \r\n"));
    const QRect firstLine =
        w.controls().sqlBox->cursorRect(QTextCursor(w.controls().sqlBox->document()));
    QTest::mouseClick(w.controls().sqlBox->viewport(), Qt::LeftButton, {}, firstLine.center());
    QCOMPARE(w.sqlWorkbench().insertionPoint(), sql::SqlText::caret(*w.controls().sqlBox));
    QCOMPARE(w.sqlWorkbench().insertionPoint(), 0);
}

// Statements nested far past Access's limits get its message, not a crash;
// nesting within them runs.
void SqlBoxTest::fault2_deepNestingIsTooComplex() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString row1 = run.row(1);
    QString sum = QStringLiteral("SELECT C");
    for (int i = 0; i < 10000; ++i)
        sum += QStringLiteral(" + C");
    const QString parentheses =
        QStringLiteral("SELECT ") + QString(100000, u'(') + u'C' + QString(100000, u')');
    for (const QString& deep : {sum, parentheses}) {
        w.sqlWorkbench().setText(deep + QStringLiteral(" AS X FROM Table1"));
        run.press("cmdRun");
        QVERIFY2(run.lastMessage().contains(QStringLiteral("Query is too complex.")),
                 qPrintable(run.lastMessage().left(200)));
        QCOMPARE(run.row(1), row1);
    }
    const int messages = run.messageCount();
    QString calls = QStringLiteral("C");
    for (int i = 0; i < 20; ++i)
        calls = QStringLiteral("Abs(%1)").arg(calls);
    w.sqlWorkbench().setText(QStringLiteral("SELECT %1 AS X FROM Table1").arg(calls));
    run.press("cmdRun");
    QCOMPARE(run.messageCount(), messages);
    QCOMPARE(run.row(0), QStringLiteral("Flag|X"));
    QCOMPARE(run.row(1), QStringLiteral("|2"));
}

QTEST_MAIN(SqlBoxTest)
#include "tst_sql_box.moc"
