// Save As New Query and Delete in the real window, on copies of real files:
// the name prompt, the engine's refusals, the node added under "Queries",
// the delete confirmation, the rule that picks the node to delete, and what
// the file holds afterwards.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "browser_window.h"
#include "db/database.h"
#include "db/database_tree.h"
#include "jet/database.h"
#include "jet/query_writer.h"
#include "sheet/grid.h"
#include "test_files.h"
#include "ui/tab_strip.h"

namespace {

using Answer = ui::Dialogs::Answer;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The saved query names the file itself lists, read with a fresh engine.
QStringList queriesInFile(const std::string& path) {
    auto db = jet::Database::open(path);
    if (!db) {
        return {
            QStringLiteral("<cannot open: %1>").arg(QString::fromStdString(db.status().message()))};
    }
    QStringList names;
    for (const jet::QueryDef& query : (*db)->queries()) {
        names.append(QString::fromStdString(query.name));
    }
    return names;
}

QStringList childTexts(QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i) {
        out.append(node->child(i)->text(0));
    }
    return out;
}

// A window with a copy of `relative` open and the given SQL text.
void openCopy(BrowserWindow& run, const std::string& relative, const std::string& copyName,
              std::string& file) {
    file = testfiles::copy(relative, copyName);
    QVERIFY(run.open(file));
}

}  // namespace

class FrmMainQueriesTest : public QObject {
    Q_OBJECT
  private slots:
    void cancelledOrEmptyNameChangesNothing();
    void saveAddsTheNodeLastUnderQueries();
    void savedQueryRunsFromTheTree();
    void savedParameterQueryAsksForItsValue();
    void existingNameShowsTheEngineDescription();
    void refusedStatementShowsTheEngineDescription();
    void saveWithoutDatabaseReportsIt();
    void usedKeyStoresTheQueryWithoutNode();
    void saveInAJet3File();
    void deleteAnswersOtherThanYesChangeNothing();
    void deleteRemovesNodeAndQuery();
    void deleteTakesTheQueryNodeNotAnEarlierFieldNode();
    void deleteOfAQueryAlreadyGoneSaysSo();
    void staleDeleteAfterOpeningAnotherFile();
    void deleteRefusedByTheEngineKeepsTheNode();
};

void FrmMainQueriesTest::cancelledOrEmptyNameChangesNothing() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "cancel.mdb", file);
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT col1 FROM Table1"));
    const QStringList keys = run.keys();
    const std::string bytes = bytesOf(file);
    run.press("cmdSaveSQL");  // no scripted answer: the prompt is cancelled
    run.dialogs.texts.enqueue(QString());
    run.press("cmdSaveSQL");  // confirmed empty
    QCOMPARE(run.dialogs.asked.size(), 2);
    QCOMPARE(run.dialogs.asked[0].kind, QStringLiteral("input"));
    QCOMPARE(run.dialogs.asked[0].title, QStringLiteral("Save Query"));
    QCOMPARE(run.dialogs.asked[0].text, QStringLiteral("Enter New Query Name:"));
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.keys(), keys);
    QVERIFY(bytesOf(file) == bytes);
}

