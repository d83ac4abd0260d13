// What the tree tells beyond names, in the real window: a linked table whose
// back-end is missing asks for the file (once per back-end, remembered while
// the program runs) and reads from the file chosen; View > Hidden Queries
// lists Access's hidden queries; field, relationship and type texts stay out
// of the SQL box's statements.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <fstream>

#include "browser_window.h"
#include "db/database.h"
#include "db/database_tree.h"
#include "jet/query_writer.h"
#include "sheet/grid.h"
#include "test_files.h"
#include "ui/main_menus.h"

namespace {

// The front-end alone: its back-end is neither where the link says
// (Z:\jackcess_test\linkeeTest.accdb) nor beside it.
std::string lonelyFrontEnd(const std::string& name) {
    return testfiles::copy("../testdata-modern/V2007/linkerTestV2007.accdb", name);
}

// The back-end under another name, so only the choice in the dialog finds it.
std::string movedBackEnd() {
    return testfiles::copy("../testdata-modern/linkeeTest.accdb", "moved-backend.accdb");
}

QString tableKey(BrowserWindow& run, const QString& name) {
    QTreeWidgetItem* tables = run.node(QStringLiteral("N1"));
    for (int i = 0; tables && i < tables->childCount(); ++i) {
        if (tables->child(i)->text(0) == name) {
            return db::DatabaseTree::key(tables->child(i));
        }
    }
    return {};
}

int openDialogs(const BrowserWindow& run) {
    int n = 0;
    for (const auto& asked : run.dialogs.asked) {
        n += asked.kind == QLatin1String("open") ? 1 : 0;
    }
    return n;
}

const QString kNotFound = QStringLiteral(
    "Linked Table|The linked table 'Table2' reads from the database "
    "'Z:\\jackcess_test\\linkeeTest.accdb', which was not found.");

}  // namespace

class TreeDetailsTest : public QObject {
    Q_OBJECT
  private slots:
    void missingBackEndIsAskedForAndRead();
    void cancelledBackEndNamesTheMissingFile();
    void wrongBackEndIsNotKept();
    void hiddenQueriesMenuShowsThem();
    void doubleClickedFieldPastesItsNameOnly();
    void relationshipClickShowsNothing();
};

void TreeDetailsTest::missingBackEndIsAskedForAndRead() {
    BrowserWindow run;
    const std::string backEnd = movedBackEnd();
    QVERIFY(run.open(lonelyFrontEnd("front-a.accdb")));
    QCOMPARE(run.lastMessage(), QString());  // Table1, local, shows first
    const QString linked = tableKey(run, QStringLiteral("Table2"));
    QCOMPARE(run.node(linked)->childCount(), 0);  // no back-end, no fields yet

    run.dialogs.texts.enqueue(QString::fromStdString(backEnd));
    run.click(linked);
    QCOMPARE(openDialogs(run), 1);
    const ui::ScriptedDialogs::Asked& asked = run.dialogs.asked.last();
    QCOMPARE(asked.title, QStringLiteral("Locate the back-end database linkeeTest.accdb"));
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.row(0), QStringLiteral("Flag|ID|Field1"));
    QCOMPARE(run.row(1).section(QLatin1Char('|'), 2), QStringLiteral("bar"));
    // The tree lists the back-end's fields now.
    QTreeWidgetItem* node = run.node(linked);
    QCOMPARE(node->childCount(), 2);
    QCOMPARE(db::DatabaseTree::name(node->child(1)), QStringLiteral("Field1"));

    // Asked once per back-end: clicking again and typed SQL read it too.
    run.click(tableKey(run, QStringLiteral("Table1")));
    run.click(linked);
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT Field1 FROM Table2"));
    run.press("cmdRun");
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.row(1).section(QLatin1Char('|'), 1), QStringLiteral("bar"));

    // Remembered while the program runs: another copy of the front-end opens
    // its linked table without asking.
    QVERIFY(run.open(lonelyFrontEnd("front-b.accdb")));
    run.click(tableKey(run, QStringLiteral("Table2")));
    QCOMPARE(openDialogs(run), 1);
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.row(0), QStringLiteral("Flag|ID|Field1"));
}

