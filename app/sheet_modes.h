// The data sheet's mouse modes (row and find, block and edit), drag mode, the
// grid pop-up menu and the "Rows" and "Cols" boxes. The boxes' rules live in
// ui::SizeBoxRules; here an accepted count is applied to the sheet and the
// menus, buttons and status panels are kept in step.
#pragma once

#include <QObject>
#include <QPoint>

class QLineEdit;

namespace sheet {
class FlagColumnController;
struct SheetState;
}  // namespace sheet
namespace ui {
class Dialogs;
struct MenuActions;
class MainMenus;
struct WindowControls;
}  // namespace ui

namespace app {

class SheetModes : public QObject {
    Q_OBJECT
  public:
    enum class MouseMode { RowAndFind = 0, BlockAndEdit = 1 };

    SheetModes(const ui::WindowControls& controls, const ui::MainMenus& menus,
               const ui::MenuActions& actions, const sheet::FlagColumnController& flags,
               sheet::SheetState& state, ui::Dialogs& dialogs, QObject* parent = nullptr);

    void setMouseMode(MouseMode mode);
    // Drag mode on or off, with the menu check, the button and panel 4.
    void setDragMode(bool on);
    // The size boxes show the sheet's data rows and columns.
    void showSheetSize();
    void showColumnCount();

  signals:
    // The sheet was resized from a box; the sheet update is due.
    void sheetResized();

  private:
    void connectControls();
    void onMouseUp(Qt::MouseButton button, const QPoint& globalPos);
    bool applyRowsBox();
    bool applyColsBox();
    void stepRows(bool up);
    void stepCols(bool up);

    const ui::WindowControls& controls_;
    const ui::MainMenus& menus_;
    const ui::MenuActions& actions_;
    const sheet::FlagColumnController& flags_;
    sheet::SheetState& state_;
    ui::Dialogs& dialogs_;
    QLineEdit* rowsBox_;
    QLineEdit* colsBox_;
};

}  // namespace app
