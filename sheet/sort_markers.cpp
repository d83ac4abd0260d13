#include "sheet/sort_markers.h"

#include "sheet/grid.h"
#include "sheet/sheet_update.h"

namespace sheet {

SortMarkers::SortMarkers(Grid& dataSheet, SheetState& state, QPixmap up, QPixmap down,
                         QPixmap blank)
    : dataSheet_(dataSheet),
      state_(state),
      up_(std::move(up)),
      down_(std::move(down)),
      blank_(std::move(blank)) {}

// Column indexes may be stale after the sheet shrank; out-of-range titles are skipped.
void SortMarkers::clearTitle(int col) {
    if (col >= 0 && col < dataSheet_.cols() && dataSheet_.rows() > 0) {
        dataSheet_.setCellPicture(0, col, 0, col, blank_);
    }
}

void SortMarkers::beforeSort() {
    clearTitle(state_.sortedColumn);
}

void SortMarkers::afterSort(int col, int order) {
    if (col < 0 || col >= dataSheet_.cols() || dataSheet_.rows() == 0) {
        return;
    }
    dataSheet_.setCell(CellSetting::PictureAlignment, 0, col, kRightCentre);
    dataSheet_.setCellPicture(0, col, 0, col, order == 1 ? up_ : down_);
    state_.sortedColumn = col;
}

void SortMarkers::afterMove(int col, int position) {
    clearTitle(position);
    clearTitle(col);
    state_.titlesChanged = true;
}

}  // namespace sheet