void TreeDetailsTest::cancelledBackEndNamesTheMissingFile() {
    BrowserWindow run;
    QVERIFY(run.open(lonelyFrontEnd("front-c.accdb")));
    const QString before = run.row(0);
    const QString linked = tableKey(run, QStringLiteral("Table2"));
    run.click(linked);  // no scripted answer: the dialog is cancelled
    QCOMPARE(openDialogs(run), 1);
    QCOMPARE(run.lastMessage(), kNotFound);
    QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Exclamation);
    QCOMPARE(run.messageCount(), 1);
    QCOMPARE(run.row(0), before);  // the sheet shows what it showed
    // Cancelling is no choice: the next click asks again.
    run.click(linked);
    QCOMPARE(openDialogs(run), 2);
    QCOMPARE(run.messageCount(), 2);
}

void TreeDetailsTest::wrongBackEndIsNotKept() {
    BrowserWindow run;
    QVERIFY(run.open(lonelyFrontEnd("front-d.accdb")));
    const QString linked = tableKey(run, QStringLiteral("Table2"));
    // A database without the linked table's table, then a file that is no
    // database at all.
    const std::string otherDatabase =
        testfiles::copy("mdb-reader/V2003/numeric.mdb", "not-the-backend.mdb");
    const std::string text = testfiles::copy("../testdata-modern/README.md", "notes.accdb");
    for (const std::string& wrong : {otherDatabase, text}) {
        run.dialogs.texts.enqueue(QString::fromStdString(wrong));
        const int messages = run.messageCount();
        run.click(linked);
        QCOMPARE(run.messageCount(), messages + 1);
        QVERIFY2(run.lastMessage().startsWith(kNotFound + QStringLiteral(" The file chosen")),
                 qPrintable(run.lastMessage()));
    }
    // Not remembered: the next click asks again and the right file works.
    run.dialogs.texts.enqueue(QString::fromStdString(movedBackEnd()));
    run.click(linked);
    QCOMPARE(openDialogs(run), 3);
    QCOMPARE(run.row(0), QStringLiteral("Flag|ID|Field1"));
}

void TreeDetailsTest::hiddenQueriesMenuShowsThem() {
    const std::string file =
        testfiles::copyWithHiddenQuery("jackcess/V2000/queryTestV2000.mdb", "hidden.mdb");
    BrowserWindow run;
    QAction* menu = run.w().menus().action(QStringLiteral("mnuHiddenQueries"));
    QVERIFY(menu && menu->isCheckable() && !menu->isChecked());
    QVERIFY(run.open(file));
    QVERIFY(run.queryKey(QStringLiteral("~sq_fForm1")).isEmpty());
    run.click(run.queryKey(QStringLiteral("SelectQuery")));
    const QString selectKey = run.queryKey(QStringLiteral("SelectQuery"));

    menu->trigger();
    QVERIFY(menu->isChecked());
    const QString hiddenKey = run.queryKey(QStringLiteral("~sq_fForm1"));
    QVERIFY(!hiddenKey.isEmpty());
    // The node last clicked is still the current one, and Delete acts on it.
    QCOMPARE(run.w().browser().currentNode(), run.node(selectKey));
    QCOMPARE(run.w().controls().databaseTree->currentItem(), run.node(selectKey));
    run.click(hiddenKey);
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.row(0), QStringLiteral("Flag|col1"));

    menu->trigger();
    QVERIFY(run.queryKey(QStringLiteral("~sq_fForm1")).isEmpty());
    QCOMPARE(run.w().browser().currentNode(), nullptr);  // its node is gone
}

void TreeDetailsTest::doubleClickedFieldPastesItsNameOnly() {
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString table = tableKey(run, QStringLiteral("Table1"));
    const QString field = db::DatabaseTree::key(run.node(table)->child(7));
    QCOMPARE(run.node(field)->text(0), QStringLiteral("H  Currency"));
    run.w().sqlWorkbench().setText(QString());
    run.w().sqlWorkbench().setInsertionPoint(0);
    run.doubleClick(field);
    QCOMPARE(run.w().sqlWorkbench().text(), QStringLiteral(" [H] "));
}

void TreeDetailsTest::relationshipClickShowsNothing() {
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("jackcess/V2000/indexTestV2000.mdb")));
    const QString rows = run.row(0);
    const QString sql = run.w().sqlWorkbench().text();
    run.click(QStringLiteral("N3"));
    QTreeWidgetItem* branch = run.node(QStringLiteral("N3"));
    QVERIFY(branch && branch->childCount() == 2);
    run.w().sqlWorkbench().setInsertionPoint(0);
    run.doubleClick(db::DatabaseTree::key(branch->child(0)));
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.row(0), rows);
    QCOMPARE(run.w().sqlWorkbench().text(), sql);
    QVERIFY(!run.w().controls().sqlButtons.deleteQuery->isEnabled());
}

QTEST_MAIN(TreeDetailsTest)
#include "tst_tree_details.moc"
