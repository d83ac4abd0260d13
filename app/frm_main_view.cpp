// frmMain: the View menu's toggles (toolbar, SQL tab, grid lines, fields sub
// tree), the tab click rule and the Help menu (tips, web site, disclaimer,
// About).
#include <QAction>
#include <QFileInfo>
#include <QRandomGenerator>

#include "app/frm_main.h"
#include "app/module_main.h"
#include "sheet/grid.h"
#include "ui/caption_panel.h"
#include "ui/frm_about.h"
#include "ui/frm_tips.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/screen_centre.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"

namespace {

QAction* entry(ui::MainMenus* menus, const char* name) {
    return menus->action(QString::fromLatin1(name));
}

}  // namespace

void frmMain::connectViewHandlers() {
    connect(entry(menus, "mnuToolbar"), &QAction::triggered, this, &frmMain::mnuToolbar_Click);
    connect(entry(menus, "mnuSQLtab"), &QAction::triggered, this, &frmMain::mnuSQLtab_Click);
    connect(entry(menus, "mnuGrid"), &QAction::triggered, this, &frmMain::mnuGrid_Click);
    connect(entry(menus, "mnuFieldsTree"), &QAction::triggered, this,
            &frmMain::mnuFieldsTree_Click);
    connect(TabStrip1, &ui::TabStrip::tabClicked, this, &frmMain::TabStrip1_Click);
    connect(entry(menus, "mnuTip"), &QAction::triggered, this, &frmMain::mnuTip_Click);
    connect(entry(menus, "mnuWeb"), &QAction::triggered, this, &frmMain::mnuWeb_Click);
    connect(VTPan, &ui::CaptionPanel::webClicked, this, &frmMain::mnuWeb_Click);
    connect(entry(menus, "mnuDisclaimer"), &QAction::triggered, this,
            &frmMain::mnuDisclaimer_Click);
    connect(entry(menus, "mnuAbout"), &QAction::triggered, this, &frmMain::mnuAbout_Click);
}

// The panes under the toolbar move by its height; no full layout runs, so
// splitter positions the user chose stay where they are.
void frmMain::mnuToolbar_Click() {
    const bool shown = entry(menus, "mnuToolbar")->isChecked();
    const int T = toTwipsY(Toolbar->sizeHint().height());
    Toolbar->setVisible(shown);
    toolbarShown = shown;
    ui::shiftForToolbar(panes, shown, T);
    applyPanes();
}

void frmMain::mnuSQLtab_Click() {
    sqlTabShown = entry(menus, "mnuSQLtab")->isChecked();
    TabStrip1->setTabVisible(ui::TabStrip::Sql, sqlTabShown);
    TabStrip1->hide();
    TabStrip1->show();
}

void frmMain::mnuGrid_Click() {
    // The action has already flipped its check mark: it now says what to show.
    fa->setGridLines(entry(menus, "mnuGrid")->isChecked() ? 1 : 0);
}

void frmMain::mnuFieldsTree_Click() {
    fieldsSubtree = entry(menus, "mnuFieldsTree")->isChecked();
}

// Only the SQL page keeps the SQL-mode indicator; the unlocked state of the
// SQL box is not touched either way.
void frmMain::TabStrip1_Click() {
    if (TabStrip1->currentPage() != ui::TabStrip::Sql) {
        SBar->setPanelText(2, QString());
    }
}

void frmMain::ShowTips(bool modal) {
    auto* tips = new ui::frmTips(module_.showTipsAtStartup, desktop_,
                                 QRandomGenerator::global()->generateDouble(), this);
    tips->setAttribute(Qt::WA_DeleteOnClose);
    centreOnScreen(tips);
    if (modal) {
        tips->exec();
    } else {
        tips->show();
    }
}

void frmMain::mnuWeb_Click() {
    desktop_.openUrl(QString::fromLatin1(ui::kMakerWebAddress));
}

void frmMain::mnuDisclaimer_Click() {
    desktop_.startTextEditor(disclaimerPath());
}

// Beside the program in a build; an installed program finds it with its
// documentation, where installations keep such files.
QString frmMain::disclaimerPath() const {
    const QString folder = module_.programFolder();
    const QString beside = folder + QStringLiteral("/License.txt");
    const QString installed = folder + QStringLiteral("/../share/doc/tablescope/License.txt");
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) {
        return QFileInfo(installed).absoluteFilePath();
    }
    return beside;
}

// One About window at a time: asking again brings the open one forward.
void frmMain::mnuAbout_Click() {
    if (!about_) {
        about_ = new ui::frmAbout(desktop_, this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        centreOnScreen(about_);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

// The window is polished and sized first: its style and layout settle its
// size only then, and the centre must be taken from that size.
void frmMain::centreOnScreen(QWidget* window) const {
    const QList<QRect> screens = desktop_.screens();
    if (screens.isEmpty()) {
        return;
    }
    window->ensurePolished();
    window->adjustSize();
    window->move(ui::centredOnScreen(window->frameGeometry().size(), screens.first()));
}
