// The sheet as JSON lines (.jsonl): one object per data row, its keys the
// column names in column order (see SheetExportColumns for the names and
// the values' types), UTF-8, each line ended by a line feed.
#pragma once

#include <QByteArray>

namespace sheet {
class Grid;
}

namespace app {

class JsonLinesFile {
  public:
    static QByteArray save(const sheet::Grid& sheet);
};

}  // namespace app
