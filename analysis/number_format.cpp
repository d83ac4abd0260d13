#include "analysis/number_format.h"

#include <charconv>
#include <cmath>

namespace analysis {
namespace {

QString fromBuffer(const char* begin, const char* end) {
    return QString::fromLatin1(begin, static_cast<qsizetype>(end - begin));
}

}  // namespace

QString formatGeneral(float value) {
    if (!std::isfinite(value))
        return QString::fromLatin1(kOverflowText);
    if (value == 0.0f)
        return QStringLiteral("0");  // also for -0
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    for (char* p = buffer; p < result.ptr; ++p) {
        if (*p == 'e')
            *p = 'E';
    }
    return fromBuffer(buffer, result.ptr);
}

QString formatTwoDecimals(float value) {
    if (!std::isfinite(value))
        return QString::fromLatin1(kOverflowText);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, 2);
    QString text = fromBuffer(buffer, result.ptr);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text;
}

}  // namespace analysis
