// frmMain: the data sheet's handlers that keep the window in step with it
// (sheet update, focus).
#include <QAction>

#include "app/frm_main.h"
#include "sheet/grid.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/status_panels.h"

namespace {
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kUp = 38;
constexpr int kDown = 40;

// The grid reports Qt key codes; the sheet update runs for these four only.
int windowsKeyCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_PageUp:
            return kPageUp;
        case Qt::Key_PageDown:
            return kPageDown;
        case Qt::Key_Up:
            return kUp;
        case Qt::Key_Down:
            return kDown;
        default:
            return 0;
    }
}
}  // namespace

void frmMain::SheetUpdate() {
    sheetUpdate_->run();
}

void frmMain::showStyleButton(const QString& key, bool pressed) {
    Toolbar->setPressed(key, pressed);
}

void frmMain::showPosition(const QString& text) {
    SBar->setPanelText(5, text);
}

void frmMain::showColumnStatistics(int col) {
    StatisticsDisplay(col);
}

void frmMain::fa_Click() {
    SheetUpdate();
}

void frmMain::fa_KeyDown(int key) {
    const int code = windowsKeyCode(key);
    if (code == kPageUp || code == kPageDown || code == kUp || code == kDown) {
        SheetUpdate();
    }
}

void frmMain::fa_GotFocus() {
    sheetState.lastFocusedPane = 1;
    menus->action(QStringLiteral("mnuEditCut"))->setEnabled(true);
}

void frmMain::fb_GotFocus() {
    sheetState.lastFocusedPane = 2;
    menus->action(QStringLiteral("mnuEditCut"))->setEnabled(false);
}
