#include "app/recent_files_menu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "app/file_system.h"
#include "app/sheet_files.h"
#include "ui/dialogs.h"
#include "ui/menu_actions.h"

namespace app {

namespace {

// Long paths keep their start and the file's name.
constexpr int kMaxCaptionLength = 70;

QString caption(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > kMaxCaptionLength) {
        const int tail = kMaxCaptionLength / 2;
        shown = shown.left(kMaxCaptionLength - tail - 1) + QChar(0x2026) + shown.right(tail);
    }
    // An ampersand in a name is shown, not taken as the access key.
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace

RecentFilesMenu::RecentFilesMenu(const ui::MenuActions& menus, SheetFiles& files,
                                 const FileSystem& fileSystem, ui::Dialogs& dialogs,
                                 QObject* parent)
    : QObject(parent), menus_(menus), files_(files), fileSystem_(fileSystem), dialogs_(dialogs) {
    for (int i = 0; i < int(menus_.recentFiles.size()); ++i) {
        connect(menus_.recentFiles[std::size_t(i)], &QAction::triggered, this,
                [this, i] { openEntry(i); });
    }
    connect(&files_, &SheetFiles::opened, this, &RecentFilesMenu::remember);
    connect(&files_, &SheetFiles::saved, this, &RecentFilesMenu::remember);
}

void RecentFilesMenu::remember(const QString& path) {
    list_.add(QFileInfo(path).absoluteFilePath());
    show();
}

void RecentFilesMenu::show() {
    const QStringList& paths = list_.paths();
    for (int i = 0; i < int(menus_.recentFiles.size()); ++i) {
        QAction* entry = menus_.recentFiles[std::size_t(i)];
        const bool used = i < paths.size();
        entry->setText(used ? caption(i, paths[i]) : QString());
        entry->setToolTip(used ? QDir::toNativeSeparators(paths[i]) : QString());
        entry->setVisible(used);
    }
    menus_.recentFilesSeparator->setVisible(!paths.isEmpty());
}

void RecentFilesMenu::openEntry(int index) {
    if (index < 0 || index >= list_.paths().size()) {
        return;
    }
    const QString path = list_.paths()[index];
    if (!fileSystem_.fileExists(path)) {
        list_.remove(path);
        show();
        dialogs_.messageBox(QStringLiteral("'%1' was not found. It has been removed from the "
                                           "list of recent files.")
                                .arg(QDir::toNativeSeparators(path)),
                            QStringLiteral("Open Error"), ui::Dialogs::Icon::Exclamation,
                            ui::Dialogs::Buttons::Ok);
        return;
    }
    files_.openFile(path);
}

}  // namespace app
