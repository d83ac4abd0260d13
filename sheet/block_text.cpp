#include "sheet/block_text.h"

namespace sheet {

std::vector<QStringList> splitBlockText(const QString& text) {
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    if (normal.endsWith(u'\n')) {
        normal.chop(1);
    }
    std::vector<QStringList> rows;
    if (normal.isEmpty() && text.isEmpty()) {
        return rows;
    }
    for (const QString& line : normal.split(u'\n')) {
        rows.push_back(line.split(u'\t'));
    }
    return rows;
}

QString joinBlockText(const std::vector<QStringList>& rows) {
    QString text;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) {
            text += u'\r';
        }
        text += rows[r].join(u'\t');
    }
    return text;
}

}  // namespace sheet
