#include "ui/help_menu.h"

#include <QAction>
#include <QFileInfo>
#include <QRandomGenerator>

#include "ui/about_window.h"
#include "ui/desktop.h"
#include "ui/maker_info.h"
#include "ui/menu_actions.h"
#include "ui/screen_centre.h"
#include "ui/tips_window.h"

namespace ui {

HelpMenu::HelpMenu(QWidget& window, const MenuActions& menus, Desktop& desktop,
                   bool& showTipsAtStartup, QString programFolder)
    : QObject(&window),
      window_(window),
      desktop_(desktop),
      showTipsAtStartup_(showTipsAtStartup),
      programFolder_(std::move(programFolder)) {
    connect(menus.tipOfTheDay, &QAction::triggered, this, [this] { showTips(true); });
    connect(menus.web, &QAction::triggered, this, &HelpMenu::openWebSite);
    connect(menus.disclaimer, &QAction::triggered, this, &HelpMenu::showDisclaimer);
    connect(menus.about, &QAction::triggered, this, &HelpMenu::showAbout);
}

void HelpMenu::showTips(bool modal) {
    auto* tips = new TipsWindow(showTipsAtStartup_, desktop_,
                                QRandomGenerator::global()->generateDouble(), &window_);
    tips->setAttribute(Qt::WA_DeleteOnClose);
    centreOnScreen(tips);
    if (modal) {
        tips->exec();
    } else {
        tips->show();
    }
}

void HelpMenu::openWebSite() {
    desktop_.openUrl(QString::fromLatin1(kMakerWebAddress));
}

void HelpMenu::showDisclaimer() {
    desktop_.startTextEditor(disclaimerPath());
}

// Beside the program in a build; an installed program finds it with its
// documentation, where installations keep such files.
QString HelpMenu::disclaimerPath() const {
    const QString beside = programFolder_ + QStringLiteral("/License.txt");
    const QString installed =
        programFolder_ + QStringLiteral("/../share/doc/tablescope/License.txt");
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) {
        return QFileInfo(installed).absoluteFilePath();
    }
    return beside;
}

void HelpMenu::showAbout() {
    if (!about_) {
        about_ = new AboutWindow(desktop_, &window_);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        centreOnScreen(about_);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

// The window is polished and sized first: its style and layout settle its
// size only then, and the centre must be taken from that size.
void HelpMenu::centreOnScreen(QWidget* window) const {
    const QList<QRect> screens = desktop_.screens();
    if (screens.isEmpty()) {
        return;
    }
    window->ensurePolished();
    window->adjustSize();
    window->move(centredOnScreen(window->frameGeometry().size(), screens.first()));
}

}  // namespace ui
