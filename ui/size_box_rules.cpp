#include "ui/size_box_rules.h"

#include <QLocale>

#include <limits>

namespace ui {

namespace {
constexpr int kLeastCols = 1;
}  // namespace

qint64 SizeBoxRules::number(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return 0;
    }
    qint64 value = 0;
    for (const QChar ch : trimmed) {
        // ASCII digits only: a sign, a decimal point or another script's
        // digits are not what the box means.
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) {
            return -1;
        }
        value =
            std::min<qint64>(value * 10 + (ch.unicode() - '0'), std::numeric_limits<int>::max());
    }
    return value;
}

SizeBoxRules::Reading SizeBoxRules::read(Box box, const QString& text) {
    if (text.trimmed().isEmpty()) {
        return {Verdict::Apply, 1, QStringLiteral("1")};
    }
    const qint64 n = number(text);
    const int least = box == Box::Rows ? 0 : kLeastCols;
    const int most = box == Box::Rows ? kMaxDataRows : kMaxCols;
    if (n < least) {
        return {Verdict::NotANumber, 0, {}};
    }
    if (n > most) {
        return {Verdict::TooBig, 0, {}};
    }
    return {Verdict::Apply, int(n), QString::number(n)};
}

QString SizeBoxRules::stepUp(Box box, const QString& text) {
    const qint64 n = number(text);
    const int top = box == Box::Rows ? kRowSpinTop : kColSpinTop;
    if (n < 0 || n > top) {
        return text;
    }
    return QString::number(n + 1);
}

QString SizeBoxRules::stepDown(Box, const QString& text) {
    const qint64 n = number(text);
    if (n < 2) {
        return text;
    }
    return QString::number(n - 1);
}

QString SizeBoxRules::tooBigMessage(Box box) {
    const QLocale english(QLocale::English);
    return box == Box::Rows ? QStringLiteral("The sheet can hold at most %1 data rows.")
                                  .arg(english.toString(kMaxDataRows))
                            : QStringLiteral("The sheet can hold at most %1 columns.")
                                  .arg(english.toString(kMaxCols));
}

QString SizeBoxRules::title(Box box) {
    return box == Box::Rows ? QStringLiteral("Rows") : QStringLiteral("Cols");
}

}  // namespace ui
