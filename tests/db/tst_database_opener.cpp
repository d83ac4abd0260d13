// Opening a database in the real window: password retry, the tree's keys and
// texts, the first table in the sheet with its flag column and data types,
// and the failures that must leave the window as it was.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
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
#include "ui/status_panels.h"

namespace {

const QString kTable1Titles = QStringLiteral("Flag|A|B|C|D|E|F|G|H|I");
const QString kTable1Row1 =
    QStringLiteral("|abcdefg|hijklmnop|2|222|333333333|444.555|9/21/1974|3.5|True");
const QString kTable1Row2 = QStringLiteral("|a|b|0|0|0|0|12/12/1981|0|False");

QStringList test2003Keys() {
    QStringList keys{QStringLiteral("N0"), QStringLiteral("N1")};
    const int firstTable = 9;  // nine system tables sort before Table1
    const int fieldCounts[] = {9, 89, 2, 2};
    for (int t = 0; t < 4; ++t) {
        keys.append(QStringLiteral("T%1").arg(firstTable + t));
        for (int j = 0; j < fieldCounts[t]; ++j) {
            keys.append(QStringLiteral("TF%1-%2").arg(firstTable + t).arg(j));
        }
    }
    keys.append(QStringLiteral("N2"));
    keys.append(QStringLiteral("N3"));  // the file holds no relationships
    return keys;
}

}  // namespace

class DatabaseOpenerTest : public QObject {
    Q_OBJECT
  private slots:
    void opensToTheFirstTable();
    void treeKeysKeepTheSystemTableGaps();
    void columnsCarryVarTypes();
    void passwordAskedOnceThenOpens();
    void wrongPasswordChangesNothing();
    void cancelledPasswordStillTriesAgain();
    void wrongPasswordMayBeTypedAgain();
    void everyOpenFailureBlamedThePassword();
    void databaseWithNothingToShowClearsTheSheet();
    void queriesWithoutTablesShowTheFirstQuery();
    void secondDatabaseReplacesTheTree();
    void relativePathGivesEmptyDatabaseNode();
};

void DatabaseOpenerTest::opensToTheFirstTable() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    const std::string file = testfiles::path("mdb-reader/V2003/test.mdb");
    QVERIFY(run.open(file));
    QCOMPARE(w.windowTitle(), QStringLiteral("Veltrano [%1]").arg(QString::fromStdString(file)));
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.dialogs.asked.size(), 0);
    QCOMPARE(w.controls().dataSheet->rows(), 3);
    QCOMPARE(run.row(0), kTable1Titles);
    QCOMPARE(run.row(1), kTable1Row1);
    QCOMPARE(run.row(2), kTable1Row2);
    QCOMPARE(w.controls().dataSheet->colWidth(0), 410);
    QVERIFY(w.sheetState().flagColumnPresent);
    QCOMPARE(w.sheetState().flagColumn, 0);
    QVERIFY(w.sheetState().titlesChanged);
    QCOMPARE(w.controls().formView->rows(), w.controls().dataSheet->cols() + 1);
    QCOMPARE(w.controls().formView->textMatrix(1, 0), QStringLiteral("Flag"));
    QCOMPARE(w.controls().formView->textMatrix(2, 0), QStringLiteral("A"));
    QCOMPARE(w.controls().databaseTree->currentItem(), run.node(QStringLiteral("T9")));
    QVERIFY(w.menus().action(QStringLiteral("mnuRefresh"))->isEnabled());
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));
    QCOMPARE(QString::fromStdString(w.browser().dataControl().databaseName()),
             QString::fromStdString(file));
    QVERIFY(w.browser().database() && w.browser().database()->isOpen());
    QVERIFY(run.desktop.pointerHistory.contains(ui::Desktop::Pointer::Busy));
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
    QCOMPARE(w.controls().statusPanels->panelText(5), QStringLiteral("1 / 2"));
}

void DatabaseOpenerTest::treeKeysKeepTheSystemTableGaps() {
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    QCOMPARE(run.keys(), test2003Keys());
    QCOMPARE(run.node(QStringLiteral("N0"))->text(0), QStringLiteral("test.mdb"));
    QCOMPARE(run.node(QStringLiteral("T9"))->text(0), QStringLiteral("Table1"));
    QCOMPARE(run.node(QStringLiteral("TF9-6"))->text(0), QStringLiteral("G  Date/Time"));
    QCOMPARE(run.node(QStringLiteral("T12"))->text(0), QStringLiteral("Table4"));
    QCOMPARE(db::DatabaseTree::name(run.node(QStringLiteral("TF12-1"))), QStringLiteral("data"));
}

