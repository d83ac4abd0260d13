#include "ui/menu_actions.h"

#include <QString>

#include "sheet/format_commands.h"
#include "ui/main_menus.h"

namespace ui {

namespace {

struct Binding {
    QAction* MenuActions::*field;
    const char* name;
};

// The one place where entry names meet the typed fields.
const Binding kBindings[] = {
    {&MenuActions::newSheet, "mnuNew"},
    {&MenuActions::open, "mnuOpen"},
    {&MenuActions::saveAs, "mnuSaveAs"},
    {&MenuActions::recentFilesSeparator, "mnuSpace11"},
    {&MenuActions::exit, "mnuExit"},
    {&MenuActions::undo, "mnuUndo"},
    {&MenuActions::redo, "mnuRedo"},
    {&MenuActions::cut, "mnuEditCut"},
    {&MenuActions::copy, "mnuEditCopy"},
    {&MenuActions::copyWithTitles, "mnuEditCopyTitles"},
    {&MenuActions::paste, "mnuEditPaste"},
    {&MenuActions::selectAll, "mnuSelectAll"},
    {&MenuActions::insertRow, "mnuInsertRow"},
    {&MenuActions::insertColumn, "mnuInsertCol"},
    {&MenuActions::deleteRows, "mnuDeleteRow"},
    {&MenuActions::deleteColumn, "mnuDeleteCol"},
    {&MenuActions::columnTitle, "mnuEditColTitle"},
    {&MenuActions::find, "mnuFind"},
    {&MenuActions::findNext, "mnuFindNext"},
    {&MenuActions::findPrevious, "mnuFindPrevious"},
    {&MenuActions::refresh, "mnuRefresh"},
    {&MenuActions::toolbar, "mnuToolbar"},
    {&MenuActions::alternateColor, "mnuAlternateColor"},
    {&MenuActions::gridLines, "mnuGrid"},
    {&MenuActions::sqlTab, "mnuSQLtab"},
    {&MenuActions::hiddenQueries, "mnuHiddenQueries"},
    {&MenuActions::merge, "mnuMerge"},
    {&MenuActions::fieldsTree, "mnuFieldsTree"},
    {&MenuActions::barChart, "mnuBarChart"},
    {&MenuActions::filterRow, "mnuFilterRow"},
    {&MenuActions::cellViewer, "mnuCellViewer"},
    {&MenuActions::focusTree, "mnuFocusTree"},
    {&MenuActions::focusSheet, "mnuFocusSheet"},
    {&MenuActions::focusSqlBox, "mnuFocusSql"},
    {&MenuActions::rowMode, "mnuMouseMode(0)"},
    {&MenuActions::blockMode, "mnuMouseMode(1)"},
    {&MenuActions::dragMode, "mnuDragDrop"},
    {&MenuActions::addFlagColumn, "mnuAddFlagCol"},
    {&MenuActions::setHeaderRow, "mnuSetColHeaderRow"},
    {&MenuActions::columnStatistics, "mnuAnalysis"},
    {&MenuActions::tipOfTheDay, "mnuTip"},
    {&MenuActions::web, "mnuWeb"},
    {&MenuActions::disclaimer, "mnuDisclaimer"},
    {&MenuActions::about, "mnuAbout"},
    {&MenuActions::popupEditCell, "mnuPUEditCell"},
    {&MenuActions::popupCut, "mnuPUCut"},
    {&MenuActions::popupCopy, "mnuPUCopy"},
    {&MenuActions::popupPaste, "mnuPUPaste"},
    {&MenuActions::popupInsertRow, "mnuPUInsertRow"},
    {&MenuActions::popupInsertColumn, "mnuPUInsertCol"},
    {&MenuActions::popupDeleteRows, "mnuPUDeleteRow"},
    {&MenuActions::popupDeleteColumn, "mnuPUDeleteCol"},
    {&MenuActions::popupColumnTitle, "mnuPUColTitle"},
    {&MenuActions::popupFlagSeparator, "mnuPUSpace3"},
    {&MenuActions::popupSetFlag, "mnuPUSetFlag"},
    {&MenuActions::popupHeaderRowSeparator, "mnuPUSpace4"},
    {&MenuActions::popupHeaderRow, "mnuPUColHeader"},
};

}  // namespace

MenuActions MenuActions::from(const MainMenus& menus) {
    MenuActions actions;
    for (const Binding& b : kBindings) {
        actions.*b.field = menus.action(QString::fromLatin1(b.name));
    }
    for (const sheet::ColumnFormatEntry& f : sheet::FormatCommands::columnFormats()) {
        actions.columnFormats.push_back(menus.action(QString::fromLatin1(f.menuEntry)));
        actions.popupColumnFormats.push_back(menus.action(QString::fromLatin1(f.popupEntry)));
    }
    for (int i = 1; i <= kRecentFileCount; ++i) {
        actions.recentFiles.push_back(menus.action(QStringLiteral("mnuFile%1").arg(i)));
    }
    return actions;
}

}  // namespace ui
