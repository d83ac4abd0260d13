// The column loop of the Column Statistics command: a column pass and, for a
// numeric column, a histogram pass for every sheet column in turn, writing the
// store. The window supplies the sheet and reacts to the steps through the
// observer (hourglass, progress bar, bar-chart availability, pending events).
#pragma once

#include "analysis/column_source.h"
#include "analysis/statistics_passes.h"
#include "analysis/statistics_store.h"

namespace analysis {

// The data sheet as a run reads it.
class StatisticsSheet {
  public:
    virtual ~StatisticsSheet() = default;
    virtual int columnCount() const = 0;
    // See isNumericColumn() in column_kind.h.
    virtual bool isNumericColumn(int column) const = 0;
    // The cells of one column; the reference stays valid until the next call.
    virtual const ColumnSource& column(int column) const = 0;
};

// Steps of a run a window shows. Called for numeric columns only, in this
// order per column: columnStarted, rowDone for every data row, columnDone
// (after the figures and before the histogram is counted).
class StatisticsRunObserver : public PassProgress {
  public:
    void rowDone(int, int) override {}
    // Hourglass pointer and progress bar shown.
    virtual void columnStarted(int) {}
    // Bar chart offered, pending window events processed once, progress bar
    // hidden.
    virtual void columnDone(int) {}
};

struct StatisticsRunSummary {
    int columns = 0;         // entries written
    int numericColumns = 0;  // of which numeric
};

// Rewrites the store's entries of columns 0 to columnCount() - 1; entries of
// higher columns from an earlier run are dropped.
StatisticsRunSummary runColumnStatistics(const StatisticsSheet& sheet, StatisticsStore& store,
                                         StatisticsRunObserver& observer);

}  // namespace analysis
