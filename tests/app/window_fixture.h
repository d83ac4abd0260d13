// One run of the program inside a test: the start-up module with scripted
// dialogs and desktop, on an in-memory file system whose program folder is
// /prog and whose per-user configuration folder is /user.
#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

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

inline const QString kProgramFolder = QStringLiteral("/prog");
inline const QString kUserFolder = QStringLiteral("/user");
inline const QString kProgramIni = QStringLiteral("/prog/VT.ini");
inline const QString kUserIni = QStringLiteral("/user/VT.ini");
// Program settings for a window at the top left, 12000 x 8500 twips, with
// the toolbar shown: big enough that the sheet's cells can be clicked.
inline const QByteArray kToolbarWindowIni =
    "[WINDOWS]\r\nTOP=0\r\nLEFT=0\r\nWIDTH=12000\r\nHEIGHT=8500\r\n"
    "[OPTION]\r\nTOOLBAR=1\r\n";

class WindowRun {
  public:
    // Starts the program (ModuleMain::Main) on fs, which outlives the run.
    explicit WindowRun(app::MemoryFileSystem& fs, const QStringList& arguments = {});

    app::MainWindow& window() const { return *module->mainWindow(); }

    ui::ScriptedDialogs dialogs;
    ui::ScriptedDesktop desktop;
    std::unique_ptr<Startup> module;
};

// The program started on an in-memory file system of its own that holds
// kToolbarWindowIni: the window the sheet-driving tests click on.
struct ToolbarWindowRun {
    ToolbarWindowRun();
    app::MainWindow& window() const { return run.window(); }

    app::MemoryFileSystem fs;
    WindowRun run;
};

// The lines of a settings text, without empty ones.
QStringList settingsLines(const QByteArray& text);
