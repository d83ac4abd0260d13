// One column of a grid's cell store as the statistics and the bar chart read
// it: texts straight from the store, bar properties written through the model
// so that the view repaints.
#pragma once

#include "analysis/bar_chart_cells.h"

namespace sheet {
class GridModel;
}

namespace analysis {

class SheetColumnSource : public BarChartCells {
  public:
    SheetColumnSource(sheet::GridModel& model, int column);

    int dataRowCount() const override;
    std::string_view text(int row) const override;
    std::uint32_t barColour(int row) const override;
    void setBarColour(int row, std::uint32_t colour) override;
    void setBarPercent(int row, double percent) override;
    void setBars(int first, int last, std::optional<std::uint32_t> colour,
                 const std::function<double(int row)>& percent) override;

  private:
    sheet::GridModel& model_;
    int column_;
};

}  // namespace analysis
