// The sheet update: the one routine run after every load or reshape of the
// data sheet and on clicks and row moves in it. It brings the form view,
// the font-style buttons, the position in the status bar and the
// statistics display in step with the sheet's current cell.
#pragma once

#include <QPixmap>
#include <QString>

namespace sheet {

class Grid;

// The pane that last received the focus; Cut, Copy and Paste act on it.
enum class FocusedPane : unsigned char {
    None = 0,
    DataSheet = 1,
    FormView = 2,
    SqlBox = 3,
    DatabaseTree = 4
};

// What the main window keeps about the sheet.
struct SheetState {
    bool boldState = false;
    bool italicState = false;
    bool underlineState = false;
    bool titlesBuilt = false;
    // Set by loads and column moves, never cleared: from then on every update
    // refills the form view's titles.
    bool titlesChanged = false;
    FocusedPane lastFocusedPane = FocusedPane::None;
    bool flagColumnPresent = false;
    int flagColumn = 0;
    QPixmap flagPicture;
    int sortedColumn = 0;
    bool alternateColorOn = false;
};

// The parts of the window the update shows things on, outside the two grids.
class SheetUpdateView {
  public:
    virtual ~SheetUpdateView() = default;
    // Toolbar button "Bold", "Italic" or "Underline" shown pressed or up.
    virtual void showStyleButton(const QString& key, bool pressed) = 0;
    // Status bar panel 5.
    virtual void showPosition(const QString& text) = 0;
    // The statistics grid shows the figures of sheet column col, if any.
    virtual void showColumnStatistics(int col) = 0;
};

class SheetUpdate {
  public:
    // blank is the picture a value cell gets when its sheet cell has none.
    SheetUpdate(Grid& dataSheet, Grid& formView, SheetState& state, SheetUpdateView& view,
                QPixmap blank);

    void run();

    // "R / N": current row and number of data rows.
    static QString positionText(int currentRow, int rowCount);
    // Whether a Boolean column's cell text stands for true: the word True in
    // any case or a non-zero number (-1 from a database, 1 typed).
    static bool isTrueText(const QString& text);

  private:
    void showStyles();
    void fillValues();

    Grid& dataSheet_;
    Grid& formView_;
    SheetState& state_;
    SheetUpdateView& view_;
    QPixmap blank_;
};

}  // namespace sheet
