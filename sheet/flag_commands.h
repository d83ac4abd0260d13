// Flag commands on the data sheet: adding the flag column, toggling the current row's flag, setting
// or clearing the flags of the selected rows in one direction, and keeping
// the flag column's index and width after the user moved or resized columns.
#pragma once

#include <QPixmap>

namespace sheet {

class Grid;
struct SheetState;

class FlagCommands {
  public:
    static constexpr int kWidth = 410;  // twips
    static constexpr const char* kTitle = "Flag";

    // blank is the picture of an unflagged cell.
    FlagCommands(Grid& dataSheet, Grid& formView, SheetState& state, QPixmap blank);

    // Adds the flag column after a database result was loaded: one more
    // column, moved to position 0, titled "Flag", of the empty data type;
    // the form view gets a row per sheet column plus its header; the state
    // marks the flag column present at 0.
    void addColumn();
    // Whether row's flag cell is flagged (its text is not empty).
    bool isFlagged(int row) const;
    // Flips the current row's flag. False (and nothing changed) when the
    // sheet has no flag column or the current row is not a data row.
    bool toggleCurrentRow();
    // Gives every selected data row the state opposite to the current row's.
    // Returns the number of rows set; 0 without a flag column.
    int toggleSelectedRows();
    // After a column move: the first column titled "Flag" from the left
    // becomes the flag column; none found keeps the old index.
    void refindColumn();
    // After a resize: the flag column goes back to its own width.
    void keepWidth();

  private:
    bool usable() const;
    void setFlag(int row, bool flagged);
    void showInFormView(bool flagged);

    Grid& dataSheet_;
    Grid& formView_;
    SheetState& state_;
    QPixmap blank_;
};

}  // namespace sheet
