#include <cmath>
#include <cstdio>
#include <cstring>

#include "jet/sql_value_text.h"
#include "jet/value_format.h"
#include "sql/date_serial.h"

namespace jet {

namespace {

constexpr const char* kErrorText = "#Error";
constexpr int kErrorTypeCode = -1;

std::string trimmedG(double d, int digits) {
    if (d == 0)
        return "0";
    if (!std::isfinite(d))
        return std::isnan(d) ? "NaN" : (d > 0 ? "Infinity" : "-Infinity");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, d);
    return buf;
}

std::string timeText(const sql::DateParts& p) {
    const int h12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, p.minute, p.second,
                  p.hour < 12 ? "AM" : "PM");
    return buf;
}

}  // namespace

std::string doubleText(double d) {
    return trimmedG(d, 15);
}
std::string singleText(double d) {
    return trimmedG(static_cast<float>(d), 7);
}

std::string currencyText(int64_t scaled) {
    const bool negative = scaled < 0;
    const uint64_t mag =
        negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string text = std::to_string(mag / 10000);
    uint64_t frac = mag % 10000;
    if (frac) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04llu", static_cast<unsigned long long>(frac));
        std::string f = buf;
        while (!f.empty() && f.back() == '0')
            f.pop_back();
        text += "." + f;
    }
    return negative ? "-" + text : text;
}

std::string generalDateText(double serial) {
    if (!std::isfinite(serial))
        return doubleText(serial);
    const sql::DateParts p = sql::splitSerial(serial);
    const bool hasTime = p.hour || p.minute || p.second;
    char date[32];
    std::snprintf(date, sizeof date, "%d/%d/%d", p.month, p.day, p.year);
    const bool dayZero = p.year == 1899 && p.month == 12 && p.day == 30;
    if (dayZero)
        return timeText(p);
    if (!hasTime)
        return date;
    return std::string(date) + " " + timeText(p);
}

Value errorValue() {
    return Value::unsupported(kErrorTypeCode, kErrorText);
}

bool isErrorValue(const Value& v) {
    return v.type() == ValueType::Unsupported && v.i() == kErrorTypeCode && v.data() == kErrorText;
}

std::string displayText(const Value& v) {
    switch (v.type()) {
        case ValueType::Null:
            return "";
        case ValueType::Boolean:
            return v.i() ? "True" : "False";
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
        case ValueType::BigInt:
            return std::to_string(v.i());
        case ValueType::Currency:
            return currencyText(v.i());
        case ValueType::Single:
            return singleText(v.d());
        case ValueType::Double:
            return doubleText(v.d());
        case ValueType::DateTime:
            return generalDateText(v.d());
        case ValueType::Text:
            return v.data();
        case ValueType::Binary:
            return "Long binary data";
        case ValueType::Guid:
            return formatGuid(v.data());
        case ValueType::Decimal: {
            std::string s = v.dec().toString();
            if (s.find('.') != std::string::npos) {
                while (s.back() == '0')
                    s.pop_back();
                if (s.back() == '.')
                    s.pop_back();
            }
            return s == "-0" ? "0" : s;
        }
        case ValueType::Unsupported:
            return isErrorValue(v) ? kErrorText : "Long binary data";
    }
    return "";
}

}  // namespace jet
