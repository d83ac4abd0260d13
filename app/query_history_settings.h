// The SQL box's query history in the settings file, section "SQLHISTORY":
// "DB1" ... "DB8" name the databases, most recently used first; "DB1.1" ...
// "DB1.20" hold the statements of DB1, newest first. A statement is kept
// with its line breaks and spaces percent-encoded (%0D%0A, %20, %25); one
// longer than a settings value goes on in "DB1.1+2", "DB1.1+3" and so on.
// Statements longer than kMaxStoredLength are kept for the session only.
#pragma once

#include "app/settings_file.h"

namespace sql {
class QueryHistory;
}

namespace app {

class QueryHistorySettings {
  public:
    static constexpr int kMaxStoredLength = 4000;

    static SettingsEntries encode(const sql::QueryHistory& history);
    static void decode(const SettingsEntries& entries, sql::QueryHistory& history);

    static void read(const SettingsFile& settings, sql::QueryHistory& history);
    // One write of the file; a history that is and was empty writes nothing.
    static jet::Status write(SettingsFile& settings, const sql::QueryHistory& history);
};

}  // namespace app
