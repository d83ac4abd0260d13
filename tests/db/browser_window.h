// The real program inside a test, for the browser and SQL box tests: the
// start-up module on an in-memory settings folder with scripted dialogs and
// desktop, and helpers that open a file through the open command, click tree
// nodes and read the sheet back.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

#include "analysis/statistics_controller.h"
#include "app/database_browser.h"
#include "app/file_system_memory.h"
#include "app/main_window.h"
#include "app/sheet_editing.h"
#include "app/sheet_files.h"
#include "app/sheet_formatting.h"
#include "app/sheet_modes.h"
#include "app/startup.h"
#include "sheet/flag_column_controller.h"
#include "sheet/format_commands.h"
#include "sql/sql_workbench.h"
#include "ui/help_menu.h"
#include "ui/main_toolbar.h"
#include "ui/scripted_desktop.h"
#include "ui/scripted_dialogs.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/view_layout.h"

class QTreeWidgetItem;

class BrowserWindow {
  public:
    // `settings`, when given, is the program folder's settings file at start.
    explicit BrowserWindow(const QByteArray& settings = QByteArray());
    ~BrowserWindow();

    app::MainWindow& w() const { return *module_->mainWindow(); }

    // Chooses "&Open..." and picks the file in the scripted open dialog (the
    // dialog's own record is taken out of dialogs.asked, so tests see only
    // what the open command asks after it). True when a database was opened.
    bool open(const std::string& path);

    QTreeWidgetItem* node(const QString& key) const;
    // A mouse click (or double-click) on the node's row in TreeView1.
    void click(const QString& key);
    void doubleClick(const QString& key);
    // Presses a button of the SQL tab the way a user does.
    void press(const char* buttonName);

    // Row r of the sheet, cell texts joined by "|".
    QString row(int r) const;
    // The keys of every node in tree order.
    QStringList keys() const;
    // The key of the node under "Queries" that shows `name`; empty if none.
    QString queryKey(const QString& name) const;
    // The last message box asked, as "title|text"; empty when none.
    QString lastMessage() const;
    int messageCount() const;

    // Files the window writes stay in memory; the shared test databases are
    // found on disk, so the open command sees them.
    class TestFileSystem : public app::MemoryFileSystem {
      public:
        bool fileExists(const QString& path) const override;
    };

    TestFileSystem fs;
    ui::ScriptedDialogs dialogs;
    ui::ScriptedDesktop desktop;

  private:
    std::unique_ptr<Startup> module_;
};
