// The instant bar chart: one numeric column of the data sheet drawn as bars
// inside its cells, scaled by the column's maximum and minimum from the last
// statistics run. The same toggle draws the chart and removes it; the bar
// colour of the first data row is the marker that tells which.
#pragma once

#include <cstdint>

#include "analysis/bar_chart_cells.h"
#include "analysis/bar_scale.h"
#include "analysis/column_statistics.h"

namespace analysis {

enum class BarChartOutcome { Unchanged, Removed, Drawn };

inline constexpr std::uint32_t kBarChartColour = 0x0000FF;  // red: also the marker
inline constexpr std::uint32_t kBarChartRemovedMarker = 0xFFFFFF;

// Draws the chart on every data row, or removes it when the first data row
// carries the red marker: the marker cell turns white and every bar is
// emptied, while the other cells keep their red bar colour. Does nothing for
// a column that cannot be scaled or a sheet without data rows.
BarChartOutcome toggleBarChart(BarChartCells& cells, const ColumnStatistics* entry);

}  // namespace analysis
