#include "oracle_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "jet/value_format.h"

namespace jettest {

std::string jsNumber(double d) {
    if (d == 0)
        return "0";
    if (std::isnan(d))
        return "\"NaN\"";
    if (std::isinf(d))
        return d > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
    std::string s(buf, r.ptr);
    std::string sign;
    if (s[0] == '-') {
        sign = "-";
        s.erase(0, 1);
    }
    const size_t e = s.find('e');
    const int exponent = std::atoi(s.c_str() + e + 1);
    std::string digits = s.substr(0, e);
    if (digits.size() > 1)
        digits.erase(1, 1);  // the '.'
    const int k = static_cast<int>(digits.size());
    const int n = exponent + 1;
    if (k <= n && n <= 21)
        return sign + digits + std::string(static_cast<size_t>(n - k), '0');
    if (0 < n && n <= 21)
        return sign + digits.substr(0, n) + "." + digits.substr(n);
    if (-6 < n && n <= 0)
        return sign + "0." + std::string(static_cast<size_t>(-n), '0') + digits;
    std::string mantissa = digits.substr(0, 1);
    if (k > 1)
        mantissa += "." + digits.substr(1);
    return sign + mantissa + "e" + (n - 1 >= 0 ? "+" : "-") + std::to_string(std::abs(n - 1));
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string oracleDate(double d) {
    const double msReal = std::floor(((d - 25569) * 86400) * 1000 + 0.5);
    if (!std::isfinite(msReal) || std::fabs(msReal) > 8.64e15)
        return "\"Invalid\"";
    const auto ms = static_cast<int64_t>(msReal);
    int64_t days = ms / 86400000;
    int64_t rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    const jet::DateTimeParts p = jet::dateTimeParts(static_cast<double>(days + 25569));
    char buf[48];
    std::snprintf(buf, sizeof buf, "\"%04d-%02d-%02dT%02d:%02d:%02d.%03d\"", p.year, p.month, p.day,
                  static_cast<int>(rest / 3600000), static_cast<int>(rest / 60000 % 60),
                  static_cast<int>(rest / 1000 % 60), static_cast<int>(rest % 1000));
    return buf;
}

namespace {
std::string repId(std::string_view b) {
    std::string braced = jet::formatGuid(b);  // {XXXXXXXX-...}
    std::string out = braced.substr(1, braced.size() - 2);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
}  // namespace

std::string oracleJson(const jet::ValueRef& v, const jet::Column& column) {
    using T = jet::ValueType;
    switch (v.type) {
        case T::Null:
            return "null";
        case T::Boolean:
            return v.i ? "true" : "false";
        case T::Byte:
        case T::Integer:
        case T::Long:
            return std::to_string(v.i);
        case T::BigInt:
            return "\"" + std::to_string(v.i) + "\"";
        case T::Currency:
            return "\"" + jet::formatCurrency(v.i) + "\"";
        case T::Single:
        case T::Double:
            return jsNumber(v.d);
        case T::DateTime:
            return oracleDate(v.d);
        case T::Text:
            return jsonString(v.data);
        case T::Binary:
            return "\"" + jet::hexString(v.data) + "\"";
        case T::Guid:
            return jsonString(repId(v.data));
        case T::Decimal:
            return "\"" + v.dec.toString() + "\"";
        case T::Unsupported:
            return "\"unsupported type " + std::to_string(column.typeCode) + "\"";
    }
    return "?";
}

}  // namespace jettest
