// frmMain: the data sheet's commands. The rules live in the sheet's command
// classes; these handlers only pass the window's controls and state on and
// keep the menus and buttons in step.
#include <QAction>
#include <QLineEdit>

#include "app/frm_main.h"
#include "db/flag_column.h"
#include "sheet/flag_commands.h"
#include "sheet/grid.h"
#include "sheet/sort_markers.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"

namespace {
QAction* entry(ui::MainMenus* menus, const char* name) {
    return menus->action(QString::fromLatin1(name));
}
}  // namespace

void frmMain::connectSheetCommandHandlers() {
    connect(fa, &sheet::Grid::doubleClickedCell, this, &frmMain::fa_DblClick);
    connect(fa, &sheet::Grid::beforeSort, this, &frmMain::fa_BeforeSort);
    connect(fa, &sheet::Grid::afterSort, this, &frmMain::fa_AfterSort);
    connect(fa, &sheet::Grid::afterMoveColumn, this, &frmMain::fa_AfterMoveColumn);
    connect(fa, &sheet::Grid::afterUserResize, this, &frmMain::fa_AfterUserResize);
    connect(entry(menus, "mnuPUSetFlag"), &QAction::triggered, this, &frmMain::mnuPUSetFlag_Click);
    connect(entry(menus, "mnuAddFlagCol"), &QAction::triggered, this,
            &frmMain::mnuAddFlagCol_Click);
}

void frmMain::fa_DblClick() {
    if (sheet::FlagCommands(*fa, *fb, sheetState, ImgNone).toggleCurrentRow()) {
        SheetUpdate();
    }
}

void frmMain::mnuPUSetFlag_Click() {
    if (sheet::FlagCommands(*fa, *fb, sheetState, ImgNone).toggleSelectedRows() > 0) {
        SheetUpdate();
    }
}

// A sheet from a file or New has no flag column until the user adds one.
void frmMain::mnuAddFlagCol_Click() {
    if (sheetState.flagColumnPresent) {
        return;
    }
    db::FlagColumn::add(*fa, *fb, sheetState);
    Toolbar->sizeBoxes()->txtCol->setText(QString::number(fa->cols()));
    Toolbar->button(QStringLiteral("Flag"))->setVisible(true);
    entry(menus, "mnuAddFlagCol")->setEnabled(false);
    sheetState.titlesBuilt = false;
    SheetUpdate();
}

void frmMain::fa_BeforeSort(int, int) {
    sheet::SortMarkers(*fa, sheetState, ImgU, ImgD, ImgNone).beforeSort();
}

void frmMain::fa_AfterSort(int col, int order) {
    sheet::SortMarkers(*fa, sheetState, ImgU, ImgD, ImgNone).afterSort(col, order);
}

void frmMain::fa_AfterMoveColumn(int col, int position) {
    sheet::SortMarkers(*fa, sheetState, ImgU, ImgD, ImgNone).afterMove(col, position);
    sheet::FlagCommands(*fa, *fb, sheetState, ImgNone).refindColumn();
}

void frmMain::fa_AfterUserResize(int, int) {
    sheet::FlagCommands(*fa, *fb, sheetState, ImgNone).keepWidth();
}
