// frmMain: the Column Statistics command, the statistics display in fs, the
// instant bar chart toggle and the two analysis states they leave behind.
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QHeaderView>
#include <QProgressBar>
#include <QStyle>

#include <algorithm>

#include "analysis/bar_chart.h"
#include "analysis/sheet_column_source.h"
#include "analysis/sheet_statistics_source.h"
#include "analysis/statistics_grid_text.h"
#include "analysis/statistics_run.h"
#include "app/frm_main.h"
#include "sheet/grid.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/tab_strip.h"

namespace {

using analysis::StatisticsGridText;

constexpr int kProgressSteps = 1000;

// Shows a run on the window: hourglass and progress bar per numeric column,
// the bar chart offered, and one pause for window events between a column's
// two passes (user input waits until the run is over).
class WindowRunObserver : public analysis::StatisticsRunObserver {
  public:
    WindowRunObserver(QProgressBar& bar, QAction& barChartEntry, QAction& barChartButton,
                      ui::Desktop& desktop)
        : bar_(bar), entry_(barChartEntry), button_(barChartButton), desktop_(desktop) {}

    void columnStarted(int) override {
        desktop_.setPointer(ui::Desktop::Pointer::Busy);
        bar_.setRange(0, kProgressSteps);
        bar_.setValue(0);
        shown_ = 0;
        bar_.setVisible(true);
    }
    void rowDone(int row, int rows) override {
        const int value = rows > 0 ? int(qint64(row) * kProgressSteps / rows) : kProgressSteps;
        if (value != shown_) {  // a repaint per step, not per row
            shown_ = value;
            bar_.setValue(value);
        }
    }
    void columnDone(int) override {
        button_.setVisible(true);
        entry_.setEnabled(true);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        bar_.setVisible(false);
    }

  private:
    QProgressBar& bar_;
    QAction& entry_;
    QAction& button_;
    ui::Desktop& desktop_;
    int shown_ = 0;
};

QAction* menuEntry(ui::MainMenus* menus, const char* name) {
    return menus->action(QString::fromLatin1(name));
}

// The width in pixels the two columns of fs can share: the frame and, when
// the rows do not fit, the vertical scroll bar are left out.
int usableWidth(const sheet::Grid& fs) {
    const int frame = 2 * fs.frameWidth();
    const QHeaderView* titles = fs.horizontalHeader();
    const int titleHeight = titles->isVisible() ? titles->sizeHint().height() : 0;
    int width = fs.width() - frame;
    if (fs.verticalHeader()->length() > fs.height() - frame - titleHeight) {
        width -= fs.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &fs);
    }
    return width;
}

// The widest text of a column below the title row, in pixels with the
// cell's margins; the rules of the histogram are drawing, not values, and
// may be cut.
int widestText(const sheet::Grid& fs, int col) {
    constexpr int kMargins = 10;
    const QFontMetrics metrics(fs.font());
    const QString rule = StatisticsGridText::rule();
    int widest = 0;
    for (int r = 1; r < fs.rows(); ++r) {
        const QString text = fs.textMatrix(r, col);
        if (text != rule) {
            widest = std::max(widest, metrics.horizontalAdvance(text));
        }
    }
    return widest + kMargins;
}

// The label column keeps its width unless a label needs more (the twips
// were chosen for a smaller font than this desktop's); the value column fills
// the rest of the control, or more when a value needs it, so that no figure
// is cut off: the grid then scrolls sideways.
void fitStatisticsColumns(sheet::Grid& fs, const frmMain& w) {
    const int labels =
        std::max(w.toPixelsX(StatisticsGridText::kLabelColumnWidth), widestText(fs, 0));
    const int values = std::max(usableWidth(fs) - labels, widestText(fs, 1));
    fs.setColWidth(0, w.toTwipsX(labels) + 1);
    if (values > 0) {
        fs.setColWidth(1, w.toTwipsX(values));
    }
}

}  // namespace

void frmMain::connectStatisticsHandlers() {
    connect(menuEntry(menus, "mnuAnalysis"), &QAction::triggered, this,
            &frmMain::mnuAnalysis_Click);
    connect(menuEntry(menus, "mnuBarChart"), &QAction::triggered, this,
            &frmMain::mnuBarChart_Click);
    connect(fs, &sheet::Grid::gotFocus, this, &frmMain::fs_GotFocus);
}

