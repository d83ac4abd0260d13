#include "analysis/statistics_run.h"

#include "analysis/statistics_passes.h"

namespace analysis {

StatisticsRunSummary runColumnStatistics(const StatisticsSheet& sheet, StatisticsStore& store,
                                         StatisticsRunObserver& observer) {
    StatisticsRunSummary summary;
    const int columns = sheet.columnCount();
    for (int c = 0; c < columns; ++c) {
        ColumnStatistics& entry = store.prepare(c);
        ++summary.columns;
        if (!sheet.isNumericColumn(c)) {
            nonNumericPass(entry);
            continue;
        }
        ++summary.numericColumns;
        observer.columnStarted(c);
        columnPass(sheet.column(c), entry, &observer);
        observer.columnDone(c);
        // The observer may have processed window events: ask for the column
        // again rather than keep a reference across them.
        histogramPass(sheet.column(c), store.prepare(c));
        if (observer.stopRequested()) {
            summary.stopped = true;
            return summary;
        }
    }
    store.resize(columns);  // a sheet without columns keeps nothing of the last run
    return summary;
}

}  // namespace analysis
