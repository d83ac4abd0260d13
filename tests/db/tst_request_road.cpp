// The road of one request through the real window, end to end on the shared
// test files: open through the open command (with and without a password),
// the tree, node clicks by mouse and keys, Run and its refusals, Refresh,
// Lock and Unlock, New, Save As in the three forms and Open of each, and the
// statistics grid showing its figures whole. Every answer a dialog needs comes
// through the scripted dialogs.
#include <QAction>
#include <QFontMetrics>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include "analysis/statistics_grid_text.h"
#include "browser_window.h"
#include "db/database.h"
#include "db/database_tree.h"
#include "sheet/grid.h"
#include "test_files.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"

namespace {

using Sheet = QList<QStringList>;

Sheet sheetOf(const sheet::Grid& g) {
    Sheet rows;
    for (int r = 0; r < g.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < g.cols(); ++c) {
            row << g.textMatrix(r, c);
        }
        rows << row;
    }
    return rows;
}

void trigger(app::MainWindow& w, const char* entry) {
    w.menus().action(QString::fromLatin1(entry))->trigger();
}

// The SQL tab has room on the tab bar, so a user can see and reach it.
bool sqlTabDrawn(app::MainWindow& w) {
    auto* bar = w.controls().tabStrip->findChild<QTabBar*>();
    return bar && w.controls().tabStrip->isTabVisible(ui::TabStrip::Sql) &&
           bar->tabRect(ui::TabStrip::Sql).width() > 0;
}

const Sheet kPasswordTable{
    {"Flag", "ID", "Data"}, {"", "1", "One"}, {"", "2", "Two"}, {"", "3", "Three"}};

}  // namespace

class RequestRoadTest : public QObject {
    Q_OBJECT
  private slots:
    void protectedDatabaseFromOpenToRefresh();
    void newThenFilesInAllThreeForms();
    void statisticsFiguresShowWhole();
};

