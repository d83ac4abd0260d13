// Grid: the filter, the filter row under the titles and the hits of Find.
#include "sheet/filter_row.h"
#include "sheet/grid.h"
#include "sheet/grid_delegate.h"
#include "sheet/grid_header.h"
#include "sheet/grid_model.h"

namespace sheet {

void Grid::showOnlyRows(std::span<const int> shown) {
    model_->showOnlyRows(shown);
}

void Grid::showAllRows() {
    model_->showAllRows();
}

bool Grid::isFiltered() const {
    return model_->rowView().isFiltered();
}

bool Grid::isRowShown(int row) const {
    return row >= fixedRows() && row < rows() && model_->rowView().viewRow(row) >= 0;
}

int Grid::shownDataRows() const {
    return model_->rowCount();
}

void Grid::setFilterRowShown(bool shown) {
    filterRow_->setShown(shown);
    updateGeometries();
    viewport()->update();
}

void Grid::setFindHits(const QString& text, TextMatcher::Options options) {
    delegate_->setHits(text.isEmpty() ? std::nullopt
                                      : std::optional<TextMatcher>(std::in_place, text, options));
    viewport()->update();
}

bool Grid::isFindHit(int row, int col) const {
    const QModelIndex index = cellIndex(row, col);
    return index.isValid() && delegate_->isHit(index);
}

// A cell out of sight is brought to the middle, so the rows round a hit of
// Find are seen too; one already in sight stays where it is.
void Grid::goToCell(int row, int col) {
    select(row, col, row, col);
    const QModelIndex current = currentIndex();
    const bool inSight = viewport()->rect().contains(visualRect(current));
    scrollTo(current, inSight ? EnsureVisible : PositionAtCenter);
}

}  // namespace sheet