void DatabaseOpenerTest::columnsCarryVarTypes() {
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const int expected[] = {0, 8, 8, 17, 2, 3, 5, 7, 6, 11};
    for (int c = 0; c < 10; ++c) {
        QCOMPARE(run.w().controls().dataSheet->colDataType(c), expected[c]);
    }
}

void DatabaseOpenerTest::passwordAskedOnceThenOpens() {
    BrowserWindow run;
    run.dialogs.texts.enqueue(QStringLiteral("password"));
    QVERIFY(run.open(testfiles::path("mdb-reader/password/V2003_with-password.mdb")));
    QCOMPARE(run.dialogs.asked.size(), 1);
    QCOMPARE(run.dialogs.asked[0].kind, QStringLiteral("password"));  // masked
    QCOMPARE(run.dialogs.asked[0].title, QStringLiteral("Enter Password"));
    QCOMPARE(run.dialogs.asked[0].text, QStringLiteral("Enter password"));
    QVERIFY(run.keys().contains(QStringLiteral("N2")));
    QCOMPARE(run.w().controls().databaseTree->currentItem()->text(0), QStringLiteral("Table1"));
    QCOMPARE(run.w().controls().dataSheet->textMatrix(0, 0), QStringLiteral("Flag"));
}

void DatabaseOpenerTest::wrongPasswordChangesNothing() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString caption = w.windowTitle();
    const QStringList keys = run.keys();
    const auto database = w.browser().database();
    const int flagsBefore = w.controls().dataSheet->cols();
    run.dialogs.texts.enqueue(QStringLiteral("wrong"));
    QVERIFY(!run.open(testfiles::path("mdb-reader/password/V2003_with-password.mdb")));
    QCOMPARE(run.messageCount(), 1);
    QCOMPARE(run.lastMessage(),
             QStringLiteral("Tablescope|Open database error. Check your password or consult "
                            "with system administrator."));
    QCOMPARE(w.windowTitle(), caption);
    QCOMPARE(run.keys(), keys);
    QCOMPARE(w.browser().database(), database);
    QVERIFY(database->isOpen());
    QCOMPARE(QString::fromStdString(w.browser().dataControl().databaseName()),
             QString::fromStdString(testfiles::path("mdb-reader/V2003/test.mdb")));
    QCOMPARE(w.controls().dataSheet->cols(), flagsBefore);
    QCOMPARE(run.row(1), kTable1Row1);
    QCOMPARE(int(w.files().openFileType()), 1);
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

void DatabaseOpenerTest::cancelledPasswordStillTriesAgain() {
    BrowserWindow run;
    QVERIFY(!run.open(testfiles::path("mdb-reader/password/V2000_with-password.mdb")));
    QCOMPARE(run.dialogs.asked.size(), 2);
    QCOMPARE(run.dialogs.asked[0].kind, QStringLiteral("password"));
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("Tablescope|Open database error.")));
    QCOMPARE(run.w().controls().databaseTree->topLevelItemCount(), 0);
    QVERIFY(!run.w().browser().database());
}

void DatabaseOpenerTest::wrongPasswordMayBeTypedAgain() {
    BrowserWindow run;
    run.dialogs.texts << QStringLiteral("wrong") << QStringLiteral("Password")
                      << QStringLiteral("password");
    QVERIFY(run.open(testfiles::path("mdb-reader/password/V2003_with-password.mdb")));
    QCOMPARE(run.dialogs.asked.size(), 3);
    QCOMPARE(run.messageCount(), 0);
    BrowserWindow again;
    again.dialogs.texts << QStringLiteral("a") << QStringLiteral("b") << QStringLiteral("c")
                        << QStringLiteral("password");
    QVERIFY(!again.open(testfiles::path("mdb-reader/password/V2003_with-password.mdb")));
    QCOMPARE(again.dialogs.asked.size(), 4);  // three prompts, then the message
    QVERIFY(again.lastMessage().startsWith(QStringLiteral("Tablescope|Open database error.")));
}

