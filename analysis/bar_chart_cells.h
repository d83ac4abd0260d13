// A data-sheet column as the instant bar chart sees it: the cells' texts and
// the two bar properties (colour and fill percent) the chart lives in.
#pragma once

#include <cstdint>

#include "analysis/column_source.h"

namespace analysis {

class BarChartCells : public ColumnSource {
  public:
    virtual std::uint32_t barColour(int row) const = 0;
    virtual void setBarColour(int row, std::uint32_t colour) = 0;
    virtual void setBarPercent(int row, double percent) = 0;
};

}  // namespace analysis