void RequestRoadTest::protectedDatabaseFromOpenToRefresh() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    const std::string file = testfiles::path("mdb-reader/password/V2003_with-password.mdb");

    // Open: one password prompt, then the tree and the first table.
    run.dialogs.texts.enqueue(QStringLiteral("password"));
    QVERIFY(run.open(file));
    QCOMPARE(run.dialogs.asked.size(), 1);
    QCOMPARE(run.dialogs.asked[0].title, QStringLiteral("Enter Password"));
    QCOMPARE(run.messageCount(), 0);
    const QStringList keys = run.keys();
    QCOMPARE(keys.size(), 7);
    QCOMPARE(keys.mid(0, 2), (QStringList{"N0", "N1"}));
    const QString table = keys[2];
    QVERIFY2(table.startsWith(QLatin1Char('T')) && table.size() > 1, qPrintable(table));
    QCOMPARE(keys.mid(3), (QStringList{"TF" + table.mid(1) + "-0", "TF" + table.mid(1) + "-1",
                                       QStringLiteral("N2"), QStringLiteral("N3")}));
    QCOMPARE(run.node(QStringLiteral("N0"))->text(0), QStringLiteral("V2003_with-password.mdb"));
    QCOMPARE(run.node(QStringLiteral("N1"))->text(0), QStringLiteral("Tables"));
    QCOMPARE(run.node(QStringLiteral("N2"))->text(0), QStringLiteral("Queries"));
    QCOMPARE(run.node(table)->text(0), QStringLiteral("Table1"));
    QCOMPARE(db::DatabaseTree::name(run.node(keys[4])), QStringLiteral("Data"));
    QCOMPARE(sheetOf(*w.controls().dataSheet), kPasswordTable);
    QCOMPARE(w.controls().statusPanels->panelText(5), QStringLiteral("1 / 3"));
    QVERIFY(sqlTabDrawn(w));

    // Run: the statement's rows replace the table's.
    w.controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    w.sqlWorkbench().setText(
        QStringLiteral("SELECT Data, ID * 10 AS Tens\r\n  FROM Table1\r\n WHERE ID >= 2"));
    run.press("cmdRun");
    QCOMPARE(run.messageCount(), 0);
    const Sheet ran{{"Flag", "Data", "Tens"}, {"", "Two", "20"}, {"", "Three", "30"}};
    QCOMPARE(sheetOf(*w.controls().dataSheet), ran);

    // Refresh runs the statement again over edited cells.
    w.controls().dataSheet->setTextMatrix(1, 1, QStringLiteral("edited"));
    trigger(w, "mnuRefresh");
    QCOMPARE(sheetOf(*w.controls().dataSheet), ran);

    // Refusals leave the sheet as it is.
    w.sqlWorkbench().setText(QStringLiteral("SELECT 1 AS"));
    run.press("cmdRun");
    QCOMPARE(run.lastMessage(), QStringLiteral("SQL Error|Invalid SQL statement.\r\n"));
    w.sqlWorkbench().setText(QStringLiteral("SELECT * FROM Table1 WHERE Data = ' update '"));
    run.press("cmdRun");
    QCOMPARE(run.lastMessage(),
             QStringLiteral("Query Error|Query involves modifying data is not allowed."));
    w.sqlWorkbench().setText(QStringLiteral("SELECT Data FROM Nowhere"));
    run.press("cmdRun");
    QVERIFY2(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")),
             qPrintable(run.lastMessage()));
    QVERIFY2(run.lastMessage().contains(QStringLiteral("Nowhere")), qPrintable(run.lastMessage()));
    QCOMPARE(run.messageCount(), 3);
    QCOMPARE(sheetOf(*w.controls().dataSheet), ran);
    // A misspelt field is a parameter, asked for as Access asks.
    const int messages = run.messageCount();
    w.sqlWorkbench().setText(QStringLiteral("SELECT Dta FROM Table1"));
    run.press("cmdRun");
    QCOMPARE(run.dialogs.asked.last().text, QStringLiteral("Enter Dta"));
    QCOMPARE(run.messageCount(), messages);
    w.sqlWorkbench().setText(QStringLiteral("SELECT Data FROM Nowhere"));

    // Unlocked, a click keeps the typed text; locked again, it writes its own.
    run.press("cmdUnlockSQL");
    QCOMPARE(w.controls().statusPanels->panelText(2), QStringLiteral("SQL"));
    run.click(table);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT Data FROM Nowhere"));
    QCOMPARE(sheetOf(*w.controls().dataSheet), kPasswordTable);
    run.press("cmdLockSQL");
    QCOMPARE(w.controls().statusPanels->panelText(2), QString());
    run.click(table);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT * \r\n  FROM [Table1]"));
    QCOMPARE(sheetOf(*w.controls().dataSheet), kPasswordTable);
    QCOMPARE(run.messageCount(), 3);
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

