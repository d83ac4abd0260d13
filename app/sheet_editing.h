// The Edit menu and its pop-up twins. Cut, Copy and Paste go through the
// system clipboard as plain text and act on the pane that last had the
// focus; the sheet's own rules live in sheet::EditCommands. A command that
// reshapes the sheet announces it, and the window brings the size boxes, the
// form view and the analysis commands in step.
#pragma once

#include <QObject>

namespace analysis {
class StatisticsController;
}
namespace sheet {
class EditCommands;
class EditHistory;
class FlagColumnController;
struct SheetState;
}  // namespace sheet
namespace sql {
class SqlWorkbench;
}
namespace ui {
class Dialogs;
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace app {

class DatabaseBrowser;

class SheetEditing : public QObject {
    Q_OBJECT
  public:
    SheetEditing(const ui::WindowControls& controls, const ui::MenuActions& menus,
                 sheet::SheetState& state, sql::SqlWorkbench& sqlWorkbench,
                 const DatabaseBrowser& browser, analysis::StatisticsController& statistics,
                 sheet::FlagColumnController& flags, sheet::EditHistory& history,
                 ui::Dialogs& dialogs, QObject* parent = nullptr);

    void copy();
    // Ctrl+Shift+C: the block with its column titles as its first line.
    void copyWithTitles();
    void cut();
    void paste();
    void copyFromSheet();
    void pasteIntoSheet();
    void selectAll();
    void insertRow();
    void insertColumn();
    void deleteRows();
    void deleteColumn();
    void editColumnTitle();
    void setHeaderRow();
    void editCell();

  signals:
    // Rows or columns were inserted or deleted.
    void shapeChanged();
    // The first data row became the title row.
    void headerRowSet();

  private:
    void connectActions();
    bool sqlBoxActive() const;
    sheet::EditCommands commands() const;

    const ui::WindowControls& controls_;
    const ui::MenuActions& menus_;
    sheet::SheetState& state_;
    sql::SqlWorkbench& sqlWorkbench_;
    const DatabaseBrowser& browser_;
    analysis::StatisticsController& statistics_;
    sheet::FlagColumnController& flags_;
    sheet::EditHistory& history_;
    ui::Dialogs& dialogs_;
};

}  // namespace app
