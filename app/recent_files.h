// The recent files of the File menu: the last eight files opened or saved,
// most recent first, kept in the settings file's section "RECENT" as the keys
// "FILE1" to "FILE8".
#pragma once

#include <QStringList>

namespace app {

class SettingsFile;

class RecentFiles {
  public:
    static constexpr int kMaxFiles = 8;

    // Puts the file first; an entry already listed moves up, the ninth drops
    // off. A name the settings file could not give back whole is not kept.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& paths() const { return paths_; }

    void read(const SettingsFile& settings);
    // Writes the listed files, and empties keys of places no longer used so
    // that files dropped from the list do not come back at the next start.
    // Nothing is written while the list is and was empty.
    void write(SettingsFile& settings) const;

  private:
    QStringList paths_;
};

}  // namespace app
