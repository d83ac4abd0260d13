// Clicking the tree in the real window: tables and queries fill the sheet and
// the SQL box, parameter prompts come in order, modifying and failing
// queries leave everything as it was, and double-clicks paste names.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "browser_window.h"
#include "db/database.h"
#include "db/database_tree.h"
#include "jet/query_writer.h"
#include "sheet/grid.h"
#include "test_files.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/tab_strip.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdlib>

namespace {

std::string queryFile() {
    return testfiles::path("jackcess/V2000/queryTestV2000.mdb");
}

// test.mdb with two parameter queries stored in a copy.
std::string parameterFile() {
    static const std::string file = [] {
        const std::string copy =
            testfiles::copy("jackcess/V2000/queryTestV2000.mdb", "click-params.mdb");
        const jet::Status a = jet::createQueryDef(
            copy, "Between",
            "PARAMETERS [Low] Long, [High] Long; SELECT TOP 1 [Low] + [High] AS Total, [Low] AS "
            "L FROM MSysObjects;");
        const jet::Status b = jet::createQueryDef(
            copy, "ByName",
            "SELECT TOP 1 [Which name] AS Echo, Len([Which name]) AS Size FROM MSysObjects;");
        if (!a.isOk() || !b.isOk()) {
            qFatal("cannot store the test queries: %s %s", a.message().c_str(),
                   b.message().c_str());
        }
        return copy;
    }();
    return file;
}

}  // namespace

class NodeClickTest : public QObject {
    Q_OBJECT
  private slots:
    void tableClickFillsSheetAndSqlBox();
    void branchesAndFieldsOnlyDisableDelete_data();
    void branchesAndFieldsOnlyDisableDelete();
    void unlockedTextStaysPut();
    void selectQueryShowsItsRowsAndSql();
    void modifyingQueryIsRefusedAndChangesNothing();
    void queryTheEngineRefusesLeavesTheSheet();
    void parametersAskedInOrder();
    void cancelledParameterIsEmptyText();
    void refreshRunsTheSameQueryWithoutAsking();
    void doubleClickPastesTableAndFieldNames();
    void doubleClickOnQueryPastesNothing();
    void escapeStopsALongLoadAndSaysSo();
    void treeFocusSetsThePane();
    void keyboardMovesShowTheNode();
    void keyboardMoveToAParameterQueryAsksOnce();
};

void NodeClickTest::tableClickFillsSheetAndSqlBox() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.controls().sqlButtons.deleteQuery->setEnabled(true);
    run.click(QStringLiteral("T12"));
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT * \r\n  FROM [Table4]"));
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table4"));
    QCOMPARE(run.row(0), QStringLiteral("Flag|name|data"));
    QCOMPARE(w.controls().dataSheet->rows() - 1, 0);  // Table4 holds no rows
    QVERIFY(!w.controls().sqlButtons.deleteQuery->isEnabled());
    QCOMPARE(w.browser().currentNode(), run.node(QStringLiteral("T12")));
    QCOMPARE(w.controls().toolbar->sizeBoxes()->rowsBox->text(),
             QString::number(w.controls().dataSheet->rows() - 1));
    QCOMPARE(w.controls().toolbar->sizeBoxes()->colsBox->text(), QStringLiteral("3"));
    QCOMPARE(w.controls().statisticsGrid->rows(), 3);
    QCOMPARE(w.controls().formView->rows(), 4);
    QVERIFY(!w.sheetState().titlesBuilt || w.sheetState().titlesChanged);
    QCOMPARE(w.sheetState().flagColumn, 0);
    QVERIFY(!w.controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(w.menus().action(QStringLiteral("mnuAnalysis"))->isEnabled());
    QVERIFY(!w.menus().action(QStringLiteral("mnuBarChart"))->isEnabled());
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
    run.click(QStringLiteral("T9"));
    QCOMPARE(run.row(0), QStringLiteral("Flag|A|B|C|D|E|F|G|H|I"));
    QCOMPARE(w.controls().dataSheet->cols(), 10);  // one flag column, not two
}

void NodeClickTest::branchesAndFieldsOnlyDisableDelete_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("database") << "N0";
    QTest::newRow("tables") << "N1";
    QTest::newRow("queries") << "N2";
    QTest::newRow("table field") << "TF9-2";
}

