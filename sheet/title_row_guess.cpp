#include "sheet/title_row_guess.h"

#include <QSet>
#include <QString>

#include "sheet/grid.h"
#include "sheet/number_text.h"

namespace sheet {

bool TitleRowGuess::firstRowNamesEveryColumn(const Grid& grid) {
    const int row = grid.fixedRows();
    if (grid.cols() == 0 || grid.rows() < row + 2) {
        return false;
    }
    QSet<QString> seen;
    for (int col = 0; col < grid.cols(); ++col) {
        const QString title = grid.textMatrix(row, col).trimmed();
        const QByteArray bytes = title.toUtf8();
        if (title.isEmpty() || readNumber(std::string_view(bytes.constData(), bytes.size()))) {
            return false;
        }
        const QString key = title.toCaseFolded();
        if (seen.contains(key)) {
            return false;
        }
        seen.insert(key);
    }
    return true;
}

}  // namespace sheet
