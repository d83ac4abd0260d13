#include "analysis/statistics_controller.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
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
#include "sheet/grid.h"
#include "sheet/input_hold.h"
#include "sheet/sheet_update.h"
#include "ui/desktop.h"
#include "ui/main_toolbar.h"
#include "ui/menu_actions.h"
#include "ui/pane_layout.h"
#include "ui/tab_strip.h"
#include "ui/window_controls.h"

namespace analysis {

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kRowsBeforeRun = 3;

// Shows a run on the window: hourglass and progress bar per numeric column,
// the bar chart offered, and one pause for window events between a column's
// two passes (user input waits until the run is over).
class WindowRunObserver : public StatisticsRunObserver {
  public:
    static constexpr int kPaintEveryMs = 40;

    WindowRunObserver(QProgressBar& bar, QAction& barChartEntry, QAction& barChartButton,
                      ui::Desktop& desktop)
        : bar_(bar), entry_(barChartEntry), button_(barChartButton), desktop_(desktop) {
        input_.hold();
        clock_.start();
    }

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
        // Now and then within a long column too, so that Esc is heard.
        if (row % 4096 == 0 && clock_.elapsed() - lastPass_ >= kPaintEveryMs) {
            letWindowPaint();
        }
    }
    void columnDone(int) override {
        button_.setVisible(true);
        entry_.setEnabled(true);
        letWindowPaint();
        bar_.setVisible(false);
    }
    bool stopRequested() const override { return input_.stopRequested(); }

  private:
    // User input reaches no control meanwhile (the input hold); Esc asks to stop.
    void letWindowPaint() {
        lastPass_ = clock_.elapsed();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    QProgressBar& bar_;
    QAction& entry_;
    QAction& button_;
    ui::Desktop& desktop_;
    sheet::InputHold input_;
    QElapsedTimer clock_;
    qint64 lastPass_ = 0;
    int shown_ = 0;
};

// The width in pixels the two columns can share: the frame and, when the
// rows do not fit, the vertical scroll bar are left out.
int usableWidth(const sheet::Grid& grid) {
    const int frame = 2 * grid.frameWidth();
    const QHeaderView* titles = grid.horizontalHeader();
    const int titleHeight = titles->isVisible() ? titles->sizeHint().height() : 0;
    int width = grid.width() - frame;
    if (grid.verticalHeader()->length() > grid.height() - frame - titleHeight) {
        width -= grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grid);
    }
    return width;
}

// The widest text of a column below the title row, in pixels with the
// cell's margins; the rules of the histogram are drawing, not values, and
// may be cut.
int widestText(const sheet::Grid& grid, int col) {
    constexpr int kMargins = 10;
    const QFontMetrics metrics(grid.font());
    const QString rule = StatisticsGridText::rule();
    int widest = 0;
    for (int r = 1; r < grid.rows(); ++r) {
        const QString text = grid.textMatrix(r, col);
        if (text != rule) {
            widest = std::max(widest, metrics.horizontalAdvance(text));
        }
    }
    return widest + kMargins;
}

}  // namespace

StatisticsController::StatisticsController(const ui::WindowControls& controls,
                                           const ui::MenuActions& menus,
                                           const sheet::SheetState& state, ui::Desktop& desktop,
                                           QObject* parent)
    : QObject(parent), controls_(controls), menus_(menus), state_(state), desktop_(desktop) {
    connect(menus_.columnStatistics, &QAction::triggered, this, &StatisticsController::run);
    connect(menus_.barChart, &QAction::triggered, this, &StatisticsController::toggleBarChart);
    connect(controls_.statisticsGrid, &sheet::Grid::gotFocus, this, &StatisticsController::focused);
}

int StatisticsController::toPixels(int twips) const {
    return ui::twipsToPixels(twips, desktop_.logicalDpi());
}

int StatisticsController::toTwips(int pixels) const {
    return ui::pixelsToTwips(pixels, desktop_.logicalDpi());
}

void StatisticsController::run() {
    if (running_) {
        return;  // reached again through the events a run lets through
    }
    running_ = true;
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    setUpGrid();
    controls_.tabStrip->setTabVisible(ui::TabStrip::ColumnStatistics, true);
    const sheet::Grid& sheet = *controls_.dataSheet;
    bool stopped = false;
    {
        const int flagColumn = state_.flagColumnPresent ? state_.flagColumn : -1;
        SheetStatisticsSource source(*sheet.gridModel(), flagColumn);
        WindowRunObserver observer(*controls_.progressBar, *menus_.barChart,
                                   *controls_.toolbar->buttons().barChart, desktop_);
        stopped = runColumnStatistics(source, store_, observer).stopped;
    }
    if (stopped) {
        giveUpRun();
        return;
    }
    controls_.tabStrip->setCurrentPage(ui::TabStrip::ColumnStatistics);
    toggleBarChart();
    display(sheet.col());
    desktop_.setPointer(ui::Desktop::Pointer::Default);
    menus_.columnStatistics->setEnabled(false);
    controls_.toolbar->buttons().statistics->setChecked(true);
    running_ = false;
}