void FrmMainQueriesTest::saveAddsTheNodeLastUnderQueries() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "save.mdb", file);
    app::MainWindow& w = run.w();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);  // where the button is
    w.controls().dataSheet->setFocus();
    const QStringList keysBefore = run.keys();
    w.sqlWorkbench().setText(
        QStringLiteral("SELECT Table1.col1, Table2.col2 AS Other\r\n  FROM Table1 INNER "
                       "JOIN Table2 ON Table1.col1 = Table2.col1"));
    run.dialogs.texts.enqueue(QStringLiteral("Joined Tables"));
    run.press("cmdSaveSQL");
    QCOMPARE(run.lastMessage(), QString());

    QTreeWidgetItem* queries = run.node(QStringLiteral("N2"));
    QTreeWidgetItem* added = queries->child(queries->childCount() - 1);
    QCOMPARE(db::DatabaseTree::key(added), QStringLiteral("QJoined Tables"));
    QCOMPARE(added->text(0), QStringLiteral("Joined Tables"));
    QCOMPARE(db::DatabaseTree::image(added), 5);
    QCOMPARE(db::DatabaseTree::selectedImage(added), 6);
    // The picture drawn is the one every other saved query shows.
    QVERIFY(!added->icon(0).isNull());
    QCOMPARE(added->icon(0).cacheKey(), queries->child(0)->icon(0).cacheKey());
    QCOMPARE(added->childCount(), 0);
    QStringList expected = keysBefore;
    expected.insert(expected.indexOf(QStringLiteral("N3")), QStringLiteral("QJoined Tables"));
    QCOMPARE(run.keys(), expected);
    QTRY_VERIFY(w.controls().sqlBox->hasFocus());
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);

    QVERIFY(queriesInFile(file).contains(QStringLiteral("Joined Tables")));
    db::QueryDefinition* stored = w.browser().database()->queryDefs().find("Joined Tables");
    QVERIFY(stored);
    QCOMPARE(QString::fromStdString(stored->sql()).simplified(),
             QStringLiteral("SELECT Table1.col1, Table2.col2 AS Other FROM Table1 INNER JOIN "
                            "Table2 ON Table1.col1 = Table2.col1;"));
}

void FrmMainQueriesTest::savedQueryRunsFromTheTree() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "mdb-reader/V1997/test.mdb", "run.mdb", file);
    app::MainWindow& w = run.w();
    w.sqlWorkbench().setText(
        QStringLiteral("SELECT A, Count(*) AS N FROM Table1 GROUP BY A ORDER BY A DESC"));
    run.dialogs.texts.enqueue(QStringLiteral("Counted"));
    run.press("cmdSaveSQL");
    QCOMPARE(run.lastMessage(), QString());
    run.click(QStringLiteral("QCounted"));
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.row(0), QStringLiteral("Flag|A|N"));
    QCOMPARE(run.row(1), QStringLiteral("|abcdefg|1"));
    QCOMPARE(run.row(2), QStringLiteral("|a|1"));
    QCOMPARE(w.controls().dataSheet->rows(), 3);
    QCOMPARE(w.browser().currentQueryName(), QStringLiteral("Counted"));
    QVERIFY(w.controls().sqlButtons.deleteQuery->isEnabled());
}

void FrmMainQueriesTest::savedParameterQueryAsksForItsValue() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "mdb-reader/V1997/test.mdb", "param.mdb", file);
    app::MainWindow& w = run.w();
    w.sqlWorkbench().setText(
        QStringLiteral("PARAMETERS [Which] Text(255);\r\nSELECT A FROM Table1 WHERE A = "
                       "[Which]"));
    run.dialogs.texts.enqueue(QStringLiteral("Pick"));
    run.press("cmdSaveSQL");
    QCOMPARE(run.lastMessage(), QString());
    run.dialogs.texts.enqueue(QStringLiteral("abcdefg"));
    run.click(QStringLiteral("QPick"));
    QCOMPARE(run.dialogs.asked.last().text, QStringLiteral("Enter Which"));
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.row(0), QStringLiteral("Flag|A"));
    QCOMPARE(run.row(1), QStringLiteral("|abcdefg"));
    QCOMPARE(w.controls().dataSheet->rows(), 2);
}

void FrmMainQueriesTest::existingNameShowsTheEngineDescription() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "taken.mdb", file);
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT col1 FROM Table1"));
    const QStringList keys = run.keys();
    const std::string bytes = bytesOf(file);
    for (const QString& name : {QStringLiteral("selectquery"), QStringLiteral("Table2")}) {
        run.dialogs.texts.enqueue(name);
        run.press("cmdSaveSQL");
        QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Critical);
        QCOMPARE(run.dialogs.asked.last().buttons, ui::Dialogs::Buttons::Ok);
    }
    QCOMPARE(run.messageCount(), 2);
    QCOMPARE(run.dialogs.asked[1].title + QLatin1Char('|') + run.dialogs.asked[1].text,
             QStringLiteral("Error Create Query|A query named 'selectquery' already exists in "
                            "this database."));
    QCOMPARE(run.lastMessage(), QStringLiteral("Error Create Query|A table named 'Table2' already "
                                               "exists in this database."));
    QCOMPARE(run.keys(), keys);
    QVERIFY(bytesOf(file) == bytes);
}

