// The menu bar of the main window and the grid pop-up menu: every entry with
// its caption, access key, shortcut and initial state. Entries are QActions
// whose object names are the entries' names ("mnuOpen", "mnuMouseMode(1)"), so
// handlers and tests reach them by name.
#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace ui {

class MainMenus {
  public:
    // Fills `bar` with the menus; the pop-up menu is created as a child of
    // `owner` and never appears in the bar.
    MainMenus(QMenuBar* bar, QWidget* owner);

    // The entry of that name (menu-bar and pop-up entries, separators,
    // submenus); nullptr for an unknown name.
    QAction* action(const QString& name) const { return actions_.value(name); }
    QMenu* menu(const QString& name) const { return menus_.value(name); }
    QMenu* gridPopup() const { return popup_; }

  private:
    struct Entry;
    void addEntries(QMenu* parent, const Entry* first, const Entry* last);
    void buildBar(QMenuBar* bar);
    void buildPopup(QWidget* owner);
    QMenu* addSubmenu(QMenu* parent, const QString& name, const QString& caption);
    QAction* addItem(QMenu* parent, const Entry& entry);

    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QMenu* popup_ = nullptr;
};

}  // namespace ui
