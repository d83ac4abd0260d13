// frmMain: the main toolbar's click dispatch. Each key runs the command of
// its menu twin; the two-state buttons have already flipped when the click
// arrives, and the commands below decide whether that look stands.
#include <QAction>

#include <algorithm>
#include <iterator>

#include "app/frm_main.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"

namespace {

struct ToolbarCommand {
    const char* key;
    void (*run)(frmMain& w);
};

QAction* entry(const frmMain& w, const char* name) {
    return w.menus->action(QString::fromLatin1(name));
}

// Compared in this order; the first matching key runs. "Save", "Cut" and
// "Paste" have no command, so their clicks do nothing.
const ToolbarCommand kCommands[] = {
    {"New", [](frmMain& w) { w.mnuNew_Click(); }},
    {"Open", [](frmMain& w) { w.mnuOpen_Click(); }},
    {"Bold", [](frmMain& w) { w.mnuBold_Click(); }},
    {"Italic", [](frmMain& w) { w.mnuItalic_Click(); }},
    {"Underline", [](frmMain& w) { w.mnuUnderline_Click(); }},
    {"A", [](frmMain& w) { w.mnuFontColor_Click(); }},
    {"Acolor", [](frmMain& w) { w.mnuSetFontColor_Click(); }},
    // Whatever the Edit menu's Copy is connected to runs, enabled state included.
    {"Copy", [](frmMain& w) { entry(w, "mnuEditCopy")->trigger(); }},
    {"RowMode",
     [](frmMain& w) {
         w.SetMouseMode(0);
         if (entry(w, "mnuMouseMode(0)")->isChecked()) {
             w.Toolbar->setPressed(QStringLiteral("RowMode"), true);
         }
     }},
    {"BlockMode",
     [](frmMain& w) {
         w.SetMouseMode(1);
         if (entry(w, "mnuMouseMode(1)")->isChecked()) {
             w.Toolbar->setPressed(QStringLiteral("BlockMode"), true);
         }
     }},
    // The look the click has just given the button decides; the menu follows.
    {"DragMode",
     [](frmMain& w) { w.SetDragMode(w.Toolbar->isPressed(QStringLiteral("DragMode"))); }},
    {"AlternateColor",
     [](frmMain& w) {
         w.SetAlternateColor(w.Toolbar->isPressed(QStringLiteral("AlternateColor")));
     }},
    {"Merge", [](frmMain& w) { w.mnuMerge_Click(); }},
    {"Flag", [](frmMain& w) { w.mnuPUSetFlag_Click(); }},
    {"Barchart", [](frmMain& w) { w.mnuBarChart_Click(); }},
    {"Statistics",
     [](frmMain& w) {
         if (entry(w, "mnuAnalysis")->isEnabled()) {
             w.mnuAnalysis_Click();
         }
         // Pressed even when nothing ran: the button says the figures are shown.
         w.Toolbar->setPressed(QStringLiteral("Statistics"), true);
     }},
};

}  // namespace

void frmMain::connectToolbarHandlers() {
    connect(Toolbar, &ui::MainToolbar::buttonClicked, this, &frmMain::Toolbar_ButtonClick);
}

void frmMain::Toolbar_ButtonClick(const QString& key) {
    const auto* found =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [&key](const ToolbarCommand& c) { return key == QLatin1String(c.key); });
    if (found != std::end(kCommands)) {
        found->run(*this);
    }
}
