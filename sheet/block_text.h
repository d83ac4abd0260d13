// Block text: a rectangle of cells as one string, cells separated by a tab
// and rows by a carriage return, as the clipboard carries it.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace sheet {

// Splits clipboard text into rows of cells. Accepts CR, LF or CR LF between
// rows; one trailing line break does not make an extra empty row.
std::vector<QStringList> splitBlockText(const QString& text);

// Joins rows of cells with tabs and carriage returns.
QString joinBlockText(const std::vector<QStringList>& rows);

}  // namespace sheet