void FrmMainQueriesTest::refusedStatementShowsTheEngineDescription() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "refused.mdb", file);
    app::MainWindow& w = run.w();
    const QStringList keys = run.keys();
    const std::string bytes = bytesOf(file);
    // The box's initial text, a broken statement and one that changes data.
    for (const QString& sql : {w.sqlWorkbench().text(), QStringLiteral("SELECT col1 FROM"),
                               QStringLiteral("DELETE FROM Table1")}) {
        w.sqlWorkbench().setText(sql);
        run.dialogs.texts.enqueue(QStringLiteral("Refused"));
        const int before = run.messageCount();
        run.press("cmdSaveSQL");
        QCOMPARE(run.messageCount(), before + 1);
        QVERIFY(run.lastMessage().startsWith(QStringLiteral("Error Create Query|")));
        QVERIFY2(run.lastMessage().size() > QStringLiteral("Error Create Query|").size() + 5,
                 qPrintable(run.lastMessage()));
    }
    QCOMPARE(run.keys(), keys);
    QVERIFY(bytesOf(file) == bytes);
    QVERIFY(!w.browser().database()->queryDefs().find("Refused"));
}

void FrmMainQueriesTest::saveWithoutDatabaseReportsIt() {
    BrowserWindow run;
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT 1"));
    run.dialogs.texts.enqueue(QStringLiteral("Nowhere"));
    run.press("cmdSaveSQL");
    QCOMPARE(run.lastMessage(), QStringLiteral("Error Create Query|No database is open."));
}

void FrmMainQueriesTest::usedKeyStoresTheQueryWithoutNode() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "digits.mdb", file);
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT col2 FROM Table3"));
    QVERIFY(run.node(QStringLiteral("Q0")));
    const QStringList keys = run.keys();
    run.dialogs.texts.enqueue(QStringLiteral("0"));
    run.press("cmdSaveSQL");
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.keys(), keys);
    QVERIFY(queriesInFile(file).contains(QStringLiteral("0")));
}

void FrmMainQueriesTest::saveInAJet3File() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V1997/queryTestV1997.mdb", "jet3.mdb", file);
    run.w().sqlWorkbench().setText(
        QStringLiteral("SELECT DISTINCT col3 FROM Table2 WHERE col3 > 'b'"));
    run.dialogs.texts.enqueue(QStringLiteral("Old Format"));
    run.press("cmdSaveSQL");
    QCOMPARE(run.lastMessage(), QString());
    QVERIFY(run.node(QStringLiteral("QOld Format")));
    QVERIFY(queriesInFile(file).contains(QStringLiteral("Old Format")));
    run.click(QStringLiteral("QOld Format"));
    QCOMPARE(run.lastMessage(), QString());
    QCOMPARE(run.row(0), QStringLiteral("Flag|col3"));
}

void FrmMainQueriesTest::deleteAnswersOtherThanYesChangeNothing() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "keep.mdb", file);
    run.click(run.queryKey(QStringLiteral("SelectQuery")));
    QCOMPARE(run.w().browser().currentQueryName(), QStringLiteral("SelectQuery"));
    const QStringList keys = run.keys();
    const std::string bytes = bytesOf(file);
    run.dialogs.answers.enqueue(Answer::No);
    run.press("cmdDeleteSQL");
    run.dialogs.answers.enqueue(Answer::Cancel);
    run.press("cmdDeleteSQL");
    const ui::ScriptedDialogs::Asked& asked = run.dialogs.asked.last();
    QCOMPARE(asked.title, QStringLiteral("Delete Query"));
    QCOMPARE(asked.text, QStringLiteral("Are you sure you want to delete Query 'SelectQuery'?"));
    QCOMPARE(asked.icon, ui::Dialogs::Icon::Question);
    QCOMPARE(asked.buttons, ui::Dialogs::Buttons::YesNoCancel);
    QCOMPARE(run.messageCount(), 2);
    QCOMPARE(run.keys(), keys);
    QVERIFY(bytesOf(file) == bytes);
}

