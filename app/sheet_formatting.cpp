#include "app/sheet_formatting.h"

#include <QAction>
#include <QPalette>

#include "sheet/format_commands.h"
#include "sheet/grid.h"
#include "sheet/grid_codes.h"
#include "sheet/sheet_update.h"
#include "ui/color_palette.h"
#include "ui/main_toolbar.h"
#include "ui/menu_actions.h"
#include "ui/toolbar_icons.h"
#include "ui/window_controls.h"

namespace app {

SheetFormatting::SheetFormatting(const ui::WindowControls& controls, const ui::MenuActions& menus,
                                 sheet::SheetState& state, sheet::EditHistory& history,
                                 QObject* parent)
    : QObject(parent), controls_(controls), menus_(menus), state_(state), history_(history) {
    connectActions();
}

void SheetFormatting::connectActions() {
    const auto formats = sheet::FormatCommands::columnFormats();
    for (size_t i = 0; i < formats.size(); ++i) {
        const QString format = QString::fromLatin1(formats[i].format);
        for (QAction* entry : {menus_.columnFormats[i], menus_.popupColumnFormats[i]}) {
            connect(entry, &QAction::triggered, this, [this, format] { setColumnFormat(format); });
        }
    }
    // The entry has flipped its own check mark; the sheet follows it.
    connect(menus_.alternateColor, &QAction::triggered, this,
            [this] { setAlternateColor(menus_.alternateColor->isChecked()); });
    connect(menus_.merge, &QAction::triggered, this, &SheetFormatting::toggleMerge);
    connect(controls_.fontPalette, &ui::ColorPalette::swatchClicked, this,
            &SheetFormatting::onSwatchClicked);
    connect(controls_.fontPalette, &ui::ColorPalette::backgroundClicked, controls_.fontPalette,
            &QWidget::hide);
}

bool SheetFormatting::blockModeOn() const {
    return controls_.toolbar->buttons().blockMode->isChecked();
}

// The remembered state decides, not the button's look after the click; the
// button is then made to show the new state.
void SheetFormatting::toggleStyle(sheet::CellSetting style, QAction* button) {
    const bool on = sheet::FormatCommands(*controls_.dataSheet, state_, &history_)
                        .toggleStyle(style, blockModeOn());
    button->setChecked(on);
}

void SheetFormatting::toggleBold() {
    toggleStyle(sheet::CellSetting::Bold, controls_.toolbar->buttons().bold);
}

void SheetFormatting::toggleItalic() {
    toggleStyle(sheet::CellSetting::Italic, controls_.toolbar->buttons().italic);
}

void SheetFormatting::toggleUnderline() {
    toggleStyle(sheet::CellSetting::Underline, controls_.toolbar->buttons().underline);
}

void SheetFormatting::applyFontColor() {
    sheet::FormatCommands(*controls_.dataSheet, state_, &history_)
        .applyForeColor(uint32_t(controls_.fontPalette->backColor(currentColor_)), blockModeOn());
}

void SheetFormatting::openPalette() {
    controls_.fontPalette->open();
}

void SheetFormatting::onSwatchClicked(int index) {
    if (index < 0 || index >= ui::ColorPalette::kSwatchCount) {
        return;
    }
    controls_.fontPalette->hide();
    controls_.fontPalette->markChosen(index);
    currentColor_ = index;
    applyFontColor();
    controls_.toolbar->buttons().fontColor->setIcon(ui::ToolbarIcons::fontColor(index));
}

void SheetFormatting::setColumnFormat(const QString& format) {
    sheet::FormatCommands(*controls_.dataSheet, state_, &history_).setColumnFormat(format);
}

void SheetFormatting::setAlternateColor(bool on) {
    showAlternateColor(on);
    controls_.dataSheet->setBackColorAlternate(
        on ? sheet::kAlternateRowColor
           : sheet::fromQColor(controls_.client->palette().color(QPalette::Base)));
}

void SheetFormatting::showAlternateColor(bool on) {
    state_.alternateColorOn = on;
    menus_.alternateColor->setChecked(on);
    controls_.toolbar->buttons().alternateColor->setChecked(on);
}

void SheetFormatting::toggleMerge() {
    sheet::FormatCommands(*controls_.dataSheet, state_).toggleMerge();
}

}  // namespace app
