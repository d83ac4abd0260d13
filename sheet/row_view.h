// RowView: which grid rows the view shows, in order. Without a filter the
// view shows every data row (view row v is grid row v + fixed rows); with
// one it lists the rows the store does not hide, rebuilt after every change
// of the rows' order or number.
#pragma once

#include <vector>

namespace sheet {

class CellStore;

class RowView {
  public:
    void rebuild(const CellStore& store, int fixedRows);
    bool isFiltered() const { return filtered_; }

    int count(int storeRows) const;
    int gridRow(int viewRow) const { return filtered_ ? shown_[viewRow] : viewRow + fixed_; }
    // -1 for a row the view does not show.
    int viewRow(int gridRow) const;
    // The first shown row at or below gridRow (-1 when none), or with
    // `before` the last shown row at or above it.
    int nearestViewRow(int gridRow, bool before) const;

  private:
    bool filtered_ = false;
    int fixed_ = 1;
    std::vector<int> shown_;
};

}  // namespace sheet
