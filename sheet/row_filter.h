// RowFilter: the conditions of the sheet's filter row, one per column, and
// the data rows that pass all of them. Rows are the grid's (row 0 is the
// title row). A condition is kept by column index: commands that move, add
// or remove columns clear the filter first.
#pragma once

#include <QString>

#include <map>
#include <vector>

#include "sheet/filter_condition.h"

namespace sheet {

class CellStore;

class RowFilter {
  public:
    // Empty text removes the column's condition.
    void setCondition(int col, const QString& typed);
    QString conditionText(int col) const;
    void clear();
    bool isActive() const { return !conditions_.empty(); }

    // Rows firstRow..rows()-1 of the store that pass every condition, in
    // ascending order. Each condition narrows the rows the previous one kept,
    // so a selective column typed first makes the others cheap.
    std::vector<int> shownRows(const CellStore& store, int firstRow) const;

  private:
    struct Entry {
        QString typed;
        FilterCondition condition;
    };
    std::map<int, Entry> conditions_;
};

}  // namespace sheet
