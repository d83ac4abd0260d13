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

QAction* entry(frmMain& w, const char* name) {
    return w.menus->action(QString::fromLatin1(name));
}

// What Save As does to a database result before writing it.
void dropFlagColumn(frmMain& w) {
    w.fa->setColPosition(w.sheetState.flagColumn, w.fa->cols() - 1);
    w.fa->setCols(w.fa->cols() - 1);
    entry(w, "mnuAddFlagCol")->setEnabled(true);
    w.Toolbar->button(QStringLiteral("Flag"))->setVisible(false);
    w.sheetState.flagColumnPresent = false;
}

int flagTitles(frmMain& w) {
    int n = 0;
    for (int c = 0; c < w.fa->cols(); ++c) {
        n += w.fa->textMatrix(0, c) == QLatin1String("Flag") ? 1 : 0;
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
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString row1 = run.row(1);
    w.fa->setTextMatrix(1, 2, QStringLiteral("changed"));
    w.fa->setCellPicture(1, 0, 1, 0, w.ImgFlag[0]);
    w.fa->setTextMatrix(1, 0, QStringLiteral(" "));
    entry(w, "mnuRefresh")->trigger();
    QCOMPARE(run.row(1), row1);
    QCOMPARE(flagTitles(w), 1);
    QCOMPARE(w.fa->textMatrix(0, 0), QStringLiteral("Flag"));
    QVERIFY(w.sheetState.flagColumnPresent);
    QCOMPARE(w.fa->cols(), 10);
    QCOMPARE(run.messageCount(), 0);
    QVERIFY(run.desktop.pointerHistory.contains(ui::Desktop::Pointer::Busy));
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

void RefreshNewTest::refreshAfterSaveAddsTheFlagColumnBack() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    dropFlagColumn(w);
    QCOMPARE(flagTitles(w), 0);
    entry(w, "mnuRefresh")->trigger();
    QCOMPARE(flagTitles(w), 1);
    QCOMPARE(w.fa->textMatrix(0, 0), QStringLiteral("Flag"));
    QVERIFY(w.sheetState.flagColumnPresent);
    QVERIFY(!entry(w, "mnuAddFlagCol")->isEnabled());
    QVERIFY(w.Toolbar->button(QStringLiteral("Flag"))->isVisible());
}

void RefreshNewTest::refreshOutsideDatabaseModeDoesNothing() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.openFileType = 0;
    w.fa->setTextMatrix(1, 1, QStringLiteral("mine"));
    entry(w, "mnuRefresh")->trigger();
    QCOMPARE(w.fa->textMatrix(1, 1), QStringLiteral("mine"));
    QCOMPARE(run.desktop.pointerHistory.last(), ui::Desktop::Pointer::Default);
}

void RefreshNewTest::refreshReportsASourceThatNoLongerOpens() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    w.Data1.setRecordSource("NoSuchTable");
    w.fa->setTextMatrix(1, 1, QStringLiteral("mine"));
    entry(w, "mnuRefresh")->trigger();
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("SQL Error|Invalid SQL statement.\r\n")));
    QCOMPARE(w.fa->textMatrix(1, 1), QStringLiteral("mine"));
    QCOMPARE(flagTitles(w), 1);
    QCOMPARE(run.desktop.pointer(), ui::Desktop::Pointer::Default);
}

void RefreshNewTest::newPutsTheTreeAwayAndKeepsTheDatabase() {
    BrowserWindow run;
    frmMain& w = run.w();
    QVERIFY(run.open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const QString caption = w.windowTitle();
    const int rows = w.fa->rows();
    const int cols = w.fa->cols();
    entry(w, "mnuNew")->trigger();
    QVERIFY(w.TreeView1->isHidden());
    QVERIFY(w.VTPan->isVisible());
    QCOMPARE(w.SqlText(), QString());
    QCOMPARE(w.fa->rows(), rows);
    QCOMPARE(w.fa->cols(), cols);
    for (int r = 0; r < rows; ++r) {
        QCOMPARE(run.row(r), QString(cols - 1, QLatin1Char('|')));
    }
    QCOMPARE(w.openFileType, 0);
    QVERIFY(!w.sheetState.flagColumnPresent);
    QVERIFY(!w.TabStrip1->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(!w.TabStrip1->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(!w.Toolbar->button(QStringLiteral("Flag"))->isVisible());
    QVERIFY(entry(w, "mnuAddFlagCol")->isEnabled());
    QCOMPARE(w.windowTitle(), caption);
    QVERIFY(w.openDb && w.openDb->isOpen());
    QCOMPARE(QString::fromStdString(w.Data1.recordSource()), QStringLiteral("Table1"));
    QCOMPARE(w.fb->rows(), cols + 1);
    w.fa->setTextMatrix(1, 1, QStringLiteral("typed"));
    entry(w, "mnuRefresh")->trigger();  // file mode now: nothing happens
    QCOMPARE(w.fa->textMatrix(1, 1), QStringLiteral("typed"));
}

void RefreshNewTest::analysisResetRestoresTheStatisticsCommands() {
    BrowserWindow run;
    frmMain& w = run.w();
    w.TabStrip1->setTabVisible(ui::TabStrip::ColumnStatistics, true);
    w.Toolbar->button(QStringLiteral("Barchart"))->setVisible(true);
    entry(w, "mnuBarChart")->setEnabled(true);
    w.Toolbar->setPressed(QStringLiteral("Statistics"), true);
    entry(w, "mnuAnalysis")->setEnabled(false);
    w.AnalysisReset();
    QVERIFY(!w.TabStrip1->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(!w.Toolbar->button(QStringLiteral("Barchart"))->isVisible());
    QVERIFY(!entry(w, "mnuBarChart")->isEnabled());
    QVERIFY(!w.Toolbar->isPressed(QStringLiteral("Statistics")));
    QVERIFY(entry(w, "mnuAnalysis")->isEnabled());
}

QTEST_MAIN(RefreshNewTest)
#include "tst_refresh_new.moc"
