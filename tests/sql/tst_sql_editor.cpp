// The SQL box as an editor in the real window: Access SQL coloured, the
// completion list opened by Ctrl+Space, "[" and a dot and filled in with
// Enter, Ctrl+Enter running the statement or the selected part, the query
// history walked with Ctrl+Up / Ctrl+Down and kept in the settings file per
// database, parameters of a typed statement asked for, and word wrap.
#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "browser_window.h"
#include "db/database.h"
#include "sheet/grid.h"
#include "sql/sql_completer.h"
#include "sql/sql_highlighter.h"
#include "sql/sql_text.h"
#include "test_files.h"
#include "ui/main_menus.h"
#include "ui/tab_strip.h"

namespace {

const std::string kTestMdb = testfiles::path("mdb-reader/V2003/test.mdb");

QPlainTextEdit& sqlBox(BrowserWindow& run) {
    return *run.w().controls().sqlBox;
}

// The window shown with the SQL tab current and the box focused, its text
// `text` and the caret at its end.
void typeInto(BrowserWindow& run, const QString& text) {
    app::MainWindow& w = run.w();
    w.show();
    w.activateWindow();
    w.controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w.controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    w.sqlWorkbench().setText(text);
    sql::SqlText::setCaret(sqlBox(run), int(w.sqlWorkbench().text().size()));
    sqlBox(run).setFocus();
}

QStringList listed(BrowserWindow& run) {
    QCompleter& c = run.w().sqlWorkbench().completer().completer();
    QStringList names;
    for (int i = 0; i < c.completionCount(); ++i) {
        c.setCurrentRow(i);
        names.append(c.currentCompletion());
    }
    c.setCurrentRow(0);
    return names;
}

QColor colourAt(const QPlainTextEdit& box, int position) {
    const QTextBlock block = box.document()->findBlock(position);
    const int inBlock = position - block.position();
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
        if (inBlock >= r.start && inBlock < r.start + r.length) {
            return r.format.foreground().color();
        }
    }
    return {};
}

QString recordSource(BrowserWindow& run) {
    return QString::fromStdString(run.w().browser().dataControl().recordSource());
}

}  // namespace

class SqlEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void accessSqlIsColoured();
    void ctrlSpaceListsTablesQueriesAndFunctions();
    void dotListsTheFieldsAndEnterPutsOneIn();
    void bracketListsNamesAndClosesTheOneChosen();
    void escapeAndLeavingTheNameCloseTheList();
    void ctrlEnterRunsTheSelectionOrTheWholeText();
    void ctrlUpAndDownWalkTheStatementsRun();
    void historyIsKeptPerDatabaseInTheSettingsFile();
    void typedParametersAreAskedForAsAQuerysAre();
    void longLinesWrap();
};

void SqlEditorTest::accessSqlIsColoured() {
    BrowserWindow run;
    const QString text = QStringLiteral(
        "SELECT IIf(A > 1, 'big', \"small\") AS [Size]\r\n  FROM Table1 "
        "WHERE D < #1/2/2003#");
    typeInto(run, text);
    QPlainTextEdit& box = sqlBox(run);
    const sql::SqlHighlighter& h = run.w().sqlWorkbench().highlighter();
    const QString plain = box.toPlainText();
    const auto colour = [&](sql::SqlSyntax::Kind kind) {
        return h.format(kind).foreground().color();
    };
    // The first colouring waits for the event loop, as the window's start does.
    QTRY_COMPARE(colourAt(box, int(plain.indexOf("SELECT"))),
                 colour(sql::SqlSyntax::Kind::Keyword));
    QCOMPARE(colourAt(box, int(plain.indexOf("IIf"))), colour(sql::SqlSyntax::Kind::Function));
    QCOMPARE(colourAt(box, int(plain.indexOf("'big'")) + 2), colour(sql::SqlSyntax::Kind::Text));
    QCOMPARE(colourAt(box, int(plain.indexOf("small"))), colour(sql::SqlSyntax::Kind::Text));
    QCOMPARE(colourAt(box, int(plain.indexOf("[Size]")) + 1), colour(sql::SqlSyntax::Kind::Name));
    QCOMPARE(colourAt(box, int(plain.indexOf("FROM"))), colour(sql::SqlSyntax::Kind::Keyword));
    QCOMPARE(colourAt(box, int(plain.indexOf("1/2"))), colour(sql::SqlSyntax::Kind::Date));
    QVERIFY(!colourAt(box, int(plain.indexOf("Table1"))).isValid());
    QVERIFY(colour(sql::SqlSyntax::Kind::Keyword) != colour(sql::SqlSyntax::Kind::Text));
    // The colours are the box's looks only: its text is as typed.
    QCOMPARE(run.w().sqlWorkbench().text(), text);
}

