// The per-column store of the last statistics run, indexed by sheet column
// from 0. Entries are absent until a run reaches their column; the bar chart
// and the statistics display read from here.
#pragma once

#include <vector>

#include "analysis/column_statistics.h"

namespace analysis {

class StatisticsStore {
  public:
    // The entry of a column, or nullptr when the last run did not reach it.
    const ColumnStatistics* entry(int column) const;
    // Precondition: column >= 0. Sizes the store to hold columns 0 to `column`
    // exactly (lower entries kept, higher ones dropped) and returns the entry
    // of `column`; a new entry is all zeros.
    ColumnStatistics& prepare(int column);
    // Keeps entries 0 to count - 1 and drops the rest; new entries are zeros.
    void resize(int count);
    // A column was inserted at `column` or removed from it: the figures stay
    // with their columns as the later ones shift.
    void insertColumn(int column);
    void removeColumn(int column);
    // Number of entries present.
    int size() const { return static_cast<int>(entries_.size()); }

  private:
    std::vector<ColumnStatistics> entries_;
};

}  // namespace analysis