void RequestRoadTest::newThenFilesInAllThreeForms() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    const std::string file = testfiles::path("mdb-reader/V2003/test.mdb");
    QVERIFY(run.open(file));
    QCOMPARE(run.dialogs.asked.size(), 0);  // no password asked

    // New puts the tree and the rows away; the database stays open.
    trigger(w, "mnuNew");
    QVERIFY(!w.controls().databaseTree->isVisibleTo(&w));
    QVERIFY(w.controls().captionPanel->isVisibleTo(&w));
    QCOMPARE(w.sqlWorkbench().text(), QString());
    for (const QStringList& row : sheetOf(*w.controls().dataSheet)) {
        QCOMPARE(row.join(QString()), QString());
    }
    QVERIFY(w.browser().database() && w.browser().database()->isOpen());
    QCOMPARE(w.windowTitle(), QStringLiteral("Veltrano [%1]").arg(QString::fromStdString(file)));

    // Open again, pick Table4 and come back to Table1 with the keys.
    QVERIFY(run.open(file));
    run.click(QStringLiteral("T12"));
    QCOMPARE(w.controls().dataSheet->rows(), 1);
    w.controls().databaseTree->setFocus();
    run.node(QStringLiteral("T11"))->setExpanded(false);
    for (const char* key : {"T11", "T10", "T9"}) {
        QTest::keyClick(w.controls().databaseTree, Qt::Key_Up);
        QCOMPARE(db::DatabaseTree::key(w.controls().databaseTree->currentItem()),
                 QString::fromLatin1(key));
        run.node(QString::fromLatin1(key))->setExpanded(false);
    }
    Sheet table1 = sheetOf(*w.controls().dataSheet);
    QCOMPARE(table1.size(), 3);
    QCOMPARE(table1[1].join(QLatin1Char('|')),
             QStringLiteral("|abcdefg|hijklmnop|2|222|333333333|444.555|9/21/1974|3.5|True"));
    for (QStringList& row : table1) {
        row.removeFirst();  // saving drops the flag column
    }
    // A text file's first line names every column: it comes back as the titles.

    const struct {
        QString path;
        const Sheet* expected;
    } forms[] = {{QStringLiteral("/out/road.csv"), &table1},
                 {QStringLiteral("/out/road.txt"), &table1},
                 {QStringLiteral("/out/road.prs"), &table1}};
    for (const auto& form : forms) {
        QVERIFY(run.open(file));
        run.dialogs.texts.enqueue(form.path);
        trigger(w, "mnuSaveAs");
        QCOMPARE(sheetOf(*w.controls().dataSheet), table1);
        QVERIFY(!run.fs.contents(form.path).isEmpty());
        w.controls().dataSheet->setTextMatrix(1, 1, QStringLiteral("changed after saving"));
        run.dialogs.texts.enqueue(form.path);
        trigger(w, "mnuOpen");
        QCOMPARE(run.messageCount(), 0);
        QCOMPARE(sheetOf(*w.controls().dataSheet), *form.expected);
        QCOMPARE(int(w.files().openFileType()), 0);
        QVERIFY(!w.browser().database());
        QVERIFY(!w.controls().tabStrip->isTabVisible(ui::TabStrip::Sql));
        QCOMPARE(w.windowTitle(), QStringLiteral("Veltrano [%1]").arg(form.path));
    }
}

// After a run every label and figure of the statistics grid is shown whole
// (the histogram's rules are drawing and may be cut by the control's edge).
void RequestRoadTest::statisticsFiguresShowWhole() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.controls().dataSheet->setCol(5);  // E: 333333333 and 0
    trigger(w, "mnuAnalysis");
    QCOMPARE(w.controls().statisticsGrid->rows(), 21);
    QCOMPARE(w.controls().statisticsGrid->textMatrix(1, 1), QStringLiteral("E"));
    const QFontMetrics metrics(w.controls().statisticsGrid->font());
    const QString rule = analysis::StatisticsGridText::rule();
    for (int c = 0; c < 2; ++c) {
        const int room = w.viewLayout().toPixelsX(w.controls().statisticsGrid->colWidth(c));
        for (int r = 1; r < w.controls().statisticsGrid->rows(); ++r) {
            const QString text = w.controls().statisticsGrid->textMatrix(r, c);
            if (text == rule) {
                continue;
            }
            QVERIFY2(metrics.horizontalAdvance(text) < room,
                     qPrintable(QStringLiteral("%1 in %2 px").arg(text).arg(room)));
        }
    }
    // No narrower than the control: the values fill it.
    QVERIFY(w.viewLayout().toPixelsX(w.controls().statisticsGrid->colWidth(0) +
                                     w.controls().statisticsGrid->colWidth(1)) >=
            w.controls().statisticsGrid->viewport()->width() - 2);
}

QTEST_MAIN(RequestRoadTest)
#include "tst_request_road.moc"