void SqlEditorTest::ctrlSpaceListsTablesQueriesAndFunctions() {
    BrowserWindow run;
    QVERIFY(run.open(kTestMdb));
    typeInto(run, QStringLiteral("SELECT * FROM Ta"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Space, Qt::ControlModifier);
    QCompleter& c = run.w().sqlWorkbench().completer().completer();
    QVERIFY(c.popup()->isVisible());
    QCOMPARE(c.popup()->objectName(), QStringLiteral("lstSQLCompletion"));
    QVERIFY2(listed(run).contains(QStringLiteral("Table1")), qPrintable(listed(run).join(',')));
    for (const QString& name : listed(run)) {
        QVERIFY2(name.startsWith(QLatin1String("ta"), Qt::CaseInsensitive), qPrintable(name));
    }
    // Typing on narrows the list.
    QTest::keyClicks(&sqlBox(run), QStringLiteral("ble1"));
    QVERIFY(c.popup()->isVisible());
    QCOMPARE(listed(run), QStringList({"Table1"}));
    QTest::keyClick(c.popup(), Qt::Key_Return);
    QVERIFY(!c.popup()->isVisible());
    QCOMPARE(run.w().sqlWorkbench().text(), QStringLiteral("SELECT * FROM Table1"));
    // Functions are offered where an expression may stand.
    typeInto(run, QStringLiteral("SELECT DateA"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(listed(run), QStringList({"DateAdd"}));
    QTest::keyClick(c.popup(), Qt::Key_Tab);
    QCOMPARE(run.w().sqlWorkbench().text(), QStringLiteral("SELECT DateAdd("));
}

void SqlEditorTest::dotListsTheFieldsAndEnterPutsOneIn() {
    BrowserWindow run;
    QVERIFY(run.open(kTestMdb));
    typeInto(run, QStringLiteral("SELECT t"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Period);
    QCompleter& c = run.w().sqlWorkbench().completer().completer();
    QVERIFY2(!c.popup()->isVisible(), "no table or alias t");
    typeInto(run, QStringLiteral("SELECT x.B FROM Table1 AS x WHERE x"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Period);
    QVERIFY(c.popup()->isVisible());
    QCOMPARE(listed(run), QStringList({"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    QTest::keyClick(c.popup(), Qt::Key_Down);
    QTest::keyClick(c.popup(), Qt::Key_Down);
    QTest::keyClick(c.popup(), Qt::Key_Return);
    QCOMPARE(run.w().sqlWorkbench().text(),
             QStringLiteral("SELECT x.B FROM Table1 AS x WHERE x.C"));
}

void SqlEditorTest::bracketListsNamesAndClosesTheOneChosen() {
    BrowserWindow run;
    QVERIFY(run.open(kTestMdb));
    typeInto(run, QStringLiteral("SELECT * FROM "));
    QTest::keyClick(&sqlBox(run), Qt::Key_BracketLeft);
    QCompleter& c = run.w().sqlWorkbench().completer().completer();
    QVERIFY(c.popup()->isVisible());
    QVERIFY(listed(run).contains(QStringLiteral("Table1")));
    QTest::keyClicks(&sqlBox(run), QStringLiteral("table1"));
    QCOMPARE(listed(run), QStringList({"Table1"}));
    QTest::keyClick(c.popup(), Qt::Key_Enter);
    QCOMPARE(run.w().sqlWorkbench().text(), QStringLiteral("SELECT * FROM [Table1]"));
    // And a field after "[Table1].[".
    QTest::keyClick(&sqlBox(run), Qt::Key_Period);
    QVERIFY(c.popup()->isVisible());
    QTest::keyClick(&sqlBox(run), Qt::Key_BracketLeft);
    QVERIFY(c.popup()->isVisible());
    QTest::keyClick(c.popup(), Qt::Key_Return);
    QCOMPARE(run.w().sqlWorkbench().text(), QStringLiteral("SELECT * FROM [Table1].[A]"));
}

void SqlEditorTest::escapeAndLeavingTheNameCloseTheList() {
    BrowserWindow run;
    QVERIFY(run.open(kTestMdb));
    typeInto(run, QStringLiteral("SELECT Table1"));
    QCompleter& c = run.w().sqlWorkbench().completer().completer();
    QTest::keyClick(&sqlBox(run), Qt::Key_Period);
    QVERIFY(c.popup()->isVisible());
    QTest::keyClick(c.popup(), Qt::Key_Escape);
    QVERIFY(!c.popup()->isVisible());
    QCOMPARE(run.w().sqlWorkbench().text(), QStringLiteral("SELECT Table1."));
    QTest::keyClick(&sqlBox(run), Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(c.popup()->isVisible());
    QTest::keyClick(c.popup(), Qt::Key_Space);  // the name ends: the list goes
    QVERIFY(!c.popup()->isVisible());
    QCOMPARE(run.w().sqlWorkbench().text(), QStringLiteral("SELECT Table1. "));
    // Inside a text literal nothing is offered.
    typeInto(run, QStringLiteral("SELECT 'Tab"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(!c.popup()->isVisible());
}

void SqlEditorTest::ctrlEnterRunsTheSelectionOrTheWholeText() {
    BrowserWindow run;
    QVERIFY(run.open(kTestMdb));
    typeInto(run, QStringLiteral("SELECT A FROM Table1\r\nSELECT B, C FROM Table1"));
    // The second line selected: only it runs.
    QTextCursor cursor = sqlBox(run).textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    sqlBox(run).setTextCursor(cursor);
    QTest::keyClick(&sqlBox(run), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.row(0), QStringLiteral("Flag|B|C"));
    QCOMPARE(recordSource(run), QStringLiteral("SELECT B, C FROM Table1"));
    // The box keeps both lines; Ctrl+Enter adds no line break.
    QCOMPARE(run.w().sqlWorkbench().text(),
             QStringLiteral("SELECT A FROM Table1\r\nSELECT B, C FROM Table1"));
    // Without a selection the whole text runs, and the engine says what is
    // wrong with two statements; the keypad's Enter does the same.
    typeInto(run, QStringLiteral("SELECT A FROM Table1"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(run.row(0), QStringLiteral("Flag|A"));
    // A selected part is checked as Run checks the whole text.
    typeInto(run, QStringLiteral("SELECT A FROM Table1"));
    cursor = sqlBox(run).textCursor();
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    sqlBox(run).setTextCursor(cursor);
    QTest::keyClick(&sqlBox(run), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(run.lastMessage(), QStringLiteral("SQL Error|Invalid SQL statement.\r\n"));
}

void SqlEditorTest::ctrlUpAndDownWalkTheStatementsRun() {
    BrowserWindow run;
    QVERIFY(run.open(kTestMdb));
    for (const char* s : {"SELECT A FROM Table1", "SELECT B FROM Table1", "SELECT C FROM Table1"}) {
        typeInto(run, QString::fromLatin1(s));
        QTest::keyClick(&sqlBox(run), Qt::Key_Return, Qt::ControlModifier);
    }
    // Refused statements never reached the engine and are not kept.
    typeInto(run, QStringLiteral("SELECT 1"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Return, Qt::ControlModifier);
    typeInto(run, QStringLiteral("draft"));
    app::MainWindow& w = run.w();
    QTest::keyClick(&sqlBox(run), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT C FROM Table1"));
    QCOMPARE(sql::SqlText::caret(sqlBox(run)), 20);
    QTest::keyClick(&sqlBox(run), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&sqlBox(run), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT A FROM Table1"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT A FROM Table1"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT B FROM Table1"));
    QTest::keyClick(&sqlBox(run), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&sqlBox(run), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("draft"));
    // Recalled, then run: the statement just comes first again, the sheet
    // holds its rows.
    QTest::keyClick(&sqlBox(run), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&sqlBox(run), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&sqlBox(run), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(run.row(0), QStringLiteral("Flag|B"));
    const QString db = QString::fromStdString(w.browser().database()->name());
    QCOMPARE(w.sqlWorkbench().history().statements(db),
             QStringList({"SELECT B FROM Table1", "SELECT C FROM Table1", "SELECT A FROM Table1"}));
}

void SqlEditorTest::historyIsKeptPerDatabaseInTheSettingsFile() {
    QByteArray ini;
    const QString longStatement =
        QStringLiteral(
            "SELECT A,\r\n  B AS [Two words], '100%' AS Pct\r\n  FROM Table1 WHERE A <> '") +
        QString(600, u'x') + QStringLiteral("'");
    QString db;
    {
        BrowserWindow run;
        QVERIFY(run.open(kTestMdb));
        db = QString::fromStdString(run.w().browser().database()->name());
        for (const QString& s : {QStringLiteral("SELECT A FROM Table1"), longStatement}) {
            typeInto(run, s);
            QTest::keyClick(&sqlBox(run), Qt::Key_Return, Qt::ControlModifier);
        }
        run.w().exitProgram();
        ini = run.fs.contents(QStringLiteral("/prog/VT.ini"));
    }
    QVERIFY2(ini.contains("[SQLHISTORY]"), ini.constData());
    QVERIFY(ini.contains("DB1=" + db.toUtf8()));
    QVERIFY(ini.contains("DB1.2=SELECT%20A%20FROM%20Table1"));
    QVERIFY(ini.contains("DB1.1+3="));  // the long statement goes on over several keys
    for (const QByteArray& line : ini.split('\n')) {
        QVERIFY2(line.trimmed().size() <= 260, line.constData());
    }
    BrowserWindow again(ini);
    QVERIFY(again.open(kTestMdb));
    typeInto(again, QString());
    QTest::keyClick(&sqlBox(again), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(again.w().sqlWorkbench().text(), longStatement);
    QTest::keyClick(&sqlBox(again), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(again.w().sqlWorkbench().text(), QStringLiteral("SELECT A FROM Table1"));
    // Another database has a history of its own.
    QVERIFY(again.open(testfiles::path("mdb-reader/V2000/test.mdb")));
    typeInto(again, QStringLiteral("mine"));
    QTest::keyClick(&sqlBox(again), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(again.w().sqlWorkbench().text(), QStringLiteral("mine"));
}

void SqlEditorTest::typedParametersAreAskedForAsAQuerysAre() {
    BrowserWindow run;
    QVERIFY(run.open(kTestMdb));
    run.dialogs.texts.enqueue(QStringLiteral("5"));
    run.dialogs.texts.enqueue(QStringLiteral("hello"));
    typeInto(run, QStringLiteral("PARAMETERS [Add] Long; SELECT TOP 1 E + [Add] AS X, [Say what] "
                                 "AS Y FROM Table1 ORDER BY E"));
    run.press("cmdRun");
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.dialogs.asked.size(), 2);
    QCOMPARE(run.dialogs.asked[0].kind, QStringLiteral("input"));
    QCOMPARE(run.dialogs.asked[0].title, QStringLiteral("Enter Parameter Value"));
    QCOMPARE(run.dialogs.asked[0].text, QStringLiteral("Enter Add"));
    QCOMPARE(run.dialogs.asked[1].text, QStringLiteral("Enter Say what"));
    QCOMPARE(run.row(0), QStringLiteral("Flag|X|Y"));
    QCOMPARE(run.row(1), QStringLiteral("|5|hello"));
    QCOMPARE(recordSource(run), run.w().sqlWorkbench().text());
    // Refresh runs it again with the same values, asking nothing.
    run.w().menus().action(QStringLiteral("mnuRefresh"))->trigger();
    QCOMPARE(run.dialogs.asked.size(), 2);
    QCOMPARE(run.row(1), QStringLiteral("|5|hello"));
    // A statement without parameters asks nothing.
    typeInto(run, QStringLiteral("SELECT A FROM Table1"));
    run.press("cmdRun");
    QCOMPARE(run.dialogs.asked.size(), 2);
}

void SqlEditorTest::longLinesWrap() {
    BrowserWindow run;
    typeInto(run, QStringLiteral("SELECT ") + QStringList(40, QStringLiteral("Column")).join(", "));
    QPlainTextEdit& box = sqlBox(run);
    QCOMPARE(box.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QTRY_VERIFY(box.document()->firstBlock().layout()->lineCount() > 1);
    QCOMPARE(box.document()->blockCount(), 1);
}

QTEST_MAIN(SqlEditorTest)
#include "tst_sql_editor.moc"
