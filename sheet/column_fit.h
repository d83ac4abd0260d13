// Column widths that fit their contents: a loaded result's columns get the
// width of their title and of the first rows' texts, so nothing common is
// cut short; a text column is capped so that one long memo does not push the
// other columns out of sight, while numbers and dates always show whole.
#pragma once

namespace sheet {

class Grid;

class ColumnFit {
  public:
    // Rows read past the titles to size a column: enough to be typical, few
    // enough to cost nothing on a million-row sheet.
    static constexpr int kSampleRows = 200;
    // The widest a text column is made (3 inches), and the narrowest any.
    static constexpr int kMaxTextTwips = 4320;
    static constexpr int kMinTwips = 400;

    // The width in twips that fits column col's title and sampled cells.
    static int fittedWidth(const Grid& grid, int col);
    // Fits column col.
    static void fitColumn(Grid& grid, int col);
    // Fits every column.
    static void fitAllColumns(Grid& grid);
};

}  // namespace sheet
