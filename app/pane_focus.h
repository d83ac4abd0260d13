// Moving between the window's panes by keyboard: View > Go to Database Tree
// (Ctrl+1), Go to Data Sheet (Ctrl+2) and Go to SQL Box (Ctrl+3), and the
// Tab order tree, sheet, tabs, the current tab's page (the SQL box on the
// "SQL" tab). Tab leaves the sheet and the SQL box rather than moving
// between cells or indenting; arrow keys move between cells.
#pragma once

#include <QObject>

namespace ui {
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace app {

class PaneFocus : public QObject {
    Q_OBJECT
  public:
    PaneFocus(const ui::WindowControls& controls, const ui::MenuActions& menus,
              QObject* parent = nullptr);

    // Each does nothing while its pane is not shown (the tree in file mode,
    // the SQL box while the "SQL" tab is hidden); the SQL box's tab is made
    // the current one first.
    void focusTree();
    void focusSheet();
    void focusSqlBox();

  private:
    void setTabOrder();

    const ui::WindowControls& controls_;
};

}  // namespace app
