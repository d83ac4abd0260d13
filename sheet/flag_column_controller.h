// The flag column in one place: the column itself, the "Add Flag Column"
// entry (`mnuAddFlagCol`) and the toolbar's Flag button are kept in step, and
// the sheet's flag commands (double-click, Set Flag, column moves and
// resizes) act through here. While the sheet has its flag column the entry
// is disabled and the button shows.
#pragma once

#include <QObject>
#include <QPixmap>

class QAction;

namespace sheet {

class Grid;
struct SheetState;

class FlagColumnController : public QObject {
    Q_OBJECT
  public:
    FlagColumnController(Grid& dataSheet, Grid& formView, SheetState& state, QAction& addEntry,
                         QAction& flagButton, QPixmap blank, QObject* parent = nullptr);

    // Every database result gets its flag column.
    void addToResult();
    // "Add Flag Column": a sheet from a file or New has none until the user
    // adds one.
    void addByHand();
    // A file sheet starts without a flag column.
    void startWithout();
    // Saved files never hold the flag column: it leaves the sheet itself.
    void removeForSave();
    // The user deleted the flag column; the entry is offered again.
    void deletedByUser();
    // Undo or Redo put the flag column back or took it away again: the entry
    // and the button follow the sheet's state.
    void followState();
    // Whether the entry and the button say the sheet has its flag column.
    bool shownPresent() const;

    void toggleCurrentRow();
    void toggleSelectedRows();
    // After the sort markers followed a moved column.
    void afterColumnMoved();
    void afterColumnResized();

  signals:
    // The sheet's column count changed (the "Cols" box follows).
    void columnsChanged();
    // The sheet update is due: flags or the flag column changed.
    void flagsChanged();

  private:
    void show(bool present);

    Grid& dataSheet_;
    Grid& formView_;
    SheetState& state_;
    QAction& addEntry_;
    QAction& flagButton_;
    QPixmap blank_;
};

}  // namespace sheet
