#include "analysis/sheet_column_source.h"

#include <algorithm>

#include "sheet/grid_model.h"

namespace analysis {

SheetColumnSource::SheetColumnSource(sheet::GridModel& model, int column)
    : model_(model), column_(column) {}

int SheetColumnSource::dataRowCount() const {
    return std::max(model_.store().rows() - 1, 0);
}

std::string_view SheetColumnSource::text(int row) const {
    return model_.store().text(row, column_);
}

std::uint32_t SheetColumnSource::barColour(int row) const {
    return model_.store().props(row, column_).barColor;
}

void SheetColumnSource::setBarColour(int row, std::uint32_t colour) {
    model_.editBlock(row, column_, row, column_,
                     [colour](sheet::CellProps& p) { p.barColor = colour; });
}

void SheetColumnSource::setBarPercent(int row, double percent) {
    model_.editBlock(row, column_, row, column_,
                     [percent](sheet::CellProps& p) { p.barPercent = percent; });
}

void SheetColumnSource::setBars(int first, int last, std::optional<std::uint32_t> colour,
                                const std::function<double(int row)>& percent) {
    model_.editColumn(column_, first, last, [&](int row, sheet::CellProps& p) {
        if (colour)
            p.barColor = *colour;
        p.barPercent = percent(row);
    });
}

}  // namespace analysis
