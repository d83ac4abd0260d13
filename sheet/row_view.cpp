#include "sheet/row_view.h"

#include <algorithm>

#include "sheet/cell_store.h"

namespace sheet {

void RowView::rebuild(const CellStore& store, int fixedRows) {
    fixed_ = fixedRows;
    filtered_ = store.anyHidden();
    shown_.clear();
    if (!filtered_) {
        shown_.shrink_to_fit();
        return;
    }
    for (int row = fixedRows; row < store.rows(); ++row) {
        if (!store.isHidden(row)) {
            shown_.push_back(row);
        }
    }
}

int RowView::count(int storeRows) const {
    return filtered_ ? static_cast<int>(shown_.size()) : std::max(0, storeRows - fixed_);
}

int RowView::viewRow(int gridRow) const {
    if (!filtered_) {
        return gridRow >= fixed_ ? gridRow - fixed_ : -1;
    }
    const auto found = std::lower_bound(shown_.begin(), shown_.end(), gridRow);
    return found != shown_.end() && *found == gridRow ? static_cast<int>(found - shown_.begin())
                                                      : -1;
}

int RowView::nearestViewRow(int gridRow, bool before) const {
    if (!filtered_) {
        return std::max(gridRow, fixed_) - fixed_;
    }
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), gridRow);
    if (!before) {
        return at == shown_.end() ? -1 : static_cast<int>(at - shown_.begin());
    }
    if (at != shown_.end() && *at == gridRow) {
        return static_cast<int>(at - shown_.begin());
    }
    return at == shown_.begin() ? -1 : static_cast<int>(at - shown_.begin()) - 1;
}

}  // namespace sheet
