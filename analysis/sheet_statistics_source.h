// The data sheet as a statistics run reads it: the grid's cell store, its
// column types and the flag column.
#pragma once

#include <memory>

#include "analysis/sheet_column_source.h"
#include "analysis/statistics_sheet.h"

namespace sheet {
class GridModel;
}

namespace analysis {

class SheetStatisticsSource : public StatisticsSheet {
  public:
    // `flagColumn` is the flag column's index, or -1 when the sheet has none.
    SheetStatisticsSource(sheet::GridModel& model, int flagColumn);

    int columnCount() const override;
    bool isNumericColumn(int column) const override;
    const ColumnSource& column(int column) const override;

  private:
    sheet::GridModel& model_;
    int flagColumn_;
    mutable std::unique_ptr<SheetColumnSource> current_;
};

}  // namespace analysis
