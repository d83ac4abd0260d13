#include "app/sheet_export_columns.h"

#include <QSet>

#include <cctype>
#include <charconv>

#include "jet/value_format.h"
#include "sheet/cell_store.h"
#include "sheet/column_types.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"

namespace app {

namespace {

// The VarType codes of the database's number fields.
bool isNumberType(int type) {
    switch (type) {
        case 2:   // Integer
        case 3:   // Long
        case 4:   // Single
        case 5:   // Double
        case 6:   // Currency
        case 14:  // Decimal
        case 17:  // Byte
        case 20:  // LongLong
            return true;
        default:
            return false;
    }
}

bool equalsNoCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) {
            return false;
        }
    }
    return true;
}

// Yes/No cells as the database gives them (True/False, -1/0) or as typed.
bool readTruth(std::string_view text, bool* truth) {
    if (equalsNoCase(text, "true") || text == "-1" || text == "1") {
        *truth = true;
        return true;
    }
    if (equalsNoCase(text, "false") || text == "0") {
        *truth = false;
        return true;
    }
    return false;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

}  // namespace

SheetExportColumns::SheetExportColumns(const sheet::Grid& sheet)
    : store_(sheet.gridModel()->store()) {
    QSet<QString> used;
    for (int c = 0; c < store_.cols(); ++c) {
        QString name = store_.rows() > 0 ? sheet.textMatrix(0, c).trimmed() : QString();
        if (name.isEmpty()) {
            name = QStringLiteral("Column%1").arg(c + 1);
        }
        const QString base = name;
        for (int n = 2; used.contains(name.toLower()); ++n) {
            name = QStringLiteral("%1_%2").arg(base).arg(n);
        }
        used.insert(name.toLower());
        names_.push_back(name);
        kinds_.push_back(kindOf(c));
    }
}

int SheetExportColumns::rows() const {
    return std::max(0, store_.rows() - 1);
}

bool SheetExportColumns::isJsonNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    if (i >= text.size() || !isDigit(text[i])) {
        return false;
    }
    // No leading zeros: "01307" is a code, not a number.
    i = text[i] == '0' ? i + 1 : skipDigits(text, i);
    if (i < text.size() && text[i] == '.') {
        const std::size_t start = ++i;
        i = skipDigits(text, i);
        if (i == start) {
            return false;
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t start = i;
        i = skipDigits(text, i);
        if (i == start) {
            return false;
        }
    }
    return i == text.size();
}

// A column is written as numbers only when every filled cell is one, so a
// column never mixes numbers and texts; text and date columns never are.
SheetExportColumns::Kind SheetExportColumns::kindOf(int col) const {
    const int type = store_.column(col).dataType;
    if (type == sheet::kDateType) {
        return Kind::Date;
    }
    if (type == sheet::kBooleanType) {
        return Kind::Boolean;
    }
    if (type != sheet::kEmptyType && !isNumberType(type)) {
        return Kind::Text;
    }
    bool integers = true, any = false;
    for (int r = 1; r < store_.rows(); ++r) {
        const std::string_view text = store_.text(r, col);
        if (text.empty()) {
            continue;
        }
        if (!isJsonNumber(text)) {
            return Kind::Text;
        }
        any = true;
        long long whole = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
        integers = integers && error == std::errc() && end == text.data() + text.size();
    }
    if (!any) {
        return Kind::Text;
    }
    return integers ? Kind::Integer : Kind::Number;
}

SheetExportColumns::Cell SheetExportColumns::cell(int row, int col, std::string& scratch,
                                                  bool spaceInDate) const {
    Cell cell;
    cell.text = store_.text(row, col);
    if (cell.text.empty()) {
        return cell;  // Null
    }
    cell.type = Cell::Text;
    const char* const begin = cell.text.data();
    const char* const end = begin + cell.text.size();
    switch (kinds_[std::size_t(col)]) {
        case Kind::Integer:
            std::from_chars(begin, end, cell.integer);
            cell.type = Cell::Integer;
            break;
        case Kind::Number:
            std::from_chars(begin, end, cell.number);
            cell.type = Cell::Number;
            break;
        case Kind::Boolean:
            if (readTruth(cell.text, &cell.truth)) {
                cell.type = Cell::Boolean;
            }
            break;
        case Kind::Date: {
            double moment = 0;
            if (store_.value(row, col, &moment)) {
                scratch.clear();
                jet::appendDateTimeIso(moment, scratch);
                if (spaceInDate && scratch.size() > 10) {
                    scratch[10] = ' ';
                }
                cell.text = scratch;
            }
            break;
        }
        case Kind::Text:
            break;
    }
    return cell;
}

}  // namespace app
