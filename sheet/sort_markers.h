// Sort markers on the data sheet's titles: the sorted column's title carries
// an up or down picture at its right; a column move clears the markers at
// both ends of the move so no stale marker is left on the moved column.
#pragma once

#include <QPixmap>

namespace sheet {

class Grid;
struct SheetState;

class SortMarkers {
  public:
    static constexpr int kRightCentre = 7;

    SortMarkers(Grid& dataSheet, SheetState& state, QPixmap up, QPixmap down, QPixmap blank);

    void beforeSort();
    void afterSort(int col, int order);
    void afterMove(int col, int position);

  private:
    void clearTitle(int col);

    Grid& dataSheet_;
    SheetState& state_;
    QPixmap up_;
    QPixmap down_;
    QPixmap blank_;
};

}  // namespace sheet
