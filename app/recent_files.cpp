#include "app/recent_files.h"

#include <QDir>

#include "app/settings_file.h"

namespace app {

namespace {

const QString kSection = QStringLiteral("RECENT");

QString key(int index) {
    return QStringLiteral("FILE%1").arg(index + 1);
}

}  // namespace

void RecentFiles::add(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    if (clean.isEmpty() || clean.size() > SettingsFile::kMaxValueLength ||
        clean != clean.trimmed()) {
        return;
    }
    paths_.removeAll(clean);
    paths_.prepend(clean);
    while (paths_.size() > kMaxFiles) {
        paths_.removeLast();
    }
}

void RecentFiles::remove(const QString& path) {
    paths_.removeAll(QDir::cleanPath(path));
}

void RecentFiles::read(const SettingsFile& settings) {
    paths_.clear();
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = settings.readValue(kSection, key(i));
        if (!path.isEmpty() && !paths_.contains(path)) {
            paths_.append(path);
        }
    }
}

void RecentFiles::write(SettingsFile& settings) const {
    for (int i = 0; i < kMaxFiles; ++i) {
        if (i < paths_.size()) {
            (void)settings.writeValue(kSection, key(i), paths_[i]);
        } else if (!settings.readValue(kSection, key(i)).isEmpty()) {
            (void)settings.writeValue(kSection, key(i), QString());
        }
    }
}

}  // namespace app