void frmMain::mnuAnalysis_Click() {
    if (statisticsRunning_) {
        return;  // reached again through the events a run lets through
    }
    statisticsRunning_ = true;
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    statisticsGridSetUp();
    TabStrip1->setTabVisible(ui::TabStrip::ColumnStatistics, true);
    {
        const int flagColumn = sheetState.flagColumnPresent ? sheetState.flagColumn : -1;
        analysis::SheetStatisticsSource source(*fa->gridModel(), flagColumn);
        WindowRunObserver observer(*Progress, *menuEntry(menus, "mnuBarChart"),
                                   *Toolbar->button(QStringLiteral("Barchart")), desktop_);
        analysis::runColumnStatistics(source, statistics_, observer);
    }
    TabStrip1->setCurrentPage(ui::TabStrip::ColumnStatistics);
    mnuBarChart_Click();
    StatisticsDisplay(fa->col());
    desktop_.setPointer(ui::Desktop::Pointer::Default);
    menuEntry(menus, "mnuAnalysis")->setEnabled(false);
    Toolbar->setPressed(QStringLiteral("Statistics"), true);
    statisticsRunning_ = false;
}

void frmMain::mnuBarChart_Click() {
    const int col = fa->col();
    if (col < 0 || col >= fa->cols()) {
        return;
    }
    analysis::SheetColumnSource cells(*fa->gridModel(), col);
    analysis::toggleBarChart(cells, statistics_.entry(col));
}

void frmMain::statisticsGridSetUp() {
    fs->setFixedRows(1);
    fs->setCols(2);
    fs->setRows(StatisticsGridText::kNumericRows);
    fs->setColWidth(0, StatisticsGridText::kLabelColumnWidth);
    fs->setColWidth(1, StatisticsGridText::kValueColumnWidth);
    fs->setTextMatrix(0, 0, QStringLiteral("Statistics"));
    fs->setTextMatrix(0, 1, QStringLiteral("Value"));
    using sheet::CellSetting;
    fs->setCell(CellSetting::Bold, 0, 0, 0, 1, true);
    fs->setCell(CellSetting::BackColor, 0, 0, 0, 1, StatisticsGridText::kHeaderBackColour);
    fs->setCell(CellSetting::ForeColor, 0, 0, 0, 1, StatisticsGridText::kHeaderForeColour);
    fs->setCell(CellSetting::Alignment, 0, 0, 0, 1, StatisticsGridText::kHeaderAlignment);
    fs->setGridLines(0);
    fitStatisticsColumns(*fs, *this);
}

// Follows the sheet's current column; a column the grid does not have (an
// empty sheet) leaves fs as it is.
void frmMain::StatisticsDisplay(int col) {
    if (col < 0 || col >= fa->cols()) {
        return;
    }
    const int flagColumn = sheetState.flagColumnPresent ? sheetState.flagColumn : -1;
    const analysis::SheetStatisticsSource source(*fa->gridModel(), flagColumn);
    const bool numeric = source.isNumericColumn(col);
    const analysis::StatisticsGridText grid =
        analysis::statisticsGridText(fa->textMatrix(0, col), std::max(fa->rows() - 1, 0), numeric,
                                     numeric ? statistics_.entry(col) : nullptr);
    const int rows = int(grid.rows.size());
    fs->setRows(rows);
    using sheet::CellSetting;
    for (int r = 1; r < rows; ++r) {
        const analysis::StatisticsGridRow& row = grid.rows[size_t(r)];
        fs->setTextMatrix(r, 0, row.label);
        fs->setTextMatrix(r, 1, row.value);
        fs->setCell(CellSetting::Alignment, r, 0, StatisticsGridText::kLabelAlignment);
        fs->setCell(CellSetting::Alignment, r, 1, StatisticsGridText::kValueAlignment);
        if (r >= StatisticsGridText::kFirstBarRow) {
            fs->setCell(CellSetting::BarColor, r, 1, StatisticsGridText::kBarColour);
            fs->setCell(CellSetting::BarFillPercent, r, 1, row.barPercent.value_or(0.0));
        }
    }
    fitStatisticsColumns(*fs, *this);
}

void frmMain::AnalysisResetOnShapeChange() {
    menuEntry(menus, "mnuAnalysis")->setEnabled(true);
    Toolbar->setPressed(QStringLiteral("Statistics"), false);
    Toolbar->button(QStringLiteral("Barchart"))->setVisible(false);
    menuEntry(menus, "mnuBarChart")->setEnabled(false);
}

// Cut works on the data sheet only.
void frmMain::fs_GotFocus() {
    menuEntry(menus, "mnuEditCut")->setEnabled(false);
}
