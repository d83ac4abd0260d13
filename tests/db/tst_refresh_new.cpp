// Refresh (F5) and New in the real window, and the analysis reset.
#include <QAction>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "browser_window.h"
#include "db/database.h"
#include "sheet/grid.h"
#include "test_files.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/tab_strip.h"

namespace {

QAction* entry(app::MainWindow& w, const char* name) {
    return w.menus().action(QString::fromLatin1(name));
}

// What Save As does to a database result before writing it.
void dropFlagColumn(app::MainWindow& w) {
    w.controls().dataSheet->setColPosition(w.sheetState().flagColumn,
                                           w.controls().dataSheet->cols() - 1);
    w.controls().dataSheet->setCols(w.controls().dataSheet->cols() - 1);
    entry(w, "mnuAddFlagCol")->setEnabled(true);
    w.controls().toolbar->button(QStringLiteral("Flag"))->setVisible(false);
    w.sheetState().flagColumnPresent = false;
}

int flagTitles(app::MainWindow& w) {
    int n = 0;
    for (int c = 0; c < w.controls().dataSheet->cols(); ++c) {
        n += w.controls().dataSheet->textMatrix(0, c) == QLatin1String("Flag") ? 1 : 0;
    }
    return n;
}

}  // namespace

class RefreshNewTest : public QObject {
    Q_OBJECT
  private slots:
    void refreshReplacesEditsAndKeepsOneFlagColumn();
    void refreshAfterSaveAddsTheFlagColumnBack();
    void refreshOutsideDatabaseModeDoesNothing();
    void refreshReportsASourceThatNoLongerOpens();
    void newPutsTheTreeAwayAndKeepsTheDatabase();
    void analysisResetRestoresTheStatisticsCommands();
};

void RefreshNewTest::refreshReplacesEditsAndKeepsOneFlagColumn() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString row1 = run.row(1);
    w.controls().dataSheet->setTextMatrix(1, 2, QStringLiteral("changed"));
    w.controls().dataSheet->setCellPicture(1, 0, 1, 0, w.controls().pictures.flag);
    w.controls().dataSheet->setTextMatrix(1, 0, QStringLiteral(" "));
    entry(w, "mnuRefresh")->trigger();
    QCOMPARE(run.row(1), row1);
    QCOMPARE(flagTitles(w), 1);
    QCOMPARE(w.controls().dataSheet->textMatrix(0, 0), QStringLiteral("Flag"));
    QVERIFY(w.sheetState().flagColumnPresent);
    QCOMPARE(w.controls().dataSheet->cols(), 10);
    QCOMPARE(run.messageCount(), 0);
    QVERIFY(run.desktop.pointerHistory.contains(ui::Desktop::Pointer::Busy));
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

void RefreshNewTest::refreshAfterSaveAddsTheFlagColumnBack() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    dropFlagColumn(w);
    QCOMPARE(flagTitles(w), 0);
    entry(w, "mnuRefresh")->trigger();
    QCOMPARE(flagTitles(w), 1);
    QCOMPARE(w.controls().dataSheet->textMatrix(0, 0), QStringLiteral("Flag"));
    QVERIFY(w.sheetState().flagColumnPresent);
    QVERIFY(!entry(w, "mnuAddFlagCol")->isEnabled());
    QVERIFY(w.controls().toolbar->button(QStringLiteral("Flag"))->isVisible());
}

void RefreshNewTest::refreshOutsideDatabaseModeDoesNothing() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    entry(w, "mnuNew")->trigger();  // file mode: the database stays open
    QVERIFY(w.browser().database());
    sheet::Grid& sheet = *w.controls().dataSheet;
    sheet.setRows(std::max(sheet.rows(), 2));
    sheet.setCols(std::max(sheet.cols(), 2));
    sheet.setTextMatrix(1, 1, QStringLiteral("mine"));
    entry(w, "mnuRefresh")->trigger();
    QCOMPARE(w.controls().dataSheet->textMatrix(1, 1), QStringLiteral("mine"));
    QCOMPARE(run.desktop.pointerHistory.last(), ui::Desktop::Pointer::Default);
}

void RefreshNewTest::refreshReportsASourceThatNoLongerOpens() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.browser().dataControl().setRecordSource("NoSuchTable");
    w.controls().dataSheet->setTextMatrix(1, 1, QStringLiteral("mine"));
    entry(w, "mnuRefresh")->trigger();
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")));
    QCOMPARE(w.controls().dataSheet->textMatrix(1, 1), QStringLiteral("mine"));
    QCOMPARE(flagTitles(w), 1);
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

void RefreshNewTest::newPutsTheTreeAwayAndKeepsTheDatabase() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString caption = w.windowTitle();
    const int rows = w.controls().dataSheet->rows();
    const int cols = w.controls().dataSheet->cols();
    entry(w, "mnuNew")->trigger();
    QVERIFY(w.controls().databaseTree->isHidden());
    QVERIFY(w.controls().captionPanel->isVisible());
    QCOMPARE(w.sqlWorkbench().text(), QString());
    QCOMPARE(w.controls().dataSheet->rows(), rows);
    QCOMPARE(w.controls().dataSheet->cols(), cols);
    for (int r = 0; r < rows; ++r) {
        QCOMPARE(run.row(r), QString(cols - 1, QLatin1Char('|')));
    }
    QCOMPARE(int(w.files().openFileType()), 0);
    QVERIFY(!w.sheetState().flagColumnPresent);
    QVERIFY(!w.controls().tabStrip->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(!w.controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(!w.controls().toolbar->button(QStringLiteral("Flag"))->isVisible());
    QVERIFY(entry(w, "mnuAddFlagCol")->isEnabled());
    QCOMPARE(w.windowTitle(), caption);
    QVERIFY(w.browser().database() && w.browser().database()->isOpen());
    QCOMPARE(QString::fromStdString(w.browser().dataControl().recordSource()),
             QStringLiteral("Table1"));
    QCOMPARE(w.controls().formView->rows(), cols + 1);
    w.controls().dataSheet->setTextMatrix(1, 1, QStringLiteral("typed"));
    entry(w, "mnuRefresh")->trigger();  // file mode now: nothing happens
    QCOMPARE(w.controls().dataSheet->textMatrix(1, 1), QStringLiteral("typed"));
}

void RefreshNewTest::analysisResetRestoresTheStatisticsCommands() {
    BrowserWindow run;
    app::MainWindow& w = run.w();
    w.controls().tabStrip->setTabVisible(ui::TabStrip::ColumnStatistics, true);
    w.controls().toolbar->button(QStringLiteral("Barchart"))->setVisible(true);
    entry(w, "mnuBarChart")->setEnabled(true);
    w.controls().toolbar->setPressed(QStringLiteral("Statistics"), true);
    entry(w, "mnuAnalysis")->setEnabled(false);
    w.statistics().reset();
    QVERIFY(!w.controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(!w.controls().toolbar->button(QStringLiteral("Barchart"))->isVisible());
    QVERIFY(!entry(w, "mnuBarChart")->isEnabled());
    QVERIFY(!w.controls().toolbar->isPressed(QStringLiteral("Statistics")));
    QVERIFY(entry(w, "mnuAnalysis")->isEnabled());
}

QTEST_MAIN(RefreshNewTest)
#include "tst_refresh_new.moc"
