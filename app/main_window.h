// The program's main window (object name "frmMain"). It builds the controls
// and the controllers that act on them, wires them to each other and to the
// menus and toolbar, and runs the window's lifecycle: load restores geometry
// and options from the settings file and puts the controls into their first
// state; a resize lays the panes out; closing the window in any way runs the
// exit command, which writes the settings back and ends the program. After
// every database result it runs the one "result loaded" sequence.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

#include "db/recordset_sink.h"
#include "sheet/edit_history.h"
#include "sheet/sheet_update.h"
#include "ui/menu_actions.h"
#include "ui/window_controls.h"

class Startup;
class QAction;
class QPlainTextEdit;
class QTreeWidget;

namespace analysis {
class StatisticsController;
}
namespace db {
class ProgressBarFeedback;
}
namespace sheet {
class FlagColumnController;
}
namespace sql {
class SqlWorkbench;
}
namespace ui {
class Desktop;
class Dialogs;
class HelpMenu;
class MainMenus;
class ViewLayout;
}  // namespace ui

namespace app {

class CellViewing;
class DatabaseBrowser;
class SettingsFile;
class SheetEditing;
class SheetFiles;
class SheetFormatting;
class SheetModes;
class SheetSearch;
class SheetUndo;

class PaneFocus;
class RecentFilesMenu;

class MainWindow : public QMainWindow, private sheet::SheetUpdateView {
    Q_OBJECT
  public:
    MainWindow(Startup& module, SettingsFile& settings, ui::Dialogs& dialogs, ui::Desktop& desktop,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Lifecycle (main_window_lifecycle.cpp).
    void load();
    void layOut();
    void exitProgram();
    // The empty sheet's shape and look at start-up.
    void setSheetDefaults();
    // A file named on the command line, opened once the window is up.
    void setStartupFile(const QString& fileName) { startupFile_ = fileName; }
    const QString& startupFile() const { return startupFile_; }
    // Whether the exit command has run: the window is ending.
    bool ending() const { return ending_; }

    // The sheet update: the form view, style buttons, status panel 5 and the
    // statistics display follow the sheet's current cell.
    void runSheetUpdate();
    // Runs the command of a toolbar button; a button without one does nothing.
    void runToolbarButton(QAction* button);

    const ui::WindowControls& controls() const { return controls_; }
    const ui::MenuActions& actions() const { return actions_; }
    ui::MainMenus& menus() const { return *menus_; }
    sheet::SheetState& sheetState() { return sheetState_; }

    DatabaseBrowser& browser() const { return *browser_; }
    sql::SqlWorkbench& sqlWorkbench() const { return *sqlWorkbench_; }
    SheetFiles& files() const { return *files_; }
    SheetModes& modes() const { return *modes_; }
    SheetEditing& editing() const { return *editing_; }
    SheetFormatting& formatting() const { return *formatting_; }
    SheetSearch& search() const { return *search_; }
    SheetUndo& undo() const { return *undo_; }
    RecentFilesMenu& recentFiles() const { return *recentFiles_; }
    CellViewing& cellViewing() const { return *cellViewing_; }
    PaneFocus& paneFocus() const { return *paneFocus_; }
    sheet::FlagColumnController& flags() const { return *flags_; }
    analysis::StatisticsController& statistics() const { return *statistics_; }
    ui::ViewLayout& viewLayout() const { return *viewLayout_; }
    ui::HelpMenu& help() const { return *help_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // SheetUpdateView
    void showStyleButton(const QString& key, bool pressed) override;
    void showPosition(const QString& text) override;
    void showColumnStatistics(int col) override;

    void createControllers();
    void connectControllers();
    void connectSheet();
    void connectFocus();
    void connectFileMenu();
    void createToolbarCommands();
    void keepMenuShortcutsInSqlBox();
    void resetPointerOver(std::initializer_list<QWidget*> widgets);
    void setFocusedPane(sheet::FocusedPane pane, bool cutOffered);

    // The one "result loaded" sequence of every database result.
    void onResultLoaded(const db::RecordsetSink::Outcome& outcome);
    void onFileOpened();
    void onNewSheet();
    void afterShapeChange();
    void afterUndo(const sheet::EditHistory::Change& change);
    void connectUndo();
    void reportIncomplete(const jet::Status& status);

    // Lifecycle helpers (main_window_lifecycle.cpp).
    void restoreGeometry();
    void restoreOptions();
    void correctFrameOnce();
    void writeSettings();
    int storedNumber(const char* section, const char* key) const;

    Startup& module_;
    SettingsFile& settings_;
    ui::Dialogs& dialogs_;
    ui::Desktop& desktop_;
    ui::MainMenus* menus_ = nullptr;
    ui::MenuActions actions_;
    ui::WindowControls controls_;
    sheet::SheetState sheetState_;
    std::unique_ptr<sheet::SheetUpdate> sheetUpdate_;
    std::unique_ptr<db::ProgressBarFeedback> loadProgress_;
    ui::ViewLayout* viewLayout_ = nullptr;
    sql::SqlWorkbench* sqlWorkbench_ = nullptr;
    DatabaseBrowser* browser_ = nullptr;
    sheet::FlagColumnController* flags_ = nullptr;
    analysis::StatisticsController* statistics_ = nullptr;
    SheetFiles* files_ = nullptr;
    SheetModes* modes_ = nullptr;
    SheetEditing* editing_ = nullptr;
    SheetFormatting* formatting_ = nullptr;
    SheetSearch* search_ = nullptr;
    SheetUndo* undo_ = nullptr;
    RecentFilesMenu* recentFiles_ = nullptr;
    CellViewing* cellViewing_ = nullptr;
    PaneFocus* paneFocus_ = nullptr;
    ui::HelpMenu* help_ = nullptr;
    QHash<QAction*, std::function<void()>> toolbarCommands_;
    QString startupFile_;
    QSize pendingOuterSize_;
    bool frameCorrected_ = false;
    bool ending_ = false;
    bool loaded_ = false;
};

}  // namespace app
