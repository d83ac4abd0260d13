// The cells of one data-sheet column as the statistics and the bar chart read
// them: in place, row by row, never copied out of the sheet.
#pragma once

#include <string_view>

namespace analysis {

class ColumnSource {
  public:
    virtual ~ColumnSource() = default;

    // Number of data rows: the sheet's row count minus the title row.
    virtual int dataRowCount() const = 0;
    // Text of the cell in sheet row `row`, 1 <= row <= dataRowCount(), as
    // UTF-8 (the sheet's own storage). The view stays valid until the sheet
    // changes or text() is called again.
    virtual std::string_view text(int row) const = 0;
};

}  // namespace analysis
