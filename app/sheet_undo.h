// Undo and Redo in the Edit menu (`mnuUndo`, `mnuRedo`). Edits of the data
// sheet are recorded in one history (sheet::EditHistory): the Edit commands
// and the formatting commands record theirs, and this class records cells
// the user types into. The entries name the step they would take back
// ("&Undo Delete Rows") and are enabled only when there is one. While the
// SQL box is the last active pane they act on its text instead. Whatever
// the history cannot follow (a new result, a sort, a column move, the size
// boxes) clears it.
#pragma once

#include <QObject>

#include "sheet/edit_history.h"

namespace sheet {
struct SheetState;
}
namespace ui {
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace app {

class SheetUndo : public QObject {
    Q_OBJECT
  public:
    SheetUndo(const ui::WindowControls& controls, const ui::MenuActions& menus,
              sheet::SheetState& state, QObject* parent = nullptr);

    sheet::EditHistory& history() { return history_; }
    void undo();
    void redo();
    // The sheet changed in a way the history cannot follow.
    void clear();
    // The entries' captions and enabled state, for the pane now active.
    void showEntries();

  signals:
    // An undo or redo changed the sheet; the window brings the rest in step.
    void applied(const sheet::EditHistory::Change& change);

  private:
    bool sqlBoxActive() const;
    void select(const sheet::EditHistory::Change& change);

    const ui::WindowControls& controls_;
    const ui::MenuActions& menus_;
    sheet::SheetState& state_;
    sheet::EditHistory history_;
};

}  // namespace app
