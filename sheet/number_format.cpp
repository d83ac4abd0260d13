#include "sheet/number_format.h"

namespace sheet {

namespace {
bool isPlaceholder(QChar c) {
    return c == u'#' || c == u'0' || c == u',' || c == u'.';
}
}  // namespace

NumberFormat::NumberFormat(const QString& pattern) {
    int i = 0;
    while (i < pattern.size() && !isPlaceholder(pattern[i])) {
        prefix_ += pattern[i++];
    }
    bool anyDigit = false;
    for (; i < pattern.size() && (pattern[i] == u'#' || pattern[i] == u'0' || pattern[i] == u',');
         ++i) {
        if (pattern[i] == u',') {
            grouping_ = true;
        } else {
            anyDigit = true;
            minIntegerDigits_ += pattern[i] == u'0' ? 1 : 0;
        }
    }
    if (i < pattern.size() && pattern[i] == u'.') {
        for (++i; i < pattern.size() && (pattern[i] == u'0' || pattern[i] == u'#'); ++i) {
            anyDigit = true;
            (pattern[i] == u'0' ? fixedDecimals_ : optionalDecimals_) += 1;
        }
    }
    suffix_ = pattern.mid(i);
    valid_ = anyDigit;
}

QString NumberFormat::groupThousands(const QString& digits) const {
    if (!grouping_ || digits.size() <= 3) {
        return digits;
    }
    QString grouped;
    const int lead = digits.size() % 3;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (i - lead) % 3 == 0) {
            grouped += u',';
        }
        grouped += digits[i];
    }
    return grouped;
}

QString NumberFormat::format(double value) const {
    const int decimals = fixedDecimals_ + optionalDecimals_;
    const QString plain = QString::number(value < 0 ? -value : value, 'f', decimals);
    const int point = plain.indexOf(u'.');
    QString integer = point < 0 ? plain : plain.left(point);
    QString fraction = point < 0 ? QString() : plain.mid(point + 1);
    bool allZero = true;
    for (QChar c : plain) {
        allZero = allZero && (c == u'0' || c == u'.');
    }
    if (integer == u"0" && minIntegerDigits_ == 0) {
        integer.clear();
    }
    while (integer.size() < minIntegerDigits_) {
        integer.prepend(u'0');
    }
    int trim = 0;
    while (trim < optionalDecimals_ && fraction.endsWith(u'0')) {
        fraction.chop(1);
        ++trim;
    }
    QString text = prefix_ + groupThousands(integer);
    if (!fraction.isEmpty()) {
        text += u'.' + fraction;
    }
    text += suffix_;
    return (value < 0 && !allZero) ? u'-' + text : text;
}

}  // namespace sheet