void FrmMainQueriesTest::deleteRemovesNodeAndQuery() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "delete.mdb", file);
    app::MainWindow& w = run.w();
    run.click(run.queryKey(QStringLiteral("SelectQuery")));
    const QString titles = run.row(0);
    run.dialogs.answers.enqueue(Answer::Yes);
    run.press("cmdDeleteSQL");
    QCOMPARE(run.messageCount(), 1);  // the confirmation only
    QVERIFY(run.queryKey(QStringLiteral("SelectQuery")).isEmpty());
    QVERIFY(!childTexts(run.node(QStringLiteral("N2"))).contains(QStringLiteral("SelectQuery")));
    QVERIFY(!queriesInFile(file).contains(QStringLiteral("SelectQuery")));
    QVERIFY(queriesInFile(file).contains(QStringLiteral("UnionQuery")));
    QVERIFY(!w.browser().database()->queryDefs().find("SelectQuery"));
    // The deleted query's SQL stays in the box but offers Delete no more.
    QVERIFY(!w.controls().sqlButtons.deleteQuery->isEnabled());
    // No neighbour is highlighted in place of the deleted node.
    QCOMPARE(w.controls().databaseTree->currentItem(), nullptr);
    QVERIFY(w.controls().databaseTree->selectedItems().isEmpty());
    QCOMPARE(run.row(0), titles);  // the sheet still shows what it showed
    // Another query still opens from the changed file.
    run.click(run.queryKey(QStringLiteral("UnionQuery")));
    QCOMPARE(w.browser().currentQueryName(), QStringLiteral("UnionQuery"));
    QCOMPARE(run.messageCount(), 1);
}

void FrmMainQueriesTest::deleteTakesTheQueryNodeNotAnEarlierFieldNode() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "fields.mdb", file);
    app::MainWindow& w = run.w();
    // "col1" is also the text of table field nodes and of query field nodes
    // that come earlier in the tree.
    w.sqlWorkbench().setText(QStringLiteral("SELECT col1 FROM Table3"));
    run.dialogs.texts.enqueue(QStringLiteral("col1"));
    run.press("cmdSaveSQL");
    QCOMPARE(run.lastMessage(), QString());
    QVERIFY(run.node(QStringLiteral("Qcol1")));
    const QStringList keysAfterSave = run.keys();
    int earlierFields = 0;
    for (const QString& key :
         keysAfterSave.mid(0, keysAfterSave.indexOf(QStringLiteral("Qcol1")))) {
        earlierFields += db::DatabaseTree::name(run.node(key)) == QLatin1String("col1") ? 1 : 0;
    }
    QVERIFY(earlierFields >= 2);

    run.click(QStringLiteral("Qcol1"));
    run.dialogs.answers.enqueue(Answer::Yes);
    run.press("cmdDeleteSQL");
    QStringList expected = keysAfterSave;
    expected.removeAll(QStringLiteral("Qcol1"));
    QCOMPARE(run.keys(), expected);
    QVERIFY(!queriesInFile(file).contains(QStringLiteral("col1")));
}

