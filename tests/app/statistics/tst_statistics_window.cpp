// The Column Statistics command and the instant bar chart in the real main
// window: the statistics grid's text cell by cell, the bars, the states the
// commands leave and both resets.
#include <QAction>
#include <QProgressBar>
#include <QTest>

#include "analysis/statistics_grid_text.h"
#include "sheet/grid.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

using sheet::CellSetting;

QAction* entry(app::MainWindow& w, const char* name) {
    return w.menus().action(QString::fromLatin1(name));
}

// Column 0 numeric with `values`, column 1 a text column.
void fillSheet(sheet::Grid& fa, const QStringList& values) {
    fa.setCols(2);
    fa.setRows(int(values.size()) + 1);
    fa.setTextMatrix(0, 0, QStringLiteral("Amount"));
    fa.setTextMatrix(0, 1, QStringLiteral("Name"));
    fa.setColDataType(1, 8);
    for (int r = 0; r < values.size(); ++r) {
        fa.setTextMatrix(r + 1, 0, values[r]);
        fa.setTextMatrix(r + 1, 1, QStringLiteral("n%1").arg(r));
    }
    fa.setCol(0);
}

double barPercent(sheet::Grid& g, int row, int col) {
    return g.cell(CellSetting::BarFillPercent, row, col).toDouble();
}
uint barColour(sheet::Grid& g, int row, int col) {
    return g.cell(CellSetting::BarColor, row, col).toUInt();
}

}  // namespace

class StatisticsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void gridTextCellByCell();
    void runLeavesComputedState();
    void nonNumericColumnShowsThreeRows();
    void displayFollowsCurrentColumnWithoutRecomputing();
    void barChartDrawsAndRemoves_data();
    void barChartDrawsAndRemoves();
    void equalValuesDrawNothing();
    void sheetWithoutDataRowsCompletes();
    void resetsAndToolbar();
    void statisticsGridFocusDisablesCut();

  private:
    app::MemoryFileSystem* fs_ = nullptr;
    WindowRun* run_ = nullptr;
    app::MainWindow* w_ = nullptr;
};

void StatisticsWindowTest::init() {
    fs_ = new app::MemoryFileSystem;
    run_ = new WindowRun(*fs_);
    w_ = &run_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
}

void StatisticsWindowTest::cleanup() {
    delete run_;
    delete fs_;
}

void StatisticsWindowTest::gridTextCellByCell() {
    fillSheet(*w_->controls().dataSheet, {"1", "2", "3", "4", "5"});
    entry(*w_, "mnuAnalysis")->trigger();
    sheet::Grid& fs = *w_->controls().statisticsGrid;
    const QString rule = QStringLiteral(
        "--------------------+--------------------+--------------------+--------------------+");
    const QStringList labels = {
        "Statistics",          "Column Name",      "Count", "Max",    "Min", "Total",  "Average",
        "Standard Deviation",  "Interval",         " +",    "Max | ", "| ",  "| ",     "| ",
        "Ten - Interval   | ", "Histogram     | ", "| ",    "| ",     "| ",  "Min | ", " +"};
    const QStringList values = {
        "Value", "Amount", "5", "5", "1", "15", "3.00", "1.41", "(Max-Min)/10 = 0.4",
        rule,    "1",      "0", "1", "0", "0",  "1",    "0",    "1",
        "0",     "1",      rule};
    QCOMPARE(fs.rows(), 21);
    QCOMPARE(fs.cols(), 2);
    for (int r = 0; r < 21; ++r) {
        QCOMPARE(fs.textMatrix(r, 0), labels[r]);
        QCOMPARE(fs.textMatrix(r, 1), values[r]);
    }
    QCOMPARE(fs.cell(CellSetting::BackColor, 0, 0).toUInt(), 0x008000u);
    QCOMPARE(fs.cell(CellSetting::Alignment, 3, 0).toInt(), 7);
    QCOMPARE(fs.cell(CellSetting::Alignment, 3, 1).toInt(), 1);
    for (int r = 9; r <= 20; ++r) {
        QCOMPARE(barColour(fs, r, 1), 0xFF00FFu);
        const bool full = r == 10 || r == 12 || r == 15 || r == 17 || r == 19;
        QCOMPARE(barPercent(fs, r, 1), full ? 100.0 : 0.0);
    }
}

void StatisticsWindowTest::runLeavesComputedState() {
    fillSheet(*w_->controls().dataSheet, {"2", "4", "8"});
    entry(*w_, "mnuAnalysis")->trigger();
    QVERIFY(!entry(*w_, "mnuAnalysis")->isEnabled());
    QVERIFY(w_->controls().toolbar->isPressed(QStringLiteral("Statistics")));
    QVERIFY(w_->controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QCOMPARE(w_->controls().tabStrip->currentPage(), int(ui::TabStrip::ColumnStatistics));
    QVERIFY(w_->controls().toolbar->button(QStringLiteral("Barchart"))->isVisible());
    QVERIFY(entry(*w_, "mnuBarChart")->isEnabled());
    QVERIFY(!w_->controls().progressBar->isVisible());
    // The run toggled the current column's bar chart on.
    QCOMPARE(barColour(*w_->controls().dataSheet, 1, 0), 255u);
    QCOMPARE(barPercent(*w_->controls().dataSheet, 1, 0), 25.0);
    QCOMPARE(barPercent(*w_->controls().dataSheet, 2, 0), 50.0);
    QCOMPARE(barPercent(*w_->controls().dataSheet, 3, 0), 100.0);
    QCOMPARE(w_->statistics().store().size(), 2);
}

void StatisticsWindowTest::nonNumericColumnShowsThreeRows() {
    fillSheet(*w_->controls().dataSheet, {"4", "", "n/a"});
    w_->controls().dataSheet->setCol(1);
    entry(*w_, "mnuAnalysis")->trigger();
    QCOMPARE(w_->controls().statisticsGrid->rows(), 3);
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(1, 1), QStringLiteral("Name"));
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(2, 1), QStringLiteral("3"));
    // No chart on a text column.
    QVERIFY(barColour(*w_->controls().dataSheet, 1, 1) != 255u);
}

