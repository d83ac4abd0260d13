// The sheet as an SQLite database: one table, named after where the sheet
// came from, with a column for each sheet column (names and values' types as
// SheetExportColumns gives them) and a row for each data row. The database
// is built in memory and handed back as the file's bytes, so the caller
// writes it as it writes every saved file: to a temporary name, renamed
// over the target once complete.
#pragma once

#include <QByteArray>
#include <QString>

#include "jet/status.h"

namespace sheet {
class Grid;
}

namespace app {

class SqliteSheetFile {
  public:
    static jet::Result<QByteArray> save(const sheet::Grid& sheet, const QString& tableName);

    // A table name SQLite takes without quotes: letters, digits and "_"
    // (others become "_"), not starting with a digit, not in the "sqlite_"
    // names SQLite keeps for itself; "Sheet" when nothing is left.
    static QString tableName(const QString& source);
};

}  // namespace app