void NodeClickTest::branchesAndFieldsOnlyDisableDelete() {
    QFETCH(QString, key);
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.controls().sqlButtons.deleteQuery->setEnabled(true);
    const QString sql = w.sqlWorkbench().text();
    const QString row = run.row(1);
    const int pointerChanges = int(run.desktop.pointerHistory.size());
    run.click(key);
    QVERIFY(!w.controls().sqlButtons.deleteQuery->isEnabled());
    QCOMPARE(w.sqlWorkbench().text(), sql);
    QCOMPARE(run.row(1), row);
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));
    QVERIFY(!run.desktop.pointerHistory.mid(pointerChanges).contains(ui::Desktop::Pointer::Busy));
}

void NodeClickTest::unlockedTextStaysPut() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.sqlWorkbench().unlock();
    w.sqlWorkbench().setText(QStringLiteral("SELECT A\r\nFROM Table1"));
    run.click(QStringLiteral("T12"));
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT A\r\nFROM Table1"));
    QCOMPARE(run.row(0), QStringLiteral("Flag|name|data"));
}

void NodeClickTest::selectQueryShowsItsRowsAndSql() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(queryFile()));
    const QString key = run.queryKey(QStringLiteral("SelectQuery"));
    QVERIFY(!key.isEmpty());
    run.click(key);
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(w.browser().currentQueryName(), QStringLiteral("SelectQuery"));
    QVERIFY(w.controls().sqlButtons.deleteQuery->isEnabled());
    QVERIFY2(w.sqlWorkbench().text().startsWith(QStringLiteral("SELECT DISTINCT Table1.*")),
             qPrintable(w.sqlWorkbench().text()));
    QVERIFY(w.sqlWorkbench().text().contains(QStringLiteral("\r\n")));
    QVERIFY(w.sqlWorkbench().text().endsWith(QStringLiteral(";")));
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("SelectQuery"));
    QCOMPARE(w.controls().dataSheet->textMatrix(0, 0), QStringLiteral("Flag"));
    QTreeWidgetItem* node = run.node(key);
    QCOMPARE(w.controls().dataSheet->cols(), node->childCount() + 1);
    for (int j = 0; j < node->childCount(); ++j) {
        QCOMPARE(w.controls().dataSheet->textMatrix(0, j + 1), node->child(j)->text(0));
    }
}

void NodeClickTest::modifyingQueryIsRefusedAndChangesNothing() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(queryFile()));
    const QString row0 = run.row(0);
    const int cols = w.controls().dataSheet->cols();
    w.controls().sqlButtons.deleteQuery->setEnabled(false);
    run.click(run.queryKey(QStringLiteral("UpdateQuery")));
    QCOMPARE(run.lastMessage(),
             QStringLiteral("Query Error|Query involves modifying data is not allowed."));
    QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Exclamation);
    QVERIFY(w.sqlWorkbench().text().contains(QStringLiteral(" SET ")));
    QCOMPARE(run.row(0), row0);
    QCOMPARE(w.controls().dataSheet->cols(), cols);
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));
    QVERIFY(!w.controls().sqlButtons.deleteQuery->isEnabled());
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

// A delete query starts with its keyword, so the keyword test lets it pass;
// the engine refuses it and the window reports that instead of showing it.
void NodeClickTest::queryTheEngineRefusesLeavesTheSheet() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(queryFile()));
    const QString row0 = run.row(0);
    const int cols = w.controls().dataSheet->cols();
    for (const char* name : {"DeleteQuery", "AppendQuery"}) {
        run.click(run.queryKey(QString::fromLatin1(name)));
        QVERIFY2(
            run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")),
            qPrintable(run.lastMessage()));
        QVERIFY(run.lastMessage().size() >
                QStringLiteral("SQL Error|Invalid SQL statement.\r\n").size());
        QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Critical);
        QCOMPARE(run.row(0), row0);
        QCOMPARE(w.controls().dataSheet->cols(), cols);
        QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
                 QStringLiteral("Table1"));
        QVERIFY(w.controls().sqlButtons.deleteQuery->isEnabled());
        QCOMPARE(w.browser().currentQueryName(), QString::fromLatin1(name));
        QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
    }
    QCOMPARE(run.messageCount(), 2);
}

