// The instant bar chart: one numeric column of the data sheet drawn as bars
// inside its cells, scaled by the column's maximum and minimum from the last
// statistics run. The same toggle draws the chart and removes it; the bar
// colour of the first data row is the marker that tells which.
#pragma once

#include <cstdint>
#include <optional>

#include "analysis/column_source.h"
#include "analysis/column_statistics.h"

namespace analysis {

// The column's cells with the two bar properties the chart lives in.
class BarChartCells : public ColumnSource {
  public:
    virtual std::uint32_t barColour(int row) const = 0;
    virtual void setBarColour(int row, std::uint32_t colour) = 0;
    virtual void setBarPercent(int row, double percent) = 0;
};

// How cell values map to bar lengths for one column.
struct BarScale {
    float maximum = 0.0f;
    float minimum = 0.0f;

    // A scale for the stored figures, or none when the chart cannot be drawn:
    // no entry, or maximum - minimum (in single precision) is 0 or undefined.
    static std::optional<BarScale> from(const ColumnStatistics* entry);

    // A column with a negative minimum is drawn from its minimum (it gets an
    // empty bar, the maximum a full one); otherwise bars start at zero and the
    // maximum fills its cell. Not clamped: values outside the stored range
    // give less than 0 or more than 100. Never NaN.
    double percent(double value) const;
};

enum class BarChartOutcome { Unchanged, Removed, Drawn };

inline constexpr std::uint32_t kBarChartColour = 0x0000FF;  // red: also the marker
inline constexpr std::uint32_t kBarChartRemovedMarker = 0xFFFFFF;

// Draws the chart on every data row, or removes it when the first data row
// carries the red marker: the marker cell turns white and every bar is
// emptied, while the other cells keep their red bar colour. Does nothing for
// a column that cannot be scaled or a sheet without data rows.
BarChartOutcome toggleBarChart(BarChartCells& cells, const ColumnStatistics* entry);

}  // namespace analysis
