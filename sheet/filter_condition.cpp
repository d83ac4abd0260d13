#include "sheet/filter_condition.h"

#include <QDate>

#include <array>
#include <utility>

#include "sheet/number_text.h"
#include "sheet/row_sorter.h"

namespace sheet {

namespace {

// Longer operators first, so "<=" is not read as "<" and "=".
constexpr std::array<std::pair<const char16_t*, FilterCondition::Kind>, 6> kOperators{{
    {u"<>", FilterCondition::Kind::NotEqual},
    {u"<=", FilterCondition::Kind::LessEqual},
    {u">=", FilterCondition::Kind::GreaterEqual},
    {u"=", FilterCondition::Kind::Equal},
    {u"<", FilterCondition::Kind::Less},
    {u">", FilterCondition::Kind::Greater},
}};

// A date typed as an operand, as the day number a date column's cells carry
// (days since 30 December 1899).
std::optional<double> dayNumber(const QString& text) {
    for (const char* format : {"yyyy-MM-dd", "M/d/yyyy"}) {
        const QDate date = QDate::fromString(text, QString::fromLatin1(format));
        if (date.isValid())
            return static_cast<double>(QDate(1899, 12, 30).daysTo(date));
    }
    return std::nullopt;
}

}  // namespace

FilterCondition::FilterCondition(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty())
        return;
    if (trimmed.startsWith(QLatin1String("like "), Qt::CaseInsensitive)) {
        kind_ = Kind::Like;
        QString pattern = trimmed.mid(5).trimmed();
        if (pattern.size() >= 2 && pattern.startsWith(u'"') && pattern.endsWith(u'"'))
            pattern = pattern.mid(1, pattern.size() - 2);
        like_.emplace(pattern);
        return;
    }
    parseComparison(trimmed);
    if (kind_ != Kind::None)
        return;
    // "s*" or "?ak" mean a pattern to anyone used to data tools; read
    // literally they would match next to nothing.
    if (trimmed.contains(u'*') || trimmed.contains(u'?')) {
        kind_ = Kind::Like;
        like_.emplace(trimmed);
        return;
    }
    kind_ = Kind::Contains;
    contains_.emplace(trimmed, TextMatcher::Options{});
}

void FilterCondition::parseComparison(const QString& typed) {
    for (const auto& [symbol, kind] : kOperators) {
        const QString op = QString::fromUtf16(symbol);
        if (!typed.startsWith(op))
            continue;
        kind_ = kind;
        operand_ = typed.mid(op.size()).trimmed();
        operandUtf8_ = operand_.toStdString();
        operandNumber_ = readNumber(operandUtf8_);
        if (!operandNumber_)
            operandNumber_ = dayNumber(operand_);
        return;
    }
}

bool FilterCondition::passes(std::string_view text, const double* value) const {
    switch (kind_) {
        case Kind::None:
            return true;
        case Kind::Contains:
            return contains_->matches(text);
        case Kind::Like:
            return like_->matches(text);
        default:
            return passesComparison(text, value);
    }
}

// order: the cell compared with the operand, negative, zero or positive.
bool FilterCondition::compares(int order) const {
    switch (kind_) {
        case Kind::Equal:
            return order == 0;
        case Kind::NotEqual:
            return order != 0;
        case Kind::Less:
            return order < 0;
        case Kind::LessEqual:
            return order <= 0;
        case Kind::Greater:
            return order > 0;
        case Kind::GreaterEqual:
            return order >= 0;
        default:
            return false;
    }
}

bool FilterCondition::passesComparison(std::string_view text, const double* value) const {
    if (operand_.isEmpty())
        return compares(text.empty() ? 0 : 1);
    if (operandNumber_) {
        const std::optional<double> number =
            value ? std::optional<double>(*value) : readNumber(text);
        if (number)
            return compares(*number < *operandNumber_ ? -1 : *number > *operandNumber_ ? 1 : 0);
        // A cell that is no number is never equal to, above or below one.
        return kind_ == Kind::NotEqual;
    }
    return compares(RowSorter::compareText(text, operandUtf8_));
}

}  // namespace sheet