void StatisticsWindowTest::displayFollowsCurrentColumnWithoutRecomputing() {
    fillSheet(*w_->controls().dataSheet, {"4", "", "n/a"});
    w_->controls().dataSheet->setCol(1);
    entry(*w_, "mnuAnalysis")->trigger();
    w_->controls().dataSheet->setTextMatrix(1, 0, QStringLiteral("40"));  // edits change nothing
    w_->controls().dataSheet->setCol(0);
    w_->runSheetUpdate();
    QCOMPARE(w_->controls().statisticsGrid->rows(), 21);
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(2, 1), QStringLiteral("3"));
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(3, 1), QStringLiteral("4"));
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(4, 1), QStringLiteral("0"));
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(6, 1), QStringLiteral("1.33"));
}

void StatisticsWindowTest::barChartDrawsAndRemoves_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QList<double>>("percents");
    QTest::newRow("from zero") << QStringList{"2", "4", "8"} << QList<double>{25, 50, 100};
    QTest::newRow("from minimum") << QStringList{"-10", "0", "10"} << QList<double>{0, 50, 100};
    QTest::newRow("12kg and 1,234")
        << QStringList{"12kg", "1,234", "6"} << QList<double>{100, 100.0 / 12, 50};
}

void StatisticsWindowTest::barChartDrawsAndRemoves() {
    QFETCH(QStringList, values);
    QFETCH(QList<double>, percents);
    fillSheet(*w_->controls().dataSheet, values);
    entry(*w_, "mnuAnalysis")->trigger();  // draws once
    for (int r = 1; r <= values.size(); ++r) {
        QCOMPARE(barColour(*w_->controls().dataSheet, r, 0), 255u);
        QCOMPARE(barPercent(*w_->controls().dataSheet, r, 0), percents[r - 1]);
    }
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(barColour(*w_->controls().dataSheet, 1, 0), 0xFFFFFFu);
    for (int r = 1; r <= values.size(); ++r) {
        QCOMPARE(barPercent(*w_->controls().dataSheet, r, 0), 0.0);
        if (r > 1) {
            QCOMPARE(barColour(*w_->controls().dataSheet, r, 0), 255u);
        }
    }
    entry(*w_, "mnuBarChart")->trigger();  // and back again
    QCOMPARE(barPercent(*w_->controls().dataSheet, values.size(), 0), percents.last());
}

void StatisticsWindowTest::equalValuesDrawNothing() {
    fillSheet(*w_->controls().dataSheet, {"5", "5", "5"});
    entry(*w_, "mnuAnalysis")->trigger();
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(7, 1), QStringLiteral("0.00"));
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(19, 1), QStringLiteral("3"));
    QVERIFY(barColour(*w_->controls().dataSheet, 1, 0) != 255u);
    QCOMPARE(barPercent(*w_->controls().dataSheet, 1, 0), 0.0);
}

void StatisticsWindowTest::sheetWithoutDataRowsCompletes() {
    fillSheet(*w_->controls().dataSheet, {});
    entry(*w_, "mnuAnalysis")->trigger();
    QVERIFY(!entry(*w_, "mnuAnalysis")->isEnabled());
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(2, 1), QStringLiteral("0"));
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(6, 1), QStringLiteral("0.00"));
}

void StatisticsWindowTest::resetsAndToolbar() {
    fillSheet(*w_->controls().dataSheet, {"1", "2", "3", "4", "5"});
    w_->controls().toolbar->button(QStringLiteral("Statistics"))->trigger();
    QVERIFY(!entry(*w_, "mnuAnalysis")->isEnabled());
    // Pressed again while the command is put away: nothing runs, the
    // button stays pressed.
    w_->controls().toolbar->button(QStringLiteral("Statistics"))->trigger();
    QVERIFY(w_->controls().toolbar->isPressed(QStringLiteral("Statistics")));
    QCOMPARE(barColour(*w_->controls().dataSheet, 1, 0), 255u);

    w_->statistics().resetOnShapeChange();
    QVERIFY(entry(*w_, "mnuAnalysis")->isEnabled());
    QVERIFY(!w_->controls().toolbar->isPressed(QStringLiteral("Statistics")));
    QVERIFY(!w_->controls().toolbar->button(QStringLiteral("Barchart"))->isVisible());
    QVERIFY(!entry(*w_, "mnuBarChart")->isEnabled());
    QVERIFY(w_->controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QCOMPARE(w_->controls().statisticsGrid->textMatrix(5, 1),
             QStringLiteral("15"));  // old figures stay

    w_->statistics().reset();
    QVERIFY(!w_->controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(entry(*w_, "mnuAnalysis")->isEnabled());
}

void StatisticsWindowTest::statisticsGridFocusDisablesCut() {
    fillSheet(*w_->controls().dataSheet, {"1", "2"});
    entry(*w_, "mnuAnalysis")->trigger();
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_));
    w_->controls().dataSheet->setFocus();
    QTRY_VERIFY(entry(*w_, "mnuEditCut")->isEnabled());
    w_->controls().statisticsGrid->setFocus();
    QTRY_VERIFY(!entry(*w_, "mnuEditCut")->isEnabled());
}

QTEST_MAIN(StatisticsWindowTest)
#include "tst_statistics_window.moc"
