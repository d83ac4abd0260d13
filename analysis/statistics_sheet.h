// The data sheet as a statistics run reads it: its columns, which of them are
// numeric, and each column's cells in place.
#pragma once

#include "analysis/column_source.h"

namespace analysis {

class StatisticsSheet {
  public:
    virtual ~StatisticsSheet() = default;
    virtual int columnCount() const = 0;
    // See isNumericColumn() in column_kind.h.
    virtual bool isNumericColumn(int column) const = 0;
    // The cells of one column; the reference stays valid until the next call.
    virtual const ColumnSource& column(int column) const = 0;
};

}  // namespace analysis