// Regression: a damaged file or a text file named .mdb asked for a password
// and then blamed it.
void DatabaseOpenerTest::everyOpenFailureBlamedThePassword() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString notes = dir.filePath(QStringLiteral("notes.mdb"));
    QFile file(notes);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a database\n");
    file.close();
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString caption = run.w().windowTitle();
    run.dialogs.texts.enqueue(QStringLiteral("password"));
    QVERIFY(!run.open(notes.toStdString()));
    QCOMPARE(run.dialogs.asked.size(), 1);  // the message only: no prompt
    QVERIFY2(run.lastMessage().startsWith(QStringLiteral("Error|Unable to open database.\r\n")),
             qPrintable(run.lastMessage()));
    QVERIFY(!run.lastMessage().contains(QStringLiteral("password"), Qt::CaseInsensitive));
    QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Critical);
    QCOMPARE(run.w().windowTitle(), caption);
    QVERIFY(run.w().browser().database());
}

void DatabaseOpenerTest::databaseWithNothingToShowClearsTheSheet() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/empty.mdb")));
    QCOMPARE(run.keys(), (QStringList{"N0", "N1", "N2", "N3"}));
    QCOMPARE(run.messageCount(), 1);
    QVERIFY2(run.lastMessage().startsWith(QStringLiteral("Error|Unable to open database.\r\n")),
             qPrintable(run.lastMessage()));
    QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Critical);
    for (int r = 0; r < w.controls().dataSheet->rows(); ++r) {
        QCOMPARE(run.row(r), QString(w.controls().dataSheet->cols() - 1, QLatin1Char('|')));
    }
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("empty.mdb]")));
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

void DatabaseOpenerTest::queriesWithoutTablesShowTheFirstQuery() {
    const std::string file = testfiles::copy("mdb-reader/V2003/empty.mdb", "only-query.mdb");
    const jet::Status stored =
        jet::createQueryDef(file, "Objects", "SELECT Name, Type FROM MSysObjects WHERE Id < 0;");
    QVERIFY2(stored.isOk(), stored.message().c_str());
    BrowserWindow run;
    QVERIFY(run.open(file));
    QCOMPARE(run.messageCount(), 0);
    QCOMPARE(run.w().controls().databaseTree->currentItem(), run.node(QStringLiteral("Q0")));
    QCOMPARE(run.node(QStringLiteral("QF0-0"))->text(0), QStringLiteral("Name"));
    QCOMPARE(run.row(0), QStringLiteral("Flag|Name|Type"));
    QCOMPARE(QString::fromStdString(run.w().browser().dataControl().recordSource()),
             QStringLiteral("Objects"));
}

void DatabaseOpenerTest::secondDatabaseReplacesTheTree() {
    BrowserWindow run;
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const auto first = run.w().browser().database();
    QVERIFY(run.open(testfiles::path("jackcess/V2000/queryTestV2000.mdb")));
    QVERIFY(!first->isOpen());
    QCOMPARE(run.node(QStringLiteral("N0"))->text(0), QStringLiteral("queryTestV2000.mdb"));
    QCOMPARE(run.node(QStringLiteral("T9")), nullptr);  // five system tables here, not nine
    QCOMPARE(run.node(QStringLiteral("T5"))->text(0), QStringLiteral("Table1"));
    QTreeWidgetItem* queries = run.node(QStringLiteral("N2"));
    QCOMPARE(queries->childCount(), 9);
    QCOMPARE(db::DatabaseTree::key(queries->child(0)), QStringLiteral("Q0"));
    QTreeWidgetItem* tables = run.node(QStringLiteral("N1"));
    QCOMPARE(tables->childCount(), 3);
    QCOMPARE(tables->child(0)->text(0), QStringLiteral("Table1"));
    QCOMPARE(run.w().controls().databaseTree->currentItem(), tables->child(0));
}

void DatabaseOpenerTest::relativePathGivesEmptyDatabaseNode() {
    const QString folder = QString::fromStdString(testfiles::path("mdb-reader/V2003"));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder));
    BrowserWindow run;
    const bool opened = run.open("test.mdb");
    QDir::setCurrent(before);
    QVERIFY(opened);
    QCOMPARE(run.node(QStringLiteral("N0"))->text(0), QString());
    QCOMPARE(run.row(1), kTable1Row1);
}

QTEST_MAIN(DatabaseOpenerTest)
#include "tst_database_opener.moc"
