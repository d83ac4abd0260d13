// Typed access to the main window's menu entries: one QAction per entry the
// program acts on, filled once from the built menus. The entries keep their
// object names ("mnuOpen", "mnuPUSetFlag") for tests and the names table.
#pragma once

#include <vector>

class QAction;

namespace ui {

class MainMenus;

struct MenuActions {
    static constexpr int kRecentFileCount = 8;

    // File
    QAction* newSheet = nullptr;
    QAction* open = nullptr;
    QAction* saveAs = nullptr;
    QAction* exit = nullptr;
    // File: the recent files, most recent first, under their separator.
    std::vector<QAction*> recentFiles;
    QAction* recentFilesSeparator = nullptr;
    // Edit
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* copyWithTitles = nullptr;
    QAction* paste = nullptr;
    QAction* selectAll = nullptr;
    QAction* insertRow = nullptr;
    QAction* insertColumn = nullptr;
    QAction* deleteRows = nullptr;
    QAction* deleteColumn = nullptr;
    QAction* columnTitle = nullptr;
    QAction* find = nullptr;
    QAction* findNext = nullptr;
    QAction* findPrevious = nullptr;
    // View
    QAction* refresh = nullptr;
    QAction* toolbar = nullptr;
    QAction* alternateColor = nullptr;
    QAction* gridLines = nullptr;
    QAction* sqlTab = nullptr;
    QAction* hiddenQueries = nullptr;
    QAction* merge = nullptr;
    QAction* fieldsTree = nullptr;
    QAction* barChart = nullptr;
    QAction* filterRow = nullptr;
    QAction* cellViewer = nullptr;
    QAction* focusTree = nullptr;
    QAction* focusSheet = nullptr;
    QAction* focusSqlBox = nullptr;
    // Tools
    QAction* rowMode = nullptr;
    QAction* blockMode = nullptr;
    QAction* dragMode = nullptr;
    QAction* addFlagColumn = nullptr;
    QAction* setHeaderRow = nullptr;
    QAction* columnStatistics = nullptr;
    // Help
    QAction* tipOfTheDay = nullptr;
    QAction* web = nullptr;
    QAction* disclaimer = nullptr;
    QAction* about = nullptr;
    // The data sheet's pop-up menu
    QAction* popupEditCell = nullptr;
    QAction* popupCut = nullptr;
    QAction* popupCopy = nullptr;
    QAction* popupPaste = nullptr;
    QAction* popupInsertRow = nullptr;
    QAction* popupInsertColumn = nullptr;
    QAction* popupDeleteRows = nullptr;
    QAction* popupDeleteColumn = nullptr;
    QAction* popupColumnTitle = nullptr;
    QAction* popupFlagSeparator = nullptr;
    QAction* popupSetFlag = nullptr;
    QAction* popupHeaderRowSeparator = nullptr;
    QAction* popupHeaderRow = nullptr;
    // Column formats in the order of sheet::FormatCommands::columnFormats(),
    // in the Edit menu and in the pop-up menu.
    std::vector<QAction*> columnFormats;
    std::vector<QAction*> popupColumnFormats;

    // Every field set from `menus`; a missing entry is a programming error
    // caught by the menu tests.
    static MenuActions from(const MainMenus& menus);
};

}  // namespace ui
