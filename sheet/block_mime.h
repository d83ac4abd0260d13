// The sheet's blocks as other programs take them from the clipboard or a
// drag: plain text with a line feed between rows, as text editors and
// terminals on this platform expect, and the same text offered as
// text/tab-separated-values for spreadsheets.
#pragma once

#include <QString>

class QMimeData;

namespace sheet {

inline constexpr char kTabSeparatedMime[] = "text/tab-separated-values";

// rowsText: cells separated by tab, rows by line feed. The caller owns the result.
QMimeData* blockMimeData(const QString& rowsText);

}  // namespace sheet
