#include "analysis/bar_chart.h"

#include "analysis/number_reading.h"

namespace analysis {
namespace {

void removeChart(BarChartCells& cells) {
    cells.setBarColour(1, kBarChartRemovedMarker);
    cells.setBars(1, cells.dataRowCount(), std::nullopt, [](int) { return 0.0; });
}

void drawChart(BarChartCells& cells, const BarScale& scale) {
    cells.setBars(1, cells.dataRowCount(), kBarChartColour,
                  [&](int r) { return scale.percent(readNumber(cells.text(r))); });
}

}  // namespace

BarChartOutcome toggleBarChart(BarChartCells& cells, const ColumnStatistics* entry) {
    const std::optional<BarScale> scale = BarScale::from(entry);
    if (!scale || cells.dataRowCount() < 1)
        return BarChartOutcome::Unchanged;
    if (cells.barColour(1) == kBarChartColour) {
        removeChart(cells);
        return BarChartOutcome::Removed;
    }
    drawChart(cells, *scale);
    return BarChartOutcome::Drawn;
}

}  // namespace analysis
