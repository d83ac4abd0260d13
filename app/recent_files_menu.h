// The File menu's recent files (mnuFile1 to mnuFile8, under the separator
// mnuSpace11): every file opened or saved goes to the top of the list; an
// entry opens its file, and one whose file is gone is taken off the list
// with a message.
#pragma once

#include <QObject>

#include "app/recent_files.h"

namespace ui {
class Dialogs;
struct MenuActions;
}  // namespace ui

namespace app {

class FileSystem;
class SheetFiles;

class RecentFilesMenu : public QObject {
    Q_OBJECT
  public:
    RecentFilesMenu(const ui::MenuActions& menus, SheetFiles& files, const FileSystem& fileSystem,
                    ui::Dialogs& dialogs, QObject* parent = nullptr);

    RecentFiles& list() { return list_; }
    // Shows the list's files in the menu entries; unused entries are hidden.
    void show();
    void openEntry(int index);

  private:
    void remember(const QString& path);

    const ui::MenuActions& menus_;
    SheetFiles& files_;
    const FileSystem& fileSystem_;
    ui::Dialogs& dialogs_;
    RecentFiles list_;
};

}  // namespace app
