// frmMain: the formatting commands of the data sheet and the font colour
// palette. The rules live in sheet::FormatCommands and ui::ColorPalette; these
// handlers pass the window's controls and state on and keep the menus and
// toolbar buttons in step.
#include <QAction>

#include "app/frm_main.h"
#include "sheet/format_commands.h"
#include "sheet/grid.h"
#include "ui/color_palette.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/toolbar_icons.h"

namespace {
QAction* entry(ui::MainMenus* menus, const char* name) {
    return menus->action(QString::fromLatin1(name));
}
}  // namespace

void frmMain::connectFormatHandlers() {
    for (const sheet::ColumnFormatEntry& f : sheet::FormatCommands::columnFormats()) {
        const QString format = QString::fromLatin1(f.format);
        for (const char* name : {f.menuEntry, f.popupEntry}) {
            connect(entry(menus, name), &QAction::triggered, this,
                    [this, format] { SetColumnFormat(format); });
        }
    }
    connect(entry(menus, "mnuAlternateColor"), &QAction::triggered, this,
            &frmMain::mnuAlternateColor_Click);
    connect(entry(menus, "mnuMerge"), &QAction::triggered, this, &frmMain::mnuMerge_Click);
    connect(PanColor, &ui::ColorPalette::swatchClicked, this, &frmMain::SSPanelColor_Click);
    connect(PanColor, &ui::ColorPalette::backgroundClicked, this, &frmMain::PanColor_Click);
}

bool frmMain::blockModeOn() const {
    return Toolbar->isPressed(QStringLiteral("BlockMode"));
}

// The remembered state decides, not the button's look after the click; the
// button is then made to show the new state.
void frmMain::toggleStyle(sheet::CellSetting style, const QString& key) {
    const bool on = sheet::FormatCommands(*fa, sheetState).toggleStyle(style, blockModeOn());
    Toolbar->setPressed(key, on);
}

void frmMain::mnuBold_Click() {
    toggleStyle(sheet::CellSetting::Bold, QStringLiteral("Bold"));
}

void frmMain::mnuItalic_Click() {
    toggleStyle(sheet::CellSetting::Italic, QStringLiteral("Italic"));
}

void frmMain::mnuUnderline_Click() {
    toggleStyle(sheet::CellSetting::Underline, QStringLiteral("Underline"));
}

void frmMain::mnuFontColor_Click() {
    sheet::FormatCommands(*fa, sheetState)
        .applyForeColor(uint32_t(PanColor->backColor(currentColor)), blockModeOn());
}

void frmMain::mnuSetFontColor_Click() {
    PanColor->open();
}

void frmMain::SSPanelColor_Click(int index) {
    if (index < 0 || index >= ui::ColorPalette::kSwatchCount) {
        return;
    }
    PanColor->hide();
    PanColor->markChosen(index);
    currentColor = index;
    mnuFontColor_Click();
    Toolbar->button(QStringLiteral("A"))->setIcon(ui::ToolbarIcons::fontColor(index));
}

void frmMain::PanColor_Click() {
    PanColor->hide();
}

void frmMain::SetColumnFormat(const QString& format) {
    sheet::FormatCommands(*fa, sheetState).setColumnFormat(format);
}

// The entry has flipped its own check mark; the sheet follows it.
void frmMain::mnuAlternateColor_Click() {
    SetAlternateColor(entry(menus, "mnuAlternateColor")->isChecked());
}

void frmMain::SetAlternateColor(bool on) {
    alternateColorOn = on;
    sheetState.alternateColorOn = on;
    applyAlternateColor();
}

void frmMain::mnuMerge_Click() {
    sheet::FormatCommands(*fa, sheetState).toggleMerge();
}
