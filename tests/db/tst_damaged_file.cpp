// A table of a damaged file in the real window, clicked or read by a
// statement in the SQL box: the read fails, the user is asked "Show the rows
// that can be read?", and Yes shows every row that can be read and says what
// was left out; No leaves the sheet as it was.
#include <QAction>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "browser_window.h"
#include "db/database_tree.h"
#include "jet/database.h"
#include "sheet/grid.h"
#include "ui/main_menus.h"

namespace {

const std::string kShop = std::string(TABLESCOPE_SAMPLES) + "/shop.mdb";
constexpr int kOrders = 830;
constexpr std::size_t kPageSize = 4096;

// Data pages of `table` in the intact file, each with the rows it holds.
std::map<uint32_t, int> rowsPerPage(const std::string& table) {
    std::map<uint32_t, int> pages;
    auto db = jet::Database::open(kShop);
    if (!db) {
        qFatal("cannot open %s: %s", kShop.c_str(), db.status().message().c_str());
    }
    auto cursor = (*db)->openTable(table);
    while (cursor && (*cursor)->next()) {
        ++pages[uint32_t((*cursor)->rowId() >> 8)];
    }
    return pages;
}

std::vector<char> shopBytes() {
    std::ifstream in(kShop, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string writeScratch(const std::vector<char>& bytes, const char* name) {
    const auto path = std::filesystem::temp_directory_path() /
                      (std::to_string(QCoreApplication::applicationPid()) + "-" + name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path.string();
}

QString tableKey(const BrowserWindow& run, const QString& name) {
    QTreeWidgetItem* tables = run.node(QStringLiteral("N1"));
    for (int i = 0; tables && i < tables->childCount(); ++i) {
        if (tables->child(i)->text(0) == name) {
            return db::DatabaseTree::key(tables->child(i));
        }
    }
    return {};
}

int dataRows(const BrowserWindow& run) {
    return run.w().controls().dataSheet->rows() - 1;
}

// The messages asked so far, from the `from`th on.
QList<ui::ScriptedDialogs::Asked> messagesFrom(const BrowserWindow& run, int from) {
    QList<ui::ScriptedDialogs::Asked> out;
    for (const auto& asked : run.dialogs.asked) {
        if (asked.kind == QLatin1String("message") && from-- <= 0) {
            out.append(asked);
        }
    }
    return out;
}

}  // namespace

class DamagedFileTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void truncatedTableShowsTheRowsThatCanBeRead();
    void answeringNoLeavesTheSheetAsItWas();
    void zeroedPageInTheMiddleIsReadPast();
    void refreshReadsPastTheDamageAgainAndSays();
    void unreadableDefinitionIsNotOffered();
    void typedSqlOffersToShowTheRowsThatCanBeRead();
    void typedSqlAnsweredNoSaysWhatIsDamaged();

  private:
    std::map<uint32_t, int> orderPages_;
    std::string truncated_;  // Orders' later pages cut off; Categories intact
    uint32_t cut_ = 0;
};

void DamagedFileTest::initTestCase() {
    orderPages_ = rowsPerPage("Orders");
    int total = 0;
    for (const auto& [page, rows] : orderPages_) {
        total += rows;
    }
    QCOMPARE(total, kOrders);
    QVERIFY(orderPages_.size() > 4);
    // Cut just before the middle page of Orders: the first half stays.
    auto middle = orderPages_.begin();
    std::advance(middle, orderPages_.size() / 2);
    cut_ = middle->first;
    QVERIFY(rowsPerPage("Categories").rbegin()->first < cut_);
    std::vector<char> bytes = shopBytes();
    bytes.resize(std::size_t(cut_) * kPageSize);
    truncated_ = writeScratch(bytes, "truncated.mdb");
}

void DamagedFileTest::truncatedTableShowsTheRowsThatCanBeRead() {
    BrowserWindow run;
    QVERIFY(run.open(truncated_));
    const int before = run.messageCount();
    run.dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    run.click(tableKey(run, QStringLiteral("Orders")));

    int readable = 0;
    for (const auto& [page, rows] : orderPages_) {
        readable += page < cut_ ? rows : 0;
    }
    QCOMPARE(dataRows(run), readable);
    const auto messages = messagesFrom(run, before);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].icon, ui::Dialogs::Icon::Question);
    QCOMPARE(messages[0].buttons, ui::Dialogs::Buttons::YesNoCancel);
    QVERIFY2(messages[0].text.startsWith(QStringLiteral("Table 'Orders'")),
             qPrintable(messages[0].text));
    QVERIFY(messages[0].text.endsWith(QStringLiteral("\r\n\r\nShow the rows that can be read?")));
    // What was skipped: the count, then each page past the end.
    const QString& report = messages[1].text;
    QCOMPARE(messages[1].icon, ui::Dialogs::Icon::Exclamation);
    QVERIFY2(report.startsWith(QStringLiteral("Only the rows that could be read are shown.")),
             qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("Table 'Orders': skipped ")));
    QVERIFY2(report.contains(QStringLiteral("Table 'Orders': page %1 skipped: it lies past the "
                                            "end of the file.")
                                 .arg(orderPages_.rbegin()->first)),
             qPrintable(report));
    QCOMPARE(run.w().controls().dataSheet->textMatrix(0, 1), QStringLiteral("OrderID"));
}

