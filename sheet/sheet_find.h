// SheetFind: Find Next and Find Previous over the data rows of a sheet, row
// by row and within a row column by column, wrapping round at the end. Rows
// the filter hides are skipped.
#pragma once

#include <functional>
#include <optional>

#include "sheet/text_matcher.h"

namespace sheet {

class CellStore;

struct CellPosition {
    int row = 0;
    int col = 0;
    bool operator==(const CellPosition&) const = default;
};

class SheetFind {
  public:
    enum class Direction { Next, Previous };

    // rowShown may be empty: every row is searched.
    SheetFind(const CellStore& store, int firstRow, std::function<bool(int row)> rowShown = {});

    // The first matching cell after (or before) `from`, which itself is
    // searched last; none when no cell matches or the matcher is empty.
    std::optional<CellPosition> find(const TextMatcher& matcher, CellPosition from,
                                     Direction direction) const;
    // Number of matching cells in shown rows (for "n found").
    long long count(const TextMatcher& matcher) const;

  private:
    bool shown(int row) const { return !rowShown_ || rowShown_(row); }

    const CellStore& store_;
    int firstRow_;
    std::function<bool(int)> rowShown_;
};

}  // namespace sheet
