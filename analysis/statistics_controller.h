// Column statistics and the instant bar chart on the window: the "Column
// Statistics" command computes every column's figures with the progress bar
// showing, the statistics grid shows the current column's, and the bar
// chart toggles on the current column. Reset returns the commands and buttons
// to their state before any run.
#pragma once

#include <QObject>

#include "analysis/statistics_store.h"

namespace sheet {
class Grid;
struct SheetState;
}  // namespace sheet
namespace ui {
class Desktop;
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace analysis {

class StatisticsController : public QObject {
    Q_OBJECT
  public:
    StatisticsController(const ui::WindowControls& controls, const ui::MenuActions& menus,
                         const sheet::SheetState& state, ui::Desktop& desktop,
                         QObject* parent = nullptr);

    void run();
    void toggleBarChart();
    // Shows the figures of sheet column `col` in the statistics grid; a
    // column the sheet does not have leaves the grid as it is.
    void display(int col);
    // Before any run: the tab hidden, the command offered, no bar chart.
    void reset();
    // After rows or columns were inserted or deleted: the command is offered
    // again while the grid keeps the figures of the last run.
    void resetOnShapeChange();
    // Whether the command is offered (no run since the last reset).
    bool offered() const;
    // A column was inserted at or removed from `col`: the figures follow.
    void columnInserted(int col);
    void columnRemoved(int col);

    const StatisticsStore& store() const { return store_; }

  signals:
    void focused();
    // Esc stopped a run: no figures are kept.
    void stopped();

  private:
    void giveUpRun();
    void setUpGrid();
    void fitColumns();
    int toPixels(int twips) const;
    int toTwips(int pixels) const;

    const ui::WindowControls& controls_;
    const ui::MenuActions& menus_;
    const sheet::SheetState& state_;
    ui::Desktop& desktop_;
    StatisticsStore store_;
    bool running_ = false;
};

}  // namespace analysis