void NodeClickTest::parametersAskedInOrder() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(parameterFile()));
    run.dialogs.texts.enqueue(QStringLiteral("1"));
    run.dialogs.texts.enqueue(QStringLiteral("333"));
    run.click(run.queryKey(QStringLiteral("Between")));
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.dialogs.asked.size(), 2);
    QCOMPARE(run.dialogs.asked[0].title, QStringLiteral("Enter Parameter Value"));
    QCOMPARE(run.dialogs.asked[0].text, QStringLiteral("Enter Low"));
    QCOMPARE(run.dialogs.asked[1].text, QStringLiteral("Enter High"));
    QCOMPARE(run.row(0), QStringLiteral("Flag|Total|L"));
    QCOMPARE(w.controls().dataSheet->rows(), 2);
    QCOMPARE(run.row(1), QStringLiteral("|334|1"));
    QVERIFY(w.controls().sqlButtons.deleteQuery->isEnabled());
}

void NodeClickTest::cancelledParameterIsEmptyText() {
    BrowserWindow run;
    QVERIFY(run.open(parameterFile()));
    run.click(run.queryKey(QStringLiteral("ByName")));
    QCOMPARE(run.dialogs.asked.size(), 1);
    QCOMPARE(run.dialogs.asked[0].text, QStringLiteral("Enter Which name"));
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.row(0), QStringLiteral("Flag|Echo|Size"));
    QCOMPARE(run.row(1), QStringLiteral("||0"));
}

void NodeClickTest::refreshRunsTheSameQueryWithoutAsking() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(parameterFile()));
    run.dialogs.texts.enqueue(QStringLiteral("a"));
    run.click(run.queryKey(QStringLiteral("ByName")));
    QCOMPARE(run.row(1), QStringLiteral("|a|1"));
    w.controls().dataSheet->setTextMatrix(1, 1, QStringLiteral("edited"));
    const int asked = int(run.dialogs.asked.size());
    w.menus().action(QStringLiteral("mnuRefresh"))->trigger();
    QCOMPARE(int(run.dialogs.asked.size()), asked);
    QCOMPARE(run.row(0), QStringLiteral("Flag|Echo|Size"));
    QCOMPARE(run.row(1), QStringLiteral("|a|1"));
}

void NodeClickTest::doubleClickPastesTableAndFieldNames() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    w.sqlWorkbench().unlock();
    w.sqlWorkbench().setText(QStringLiteral("SELECT \r\n FROM \r\n \r\n"));
    w.sqlWorkbench().setInsertionPoint(7);  // after "SELECT " on the first line
    run.doubleClick(QStringLiteral("TF9-1"));
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT  [B] \r\n FROM \r\n \r\n"));
    w.sqlWorkbench().setInsertionPoint(9999);  // past the end: at the end
    run.doubleClick(QStringLiteral("T12"));
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT  [B] \r\n FROM \r\n \r\n [Table4] "));
    QCOMPARE(run.row(0), QStringLiteral("Flag|name|data"));
}

void NodeClickTest::doubleClickOnQueryPastesNothing() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(queryFile()));
    w.sqlWorkbench().unlock();
    w.sqlWorkbench().setText(QStringLiteral("SELECT x FROM y"));
    const QString key = run.queryKey(QStringLiteral("SelectQuery"));
    run.doubleClick(key);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT x FROM y"));
    run.doubleClick(run.node(key)->child(0) ? db::DatabaseTree::key(run.node(key)->child(0)) : key);
    QCOMPARE(w.sqlWorkbench().text(), QStringLiteral("SELECT x FROM y"));
}

void NodeClickTest::treeFocusSetsThePane() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    w.activateWindow();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.menus().action(QStringLiteral("mnuEditCut"))->setEnabled(true);
    w.controls().dataSheet->setFocus();
    w.controls().databaseTree->setFocus();
    QTRY_COMPARE(int(w.sheetState().lastFocusedPane), 4);
    QVERIFY(!w.menus().action(QStringLiteral("mnuEditCut"))->isEnabled());
}

