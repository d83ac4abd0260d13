// The form view: the data sheet's current row shown as a two-column list
// of column titles and values. This class sets the grid up once and fills its
// title column from the sheet's title row.
#pragma once

namespace sheet {

class Grid;

class FormView {
  public:
    static constexpr int kColumnWidth = 1300;          // twips, both columns at set-up
    static constexpr int kFlagColumnWidth = 410;       // twips, the sheet's flag column
    static constexpr unsigned kHeaderBack = 0x008000;  // green
    static constexpr unsigned kHeaderFore = 0xFFFFFF;  // white

    // Header row "Column" / "Value" in white on green, ten rows, two columns
    // that together fill formViewWidthTwips; then gives the sheet's column at
    // flagColumn the flag column's width.
    static void setUp(Grid& formView, Grid& dataSheet, int formViewWidthTwips, int flagColumn);

    // Column 0 of row c + 1 := title of sheet column c, right-aligned, for
    // every sheet column. The form view first grows to hold every column so
    // that no title is dropped.
    static void fillTitles(Grid& formView, const Grid& dataSheet);
};

}  // namespace sheet