void DamagedFileTest::answeringNoLeavesTheSheetAsItWas() {
    BrowserWindow run;
    QVERIFY(run.open(truncated_));
    const int categories = dataRows(run);
    QVERIFY(categories > 0);
    const int before = run.messageCount();
    run.dialogs.answers.enqueue(ui::Dialogs::Answer::No);
    run.click(tableKey(run, QStringLiteral("Orders")));
    QCOMPARE(dataRows(run), categories);
    QCOMPARE(run.w().browser().dataControl().recordSource(), std::string("Categories"));
    QVERIFY(!run.w().browser().dataControl().salvaging());
    const auto messages = messagesFrom(run, before);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[1].title, QStringLiteral("SQL Error"));
    QVERIFY(messages[1].text.contains(QStringLiteral("past the end of the file")));
}

// The page fails after earlier pages filled the sheet: Yes reads the table
// again, past the page, to its end.
void DamagedFileTest::zeroedPageInTheMiddleIsReadPast() {
    auto middle = orderPages_.begin();
    std::advance(middle, orderPages_.size() / 2);
    std::vector<char> bytes = shopBytes();
    std::fill_n(bytes.begin() + std::ptrdiff_t(middle->first * kPageSize), kPageSize, 0);
    const std::string zeroed = writeScratch(bytes, "zeroed.mdb");

    BrowserWindow run;
    QVERIFY(run.open(zeroed));
    const int before = run.messageCount();
    run.dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    run.click(tableKey(run, QStringLiteral("Orders")));
    QCOMPARE(dataRows(run), kOrders - middle->second);
    const auto messages = messagesFrom(run, before);
    QCOMPARE(messages.size(), 2);
    QVERIFY2(messages[0].text.contains(QString::number(middle->first)),
             qPrintable(messages[0].text));
    QVERIFY(messages[1].text.contains(
        QStringLiteral("Table 'Orders': skipped 1 page, 0 row slots, 0 long values.")));
    QVERIFY(messages[1].text.contains(
        QStringLiteral("Table 'Orders': page %1 skipped: ").arg(middle->first)));
}

void DamagedFileTest::refreshReadsPastTheDamageAgainAndSays() {
    BrowserWindow run;
    QVERIFY(run.open(truncated_));
    run.dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    run.click(tableKey(run, QStringLiteral("Orders")));
    const int shown = dataRows(run);
    QVERIFY(shown > 0 && shown < kOrders);
    const int before = run.messageCount();
    run.w().menus().action(QStringLiteral("mnuRefresh"))->trigger();
    QCOMPARE(dataRows(run), shown);
    const auto messages = messagesFrom(run, before);
    QCOMPARE(messages.size(), 1);  // no second question
    QVERIFY(messages[0].text.startsWith(QStringLiteral("Only the rows that could be read")));

    // Another table is read strictly again.
    run.click(tableKey(run, QStringLiteral("Categories")));
    QVERIFY(!run.w().browser().dataControl().salvaging());
}

