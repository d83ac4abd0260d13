// A data-sheet column as the instant bar chart sees it: the cells' texts and
// the two bar properties (colour and fill percent) the chart lives in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "analysis/column_source.h"

namespace analysis {

class BarChartCells : public ColumnSource {
  public:
    virtual std::uint32_t barColour(int row) const = 0;
    virtual void setBarColour(int row, std::uint32_t colour) = 0;
    virtual void setBarPercent(int row, double percent) = 0;
    // Rows first..last get percent(row), and the colour when one is given.
    // A sheet overrides it to change the whole range in one go.
    virtual void setBars(int first, int last, std::optional<std::uint32_t> colour,
                         const std::function<double(int row)>& percent) {
        for (int r = first; r <= last; ++r) {
            if (colour)
                setBarColour(r, *colour);
            setBarPercent(r, percent(r));
        }
    }
};

}  // namespace analysis
