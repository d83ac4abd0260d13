// The column loop of the Column Statistics command: a column pass and, for a
// numeric column, a histogram pass for every sheet column in turn, writing the
// store. The window supplies the sheet and reacts to the steps through the
// observer (hourglass, progress bar, bar-chart availability, pending events).
#pragma once

#include "analysis/statistics_run_observer.h"
#include "analysis/statistics_sheet.h"
#include "analysis/statistics_store.h"

namespace analysis {

struct StatisticsRunSummary {
    int columns = 0;         // entries written
    int numericColumns = 0;  // of which numeric
    bool stopped = false;    // the observer asked to stop; the store is part written
};

// Rewrites the store's entries of columns 0 to columnCount() - 1; entries of
// higher columns from an earlier run are dropped.
StatisticsRunSummary runColumnStatistics(const StatisticsSheet& sheet, StatisticsStore& store,
                                         StatisticsRunObserver& observer);

}  // namespace analysis
