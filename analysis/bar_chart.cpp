#include "analysis/bar_chart.h"

#include <cmath>

#include "analysis/number_reading.h"

namespace analysis {
namespace {

float range(const BarScale& scale) {
    return scale.maximum - scale.minimum;
}

void removeChart(BarChartCells& cells) {
    cells.setBarColour(1, kBarChartRemovedMarker);
    const int rows = cells.dataRowCount();
    for (int r = 1; r <= rows; ++r)
        cells.setBarPercent(r, 0.0);
}

void drawChart(BarChartCells& cells, const BarScale& scale) {
    const int rows = cells.dataRowCount();
    for (int r = 1; r <= rows; ++r) {
        cells.setBarColour(r, kBarChartColour);
        cells.setBarPercent(r, scale.percent(readNumber(cells.text(r))));
    }
}

}  // namespace

std::optional<BarScale> BarScale::from(const ColumnStatistics* entry) {
    if (!entry)
        return std::nullopt;
    const BarScale scale{entry->maximum, entry->minimum};
    const float span = range(scale);
    if (span == 0.0f || std::isnan(span))
        return std::nullopt;
    return scale;
}

double BarScale::percent(double value) const {
    const double span = range(*this);
    const double percent =
        minimum < 0.0f ? (value - minimum) / span * 100.0 : value / maximum * 100.0;
    // Only figures that overflowed single precision make NaN (infinity over
    // infinity); an empty bar is the safe length for them.
    return std::isnan(percent) ? 0.0 : percent;
}

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
