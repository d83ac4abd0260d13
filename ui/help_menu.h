// The Help menu: the tip window, the maker's web site (also from the caption
// panel's address), the disclaimer file in the system text editor and the
// About window.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace ui {

class Desktop;
class AboutWindow;
struct MenuActions;

class HelpMenu : public QObject {
    Q_OBJECT
  public:
    // `showTipsAtStartup` is the option the tip window's check box changes;
    // `programFolder` is where the disclaimer is looked for.
    HelpMenu(QWidget& window, const MenuActions& menus, Desktop& desktop, bool& showTipsAtStartup,
             QString programFolder);

    // The tip window: modal from the menu (the call returns when it closes),
    // non-modal at start-up.
    void showTips(bool modal);
    void openWebSite();
    void showDisclaimer();
    // One About window at a time: asking again brings the open one forward.
    void showAbout();
    // The disclaimer file beside the program, or with its documentation.
    QString disclaimerPath() const;

  private:
    void centreOnScreen(QWidget* window) const;

    QWidget& window_;
    Desktop& desktop_;
    bool& showTipsAtStartup_;
    QString programFolder_;
    QPointer<AboutWindow> about_;
};

}  // namespace ui
