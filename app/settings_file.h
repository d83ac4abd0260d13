// The settings file VT.ini: sections in square brackets, then KEY=value lines.
// readValue ("GetINI") reads one value, writeValue ("WriteINI") replaces or
// adds one; every other line of the file, comments and unknown sections
// included, is kept byte for byte.
// Text is UTF-8. Section and key names compare without regard to case.
//
// Where the file lives: beside the program, unless the program's folder cannot
// be written (a system-wide install); then in the per-user configuration
// folder. Once a per-user file exists it is the one read and written, so the
// two copies never disagree.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QString>

#include "file_system.h"
// Through the source root: this header-only type needs no link to the engine.
#include "jet/status.h"

namespace app {

// The settings file's name, "VT.ini", inside folder.
QString settingsFilePath(const QString& folder);

// The per-user configuration folder (QStandardPaths::AppConfigLocation).
// Needs the application and organisation names set first.
QString userConfigFolder();

// Where the settings are read from and written to.
struct SettingsLocation {
    QString readPath;   // the file GetINI reads (it may not exist)
    QString writePath;  // the file WriteINI writes
    QString userPath;   // the per-user file, the fallback when writePath fails
};

// Picks the settings file for a program started from programFolder:
// - the per-user file, for reading and writing, when it already exists;
// - else the program folder's file when that folder is writable;
// - else read the program folder's file and write the per-user one.
SettingsLocation chooseSettingsLocation(const FileSystem& fileSystem, const QString& programFolder,
                                        const QString& userFolder);

// Key and value pairs of one section, in the file's order.
using SettingsEntries = std::vector<std::pair<QString, QString>>;

class SettingsFile {
  public:
    // The longest value GetINI returns, in characters.
    static constexpr int kMaxValueLength = 254;

    SettingsFile(FileSystem& fileSystem, SettingsLocation location);

    // The value of sKey in section sApp, trimmed of surrounding spaces and tabs
    // and cut to kMaxValueLength characters; the empty string when the file,
    // section or key is missing or the file cannot be read. Never fails.
    QString readValue(const QString& section, const QString& key) const;

    // Sets sKey in section sApp to value (trimmed of surrounding spaces),
    // replacing an existing value in place or adding the key at the end of its
    // section, creating the section and the file as needed. Fails, leaving
    // the file as it was, on names or values that would break the file's line
    // structure (line breaks, "=" or brackets in names), on an unreadable
    // existing file, and when neither the chosen file nor the per-user file
    // can be written. After the first write that falls back to the per-user
    // file, reads and writes use that file.
    jet::Status writeValue(const QString& section, const QString& key, const QString& value);

    // Every key of a section with its value (read as readValue reads one),
    // in the file's order; empty when the section or file is missing.
    SettingsEntries readSection(const QString& section) const;
    // Makes `entries` the section's keys, in one write of the file: keys it
    // held before and `entries` leaves out are dropped; other lines of the
    // section and every other section are kept. The same checks as
    // writeValue, for every entry, before anything is written.
    jet::Status replaceSection(const QString& section, const SettingsEntries& entries);

    const SettingsLocation& location() const { return location_; }

  private:
    jet::Status writeTo(const QString& path, const QByteArray& text);
    jet::Result<QByteArray> textToChange() const;

    FileSystem& fileSystem_;
    SettingsLocation location_;
};

// A settings text read as a number: the longest leading decimal number (leading
// spaces and a sign allowed, full stop as decimal separator, no exponent).
// Empty or non-numeric text gives 0; "12px" gives 12. The result is finite.
double settingsNumber(const QString& text);

// settingsNumber rounded to the nearest whole number and held within int range.
int settingsWholeNumber(const QString& text);

// A settings text read as a Boolean: "True" or "False" in any letter case, or
// a whole decimal number (0 false, any other true), surrounding spaces allowed.
// Any other text, the empty one included, gives no value: the caller keeps its
// field as it was.
std::optional<bool> settingsBoolean(const QString& text);

// The text forms written: numbers in plain decimal with a full stop and no
// exponent ("1200", "-60", "1234.5"; not-a-number and infinities as "0"),
// Booleans as "True" / "False".
QString settingsNumberText(double value);
QString settingsBooleanText(bool value);

}  // namespace app