// The arrow keys show the node they reach as a click does; the program's own
// choice of the current node shows nothing.
void NodeClickTest::keyboardMovesShowTheNode() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    QTreeWidget& tree = *w.controls().databaseTree;
    QTreeWidgetItem* table1 = run.node(QStringLiteral("T9"));
    QCOMPARE(tree.currentItem(), table1);
    table1->setExpanded(false);
    QTest::keyClick(&tree, Qt::Key_Down);
    QTreeWidgetItem* next = tree.currentItem();
    QVERIFY(next != table1);
    QVERIFY(db::DatabaseTree::key(next).startsWith(QLatin1Char('T')));
    QCOMPARE(w.browser().currentNode(), next);
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()), next->text(0));
    QCOMPARE(w.sqlWorkbench().text(),
             QStringLiteral("SELECT * \r\n  FROM [%1]").arg(next->text(0)));
    QCOMPARE(w.controls().dataSheet->cols(), next->childCount() + 1);
    QCOMPARE(w.controls().dataSheet->textMatrix(0, 1), db::DatabaseTree::name(next->child(0)));

    QTest::keyClick(&tree, Qt::Key_Up);
    QCOMPARE(tree.currentItem(), table1);
    QCOMPARE(run.row(0), QStringLiteral("Flag|A|B|C|D|E|F|G|H|I"));
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));

    table1->setExpanded(true);
    QTest::keyClick(&tree, Qt::Key_Down);  // onto the first field: nothing to show
    QCOMPARE(db::DatabaseTree::key(tree.currentItem()), QStringLiteral("TF9-0"));
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));
    QVERIFY(!w.controls().sqlButtons.deleteQuery->isEnabled());

    tree.setCurrentItem(run.node(QStringLiteral("T12")));
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));
    QCOMPARE(run.messageCount(), 0);
}

// A key move and a mouse click each show the node once: one prompt per
// parameter, not two.
void NodeClickTest::keyboardMoveToAParameterQueryAsksOnce() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(parameterFile()));
    QTreeWidgetItem* byName = run.node(run.queryKey(QStringLiteral("ByName")));
    QTreeWidgetItem* queries = byName->parent();
    const int at = queries->indexOfChild(byName);
    QTreeWidgetItem* before = at > 0 ? queries->child(at - 1) : queries;
    before->setExpanded(false);
    w.controls().databaseTree->setCurrentItem(before);
    QCOMPARE(run.dialogs.asked.size(), 0);
    run.dialogs.texts.enqueue(QStringLiteral("key"));
    QTest::keyClick(w.controls().databaseTree, Qt::Key_Down);
    QCOMPARE(w.controls().databaseTree->currentItem(), byName);
    QCOMPARE(run.dialogs.asked.size(), 1);
    QCOMPARE(run.row(1), QStringLiteral("|key|3"));
    run.dialogs.texts.enqueue(QStringLiteral("mouse"));
    run.click(db::DatabaseTree::key(byName));
    QCOMPARE(run.row(1), QStringLiteral("|mouse|5"));
    int prompts = 0;
    for (const auto& asked : run.dialogs.asked) {
        prompts += asked.text == QLatin1String("Enter Which name") ? 1 : 0;
    }
    QCOMPARE(prompts, 2);
}

// Esc during a long load stops it: the sheet keeps the rows read until then
// and a message says so; the window then works as before.
void NodeClickTest::escapeStopsALongLoadAndSaysSo() {
    const char* bench = std::getenv("TABLESCOPE_BENCH_MDB");
    if (!bench || !*bench) {
        QSKIP("TABLESCOPE_BENCH_MDB names no benchmark database (scripts/test.sh sets it)");
    }
    BrowserWindow run;
    sheet::Grid& sheet = *run.w().controls().dataSheet;
    // Opening shows the first table, Big (1,000,000 rows). Esc is pressed over
    // and over; the keys reach the window while the load lets it paint.
    QTimer escape;
    QObject::connect(&escape, &QTimer::timeout, [&sheet] {
        QCoreApplication::postEvent(
            &sheet, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    escape.start(5);
    QVERIFY(run.open(bench));
    escape.stop();
    const int rows = sheet.rows() - 1;
    QVERIFY2(rows > 0 && rows < 1000000, qPrintable(QString::number(rows)));
    QVERIFY2(run.row(rows).contains(QStringLiteral("name-%1").arg(rows - 1)),
             qPrintable(run.row(rows)));
    QCOMPARE(run.lastMessage(),
             QStringLiteral("Tablescope|Loading stopped: the sheet shows the %L1 rows read until "
                            "then.")
                 .arg(rows));
    const qsizetype messages = run.dialogs.asked.size();
    QCoreApplication::processEvents();  // the Esc keys still queued go nowhere harmful
    QString customers;
    for (const QString& key : run.keys()) {
        if (run.node(key)->text(0) == QLatin1String("Customers")) {
            customers = key;
        }
    }
    run.click(customers);
    QCOMPARE(sheet.rows() - 1, 100000);
    QCOMPARE(run.dialogs.asked.size(), messages);
}

QTEST_MAIN(NodeClickTest)
#include "tst_node_click.moc"
