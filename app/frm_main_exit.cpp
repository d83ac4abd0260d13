// frmMain: the exit command and the window's unload. Closing the window in
// any way goes through the exit command, which writes the thirteen settings
// keys in order and ends the program.
#include <QCloseEvent>

#include "app/frm_main.h"
#include "app/module_main.h"
#include "app/settings_file.h"

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!ending_) {
        Form_Unload();
    }
}

void frmMain::Form_Unload() {
    mnuExit_Click();
}

void frmMain::mnuExit_Click() {
    if (ending_) {
        return;
    }
    ending_ = true;
    writeSettings();
    desktop_.endProgram();
}

// A write that fails is skipped; the remaining keys are still attempted.
void frmMain::writeSettings() {
    const QRect frame = frameGeometry();
    const auto number = [](int value) { return app::settingsNumberText(value); };
    const auto boolean = [](bool value) { return app::settingsBooleanText(value); };
    const std::pair<const char*, QString> windows[] = {
        {"TOP", number(toTwipsY(frame.top()))},
        {"LEFT", number(toTwipsX(frame.left()))},
        {"WIDTH", number(toTwipsX(frame.width()))},
        {"HEIGHT", number(toTwipsY(frame.height()))},
        {"HBAR_TOP", number(panes[ui::Pane::HBar].top)},
        {"VBAR_LEFT", number(panes[ui::Pane::VBar].left)},
    };
    for (const auto& [key, value] : windows) {
        (void)settings_.WriteINI(QStringLiteral("WINDOWS"), QString::fromLatin1(key), value);
    }
    const std::pair<const char*, QString> options[] = {
        {"TOOLBAR", boolean(toolbarShown)},
        {"SQLTAB", boolean(sqlTabShown)},
        {"TABLETAB", boolean(false)},
        {"ALTERNATECOLOR", boolean(alternateColorOn)},
        {"FIELDSSUBTREE", boolean(fieldsSubtree)},
        {"SHOWTIP", boolean(module_.showTipsAtStartup)},
        {"LASTOPENPATH", lastOpenPath.trimmed()},
    };
    for (const auto& [key, value] : options) {
        (void)settings_.WriteINI(QStringLiteral("OPTION"), QString::fromLatin1(key), value);
    }
}
