#include "analysis/sheet_statistics_source.h"

#include "analysis/column_kind.h"
#include "sheet/grid_model.h"

namespace analysis {

SheetStatisticsSource::SheetStatisticsSource(sheet::GridModel& model, int flagColumn)
    : model_(model), flagColumn_(flagColumn) {}

int SheetStatisticsSource::columnCount() const {
    return model_.store().cols();
}

bool SheetStatisticsSource::isNumericColumn(int column) const {
    const int type = model_.store().column(column).dataType;
    return analysis::isNumericColumn(type, column == flagColumn_);
}

const ColumnSource& SheetStatisticsSource::column(int column) const {
    current_ = std::make_unique<SheetColumnSource>(model_, column);
    return *current_;
}

}  // namespace analysis