// Esc stopped the run: the figures of the columns done so far are dropped
// with any earlier ones, and the window is as before any run.
void StatisticsController::giveUpRun() {
    controls_.progressBar->setVisible(false);
    store_.resize(0);
    controls_.statisticsGrid->setRows(kRowsBeforeRun);
    reset();
    desktop_.setPointer(ui::Desktop::Pointer::Default);
    running_ = false;
    emit stopped();
}

void StatisticsController::toggleBarChart() {
    sheet::Grid& sheet = *controls_.dataSheet;
    const int col = sheet.col();
    if (col < 0 || col >= sheet.cols()) {
        return;
    }
    SheetColumnSource cells(*sheet.gridModel(), col);
    analysis::toggleBarChart(cells, store_.entry(col));
}

void StatisticsController::setUpGrid() {
    sheet::Grid& grid = *controls_.statisticsGrid;
    grid.setFixedRows(1);
    grid.setCols(2);
    grid.setRows(StatisticsGridText::kNumericRows);
    grid.setColWidth(0, StatisticsGridText::kLabelColumnWidth);
    grid.setColWidth(1, StatisticsGridText::kValueColumnWidth);
    grid.setTextMatrix(0, 0, QStringLiteral("Statistics"));
    grid.setTextMatrix(0, 1, QStringLiteral("Value"));
    using sheet::CellSetting;
    grid.setCell(CellSetting::Bold, 0, 0, 0, 1, true);
    grid.setCell(CellSetting::BackColor, 0, 0, 0, 1, StatisticsGridText::kHeaderBackColour);
    grid.setCell(CellSetting::ForeColor, 0, 0, 0, 1, StatisticsGridText::kHeaderForeColour);
    grid.setCell(CellSetting::Alignment, 0, 0, 0, 1, StatisticsGridText::kHeaderAlignment);
    grid.setGridLines(0);
    fitColumns();
}

// The label column keeps its width unless a label needs more (the twips
// were chosen for a smaller font than this desktop's); the value column fills
// the rest of the control, or more when a value needs it, so that no figure
// is cut off: the grid then scrolls sideways.
void StatisticsController::fitColumns() {
    sheet::Grid& grid = *controls_.statisticsGrid;
    const int labels =
        std::max(toPixels(StatisticsGridText::kLabelColumnWidth), widestText(grid, 0));
    const int values = std::max(usableWidth(grid) - labels, widestText(grid, 1));
    grid.setColWidth(0, toTwips(labels) + 1);
    if (values > 0) {
        grid.setColWidth(1, toTwips(values));
    }
}

void StatisticsController::display(int col) {
    const sheet::Grid& sheet = *controls_.dataSheet;
    if (col < 0 || col >= sheet.cols()) {
        return;
    }
    const int flagColumn = state_.flagColumnPresent ? state_.flagColumn : -1;
    const SheetStatisticsSource source(*sheet.gridModel(), flagColumn);
    const bool numeric = source.isNumericColumn(col);
    const StatisticsGridText text =
        statisticsGridText(sheet.textMatrix(0, col), std::max(sheet.rows() - 1, 0), numeric,
                           numeric ? store_.entry(col) : nullptr);
    const int rows = int(text.rows.size());
    sheet::Grid& grid = *controls_.statisticsGrid;
    grid.setRows(rows);
    using sheet::CellSetting;
    for (int r = 1; r < rows; ++r) {
        const StatisticsGridRow& row = text.rows[size_t(r)];
        grid.setTextMatrix(r, 0, row.label);
        grid.setTextMatrix(r, 1, row.value);
        grid.setCell(CellSetting::Alignment, r, 0, StatisticsGridText::kLabelAlignment);
        grid.setCell(CellSetting::Alignment, r, 1, StatisticsGridText::kValueAlignment);
        if (r >= StatisticsGridText::kFirstBarRow) {
            grid.setCell(CellSetting::BarColor, r, 1, StatisticsGridText::kBarColour);
            grid.setCell(CellSetting::BarFillPercent, r, 1, row.barPercent.value_or(0.0));
        }
    }
    fitColumns();
}

void StatisticsController::reset() {
    controls_.tabStrip->setTabVisible(ui::TabStrip::ColumnStatistics, false);
    resetOnShapeChange();
}

void StatisticsController::resetOnShapeChange() {
    menus_.columnStatistics->setEnabled(true);
    controls_.toolbar->buttons().statistics->setChecked(false);
    controls_.toolbar->buttons().barChart->setVisible(false);
    menus_.barChart->setEnabled(false);
}

bool StatisticsController::offered() const {
    return menus_.columnStatistics->isEnabled();
}

void StatisticsController::columnInserted(int col) {
    store_.insertColumn(col);
}

void StatisticsController::columnRemoved(int col) {
    store_.removeColumn(col);
}

}  // namespace analysis