// Nothing of a table whose definition cannot be read can be shown: its error
// comes at once, without the question.
void DamagedFileTest::unreadableDefinitionIsNotOffered() {
    auto engine = jet::Database::open(kShop);
    QVERIFY(engine.isOk());
    const uint32_t tdef = (*engine)->findTable("Products")->tdefPage;
    std::vector<char> bytes = shopBytes();
    bytes[std::size_t(tdef) * kPageSize] = 0;
    const std::string damaged = writeScratch(bytes, "definition.mdb");

    BrowserWindow run;
    QVERIFY(run.open(damaged));
    const int before = run.messageCount();
    run.dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    run.click(tableKey(run, QStringLiteral("Products")));
    const auto messages = messagesFrom(run, before);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("SQL Error"));
    QVERIFY(messages[0].text.contains(QStringLiteral("Table 'Products'")));

    // Nor when a statement in the SQL box reads it.
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT * FROM Products"));
    run.press("cmdRun");
    const auto typed = messagesFrom(run, before + 1);
    QCOMPARE(typed.size(), 1);
    QCOMPARE(typed[0].title, QStringLiteral("SQL Error"));
    QVERIFY2(typed[0].text.contains(QStringLiteral("Table 'Products'")), qPrintable(typed[0].text));
}

// A statement typed in the SQL box meets the damage as a click on the table
// does: the same question, and Yes shows the rows that can be read.
void DamagedFileTest::typedSqlOffersToShowTheRowsThatCanBeRead() {
    BrowserWindow run;
    QVERIFY(run.open(truncated_));
    const int before = run.messageCount();
    run.dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT OrderID, Freight FROM Orders"));
    run.press("cmdRun");

    int readable = 0;
    for (const auto& [page, rows] : orderPages_) {
        readable += page < cut_ ? rows : 0;
    }
    QCOMPARE(dataRows(run), readable);
    QCOMPARE(run.row(0), QStringLiteral("Flag|OrderID|Freight"));
    QVERIFY(run.w().browser().dataControl().salvaging());
    const auto messages = messagesFrom(run, before);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].icon, ui::Dialogs::Icon::Question);
    QVERIFY2(messages[0].text.startsWith(QStringLiteral("Table 'Orders': its data pages %1")
                                             .arg(orderPages_.lower_bound(cut_)->first)),
             qPrintable(messages[0].text));
    QVERIFY(messages[0].text.endsWith(QStringLiteral("\r\n\r\nShow the rows that can be read?")));
    QVERIFY2(
        messages[1].text.startsWith(QStringLiteral("Only the rows that could be read are shown.")),
        qPrintable(messages[1].text));
    QVERIFY(messages[1].text.contains(QStringLiteral("Table 'Orders': skipped ")));
}

// No: the statement's error as for any engine error, naming what is damaged.
void DamagedFileTest::typedSqlAnsweredNoSaysWhatIsDamaged() {
    BrowserWindow run;
    QVERIFY(run.open(truncated_));
    const int categories = dataRows(run);
    const int before = run.messageCount();
    run.dialogs.answers.enqueue(ui::Dialogs::Answer::No);
    run.w().sqlWorkbench().setText(QStringLiteral("SELECT Count(*) AS N FROM Orders"));
    run.press("cmdRun");
    QCOMPARE(dataRows(run), categories);
    QVERIFY(!run.w().browser().dataControl().salvaging());
    const auto messages = messagesFrom(run, before);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].icon, ui::Dialogs::Icon::Question);
    QCOMPARE(messages[1].title, QStringLiteral("SQL Error"));
    QVERIFY2(messages[1].text.startsWith(
                 QStringLiteral("Invalid SQL statement.\r\nTable 'Orders': its data pages ")),
             qPrintable(messages[1].text));
    QVERIFY(messages[1].text.contains(QStringLiteral("past the end of the file")));
}

QTEST_MAIN(DamagedFileTest)
#include "tst_damaged_file.moc"