// Deleting a query that another program already took out of the file used
// to succeed silently: the node goes and the window says the query was gone.
void FrmMainQueriesTest::deleteOfAQueryAlreadyGoneSaysSo() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "gone.mdb", file);
    run.click(run.queryKey(QStringLiteral("UnionQuery")));
    QVERIFY(jet::deleteQueryDef(file, "UnionQuery").isOk());  // behind the window's back
    run.dialogs.answers.enqueue(Answer::Yes);
    run.press("cmdDeleteSQL");
    QCOMPARE(run.messageCount(), 2);
    QCOMPARE(run.lastMessage(),
             QStringLiteral("Delete Query|Query 'UnionQuery' is no longer in the database."));
    QCOMPARE(run.dialogs.asked.last().icon, ui::Dialogs::Icon::Exclamation);
    QVERIFY(run.queryKey(QStringLiteral("UnionQuery")).isEmpty());
    QVERIFY(!run.w().browser().database()->queryDefs().find("UnionQuery"));
    QVERIFY(!run.w().controls().sqlButtons.deleteQuery->isEnabled());

    // After an ordinary delete a second Delete asks nothing: the button is off.
    run.click(run.queryKey(QStringLiteral("SelectQuery")));
    QVERIFY(run.w().controls().sqlButtons.deleteQuery->isEnabled());
    run.dialogs.answers.enqueue(Answer::Yes);
    run.press("cmdDeleteSQL");
    QVERIFY(!queriesInFile(file).contains(QStringLiteral("SelectQuery")));
    const int before = run.messageCount();
    run.dialogs.answers.enqueue(Answer::Yes);
    run.press("cmdDeleteSQL");  // disabled: nothing is asked
    QCOMPARE(run.messageCount(), before);
}

// Opening another file used to leave Delete enabled for the first file's
// query (and the browser holding a node of the replaced tree).
void FrmMainQueriesTest::staleDeleteAfterOpeningAnotherFile() {
    BrowserWindow run;
    std::string first;
    std::string second;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "first.mdb", first);
    run.click(run.queryKey(QStringLiteral("SelectQuery")));
    app::MainWindow& w = run.w();
    QVERIFY(w.controls().sqlButtons.deleteQuery->isEnabled());
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "second.mdb", second);
    QVERIFY(!w.controls().sqlButtons.deleteQuery->isEnabled());
    QCOMPARE(w.browser().currentQueryName(), QString());
    QCOMPARE(w.browser().currentNode(), nullptr);
    const int before = run.messageCount();
    const std::string bytes = bytesOf(second);
    run.dialogs.answers.enqueue(Answer::Yes);
    run.press("cmdDeleteSQL");
    QCOMPARE(run.messageCount(), before);
    QVERIFY(bytesOf(second) == bytes);
    QVERIFY(queriesInFile(first).contains(QStringLiteral("SelectQuery")));
    // The new file's query offers Delete again.
    run.click(run.queryKey(QStringLiteral("SelectQuery")));
    QVERIFY(w.controls().sqlButtons.deleteQuery->isEnabled());
}

void FrmMainQueriesTest::deleteRefusedByTheEngineKeepsTheNode() {
    BrowserWindow run;
    std::string file;
    openCopy(run, "jackcess/V2000/queryTestV2000.mdb", "locked.mdb", file);
    run.click(run.queryKey(QStringLiteral("SelectQuery")));
    // A lock file says Access has the database open.
    const std::string lockFile = file.substr(0, file.size() - 4) + ".ldb";
    std::ofstream(lockFile) << "OTHERPC";
    const QStringList keys = run.keys();
    const std::string bytes = bytesOf(file);
    run.dialogs.answers.enqueue(Answer::Yes);
    run.press("cmdDeleteSQL");
    std::filesystem::remove(lockFile);
    QCOMPARE(run.messageCount(), 2);
    const ui::ScriptedDialogs::Asked& asked = run.dialogs.asked.last();
    QCOMPARE(asked.title, QStringLiteral("Delete Query"));
    QCOMPARE(asked.icon, ui::Dialogs::Icon::Critical);
    QVERIFY2(asked.text.contains(QStringLiteral(".ldb")), qPrintable(asked.text));
    QCOMPARE(run.keys(), keys);
    QVERIFY(bytesOf(file) == bytes);
    QVERIFY(run.w().browser().database()->queryDefs().find("SelectQuery"));
}

QTEST_MAIN(FrmMainQueriesTest)
#include "tst_frm_main_queries.moc"
