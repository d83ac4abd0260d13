#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "jet/sql_value_text.h"
#include "jet/value_format.h"
#include "sql/date_serial.h"

namespace jet {

namespace {

constexpr const char* kErrorText = "#Error";
constexpr int kErrorTypeCode = -1;

// Appends `n` in decimal; to_chars cannot fail on this buffer.
void appendInt(std::string& out, long long n) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

void appendTwoDigits(std::string& out, int n) {
    out.push_back(static_cast<char>('0' + n / 10));
    out.push_back(static_cast<char>('0' + n % 10));
}

// The text printf's "%.<digits>G" gives, without its cost: a result load
// formats a number for every cell.
std::string trimmedG(double d, int digits) {
    if (d == 0)
        return "0";
    if (!std::isfinite(d))
        return std::isnan(d) ? "NaN" : (d > 0 ? "Infinity" : "-Infinity");
    // Whole numbers short enough for the precision print as integers under %G.
    const double limit = digits >= 15 ? 1e15 : std::pow(10.0, digits);
    if (std::fabs(d) < limit && std::trunc(d) == d) {
        std::string out;
        appendInt(out, static_cast<long long>(d));
        return out;
    }
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, digits);
    std::replace(buf, r.ptr, 'e', 'E');
    return std::string(buf, r.ptr);
}

void appendTime(std::string& out, const sql::DateParts& p) {
    appendInt(out, p.hour % 12 == 0 ? 12 : p.hour % 12);
    out.push_back(':');
    appendTwoDigits(out, p.minute);
    out.push_back(':');
    appendTwoDigits(out, p.second);
    out.append(p.hour < 12 ? " AM" : " PM");
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
    char buf[32];
    char* p = buf;
    if (negative)
        *p++ = '-';
    p = std::to_chars(p, buf + sizeof buf, mag / 10000).ptr;
    uint64_t frac = mag % 10000;
    if (frac) {
        *p++ = '.';
        for (uint64_t unit = 1000; frac != 0; unit /= 10) {
            *p++ = static_cast<char>('0' + frac / unit);
            frac %= unit;
        }
    }
    return std::string(buf, p);
}

std::string generalDateText(double serial) {
    if (!std::isfinite(serial))
        return doubleText(serial);
    const sql::DateParts p = sql::splitSerial(serial);
    const bool hasTime = p.hour || p.minute || p.second;
    std::string out;
    const bool dayZero = p.year == 1899 && p.month == 12 && p.day == 30;
    if (dayZero) {
        appendTime(out, p);
        return out;
    }
    appendInt(out, p.month);
    out.push_back('/');
    appendInt(out, p.day);
    out.push_back('/');
    appendInt(out, p.year);
    if (hasTime) {
        out.push_back(' ');
        appendTime(out, p);
    }
    return out;
}

Value errorValue() {
    return Value::unsupported(kErrorTypeCode, kErrorText);
}

bool isErrorValue(const ValueRef& v) {
    return v.type == ValueType::Unsupported && v.i == kErrorTypeCode && v.data == kErrorText;
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
