#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "jet/sql_value_text.h"
#include "jet/value_format.h"
#include "sql/date_serial.h"

namespace jet {

namespace {

constexpr const char* kErrorText = "#Error";
constexpr int kErrorTypeCode = -1;

// The pieces below write into a caller's buffer and append it once: a result
// load formats a number for every cell, and small appends cost more than the
// digits.
constexpr std::size_t kMaxPiece = 64;

char* putTwoDigits(char* p, int n) {
    *p++ = static_cast<char>('0' + n / 10);
    *p++ = static_cast<char>('0' + n % 10);
    return p;
}

char* putInt(char* p, long long n) {
    // Dates' parts and small numbers, most of what a sheet shows, digit by
    // digit; the general conversion costs several times as much.
    if (n >= 0 && n < 10000) {
        const int m = static_cast<int>(n);
        if (m >= 1000)
            return putTwoDigits(putTwoDigits(p, m / 100), m % 100);
        if (m >= 100) {
            *p++ = static_cast<char>('0' + m / 100);
            return putTwoDigits(p, m % 100);
        }
        if (m >= 10)
            return putTwoDigits(p, m);
        *p++ = static_cast<char>('0' + m);
        return p;
    }
    return std::to_chars(p, p + 24, n).ptr;
}

// printf's "%.15G" for 1E-4 <= |d| < 1E15, d not whole, when d is the double
// nearest to a decimal of at most 15 significant digits; nullptr otherwise.
// That decimal is then the 15-digit rounding of d itself (the neighbours of a
// normal double lie closer than a fifth of a unit in the 15th digit), and in
// that range %G writes it in plain notation. Amounts and measures typed by
// hand are such decimals; finding one costs a fraction of rounding to 15.
char* putShortDecimal(char* p, double d) {
    // Powers of ten, exact as doubles up to 10^22.
    static constexpr auto kPowers = [] {
        std::array<uint64_t, 20> powers{};
        uint64_t power = 1;
        for (uint64_t& entry : powers) {
            entry = power;
            power *= 10;
        }
        return powers;
    }();
    const double magnitude = std::fabs(d);
    if (!(magnitude >= 1e-4 && magnitude < 1e15))
        return nullptr;
    for (int k = 1; k < 20; ++k) {
        const double scaled = std::round(magnitude * double(kPowers[k]));
        if (scaled >= 1e15)
            return nullptr;
        // Both exact and the quotient correctly rounded: equal only when d
        // is the double nearest to scaled / 10^k.
        if (scaled / double(kPowers[k]) != magnitude)
            continue;
        // The first k that fits leaves no zero at the end of the k decimals.
        const uint64_t digits = static_cast<uint64_t>(scaled);
        if (d < 0)
            *p++ = '-';
        p = std::to_chars(p, p + 24, digits / kPowers[k]).ptr;
        *p++ = '.';
        uint64_t fraction = digits % kPowers[k];
        for (int i = k - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        return p + k;
    }
    return nullptr;
}

// The text printf's "%.<digits>G" gives, without its cost.
char* putTrimmedG(char* p, double d, int digits) {
    if (d == 0) {
        *p++ = '0';
        return p;
    }
    if (!std::isfinite(d)) {
        const char* text = std::isnan(d) ? "NaN" : (d > 0 ? "Infinity" : "-Infinity");
        const std::size_t size = std::strlen(text);
        std::memcpy(p, text, size);
        return p + size;
    }
    // Whole numbers short enough for the precision print as integers under %G.
    const double limit = digits >= 15 ? 1e15 : std::pow(10.0, digits);
    if (std::fabs(d) < limit && std::trunc(d) == d)
        return putInt(p, static_cast<long long>(d));
    if (digits == 15)
        if (char* end = putShortDecimal(p, d))
            return end;
    char* end = std::to_chars(p, p + kMaxPiece, d, std::chars_format::general, digits).ptr;
    std::replace(p, end, 'e', 'E');
    return end;
}

char* putTime(char* p, const sql::DateParts& parts) {
    p = putInt(p, parts.hour % 12 == 0 ? 12 : parts.hour % 12);
    *p++ = ':';
    p = putTwoDigits(p, parts.minute);
    *p++ = ':';
    p = putTwoDigits(p, parts.second);
    std::memcpy(p, parts.hour < 12 ? " AM" : " PM", 3);
    return p + 3;
}

char* putGeneralDate(char* p, double serial) {
    if (!std::isfinite(serial))
        return putTrimmedG(p, serial, 15);
    const sql::DateParts parts = sql::splitSerial(serial);
    if (parts.year == 1899 && parts.month == 12 && parts.day == 30)
        return putTime(p, parts);
    p = putInt(p, parts.month);
    *p++ = '/';
    p = putInt(p, parts.day);
    *p++ = '/';
    p = putInt(p, parts.year);
    if (parts.hour || parts.minute || parts.second) {
        *p++ = ' ';
        p = putTime(p, parts);
    }
    return p;
}

char* putCurrency(char* p, int64_t scaled) {
    const bool negative = scaled < 0;
    const uint64_t mag =
        negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    if (negative)
        *p++ = '-';
    p = std::to_chars(p, p + 24, mag / 10000).ptr;
    uint64_t frac = mag % 10000;
    if (frac) {
        *p++ = '.';
        for (uint64_t unit = 1000; frac != 0; unit /= 10) {
            *p++ = static_cast<char>('0' + frac / unit);
            frac %= unit;
        }
    }
    return p;
}

// Appends what `put` writes into a piece-sized buffer.
template <typename Put>
void appendPiece(std::string& out, Put put) {
    char buf[kMaxPiece];
    out.append(buf, put(buf));
}

std::string piece(auto put) {
    std::string out;
    appendPiece(out, put);
    return out;
}

std::string decimalText(const Decimal& dec) {
    std::string s = dec.toString();
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

}  // namespace

std::string doubleText(double d) {
    return piece([d](char* p) { return putTrimmedG(p, d, 15); });
}
std::string singleText(double d) {
    return piece([d](char* p) { return putTrimmedG(p, static_cast<float>(d), 7); });
}
std::string currencyText(int64_t scaled) {
    return piece([scaled](char* p) { return putCurrency(p, scaled); });
}
std::string generalDateText(double serial) {
    return piece([serial](char* p) { return putGeneralDate(p, serial); });
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

void appendDisplayText(std::string& out, const ValueRef& v) {
    switch (v.type) {
        case ValueType::Null:
            return;
        case ValueType::Boolean:
            out += v.i ? "True" : "False";
            return;
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
        case ValueType::BigInt:
            return appendPiece(out, [&v](char* p) { return putInt(p, v.i); });
        case ValueType::Currency:
            return appendPiece(out, [&v](char* p) { return putCurrency(p, v.i); });
        case ValueType::Single:
            return appendPiece(
                out, [&v](char* p) { return putTrimmedG(p, static_cast<float>(v.d), 7); });
        case ValueType::Double:
            return appendPiece(out, [&v](char* p) { return putTrimmedG(p, v.d, 15); });
        case ValueType::DateTime:
            return appendPiece(out, [&v](char* p) { return putGeneralDate(p, v.d); });
        case ValueType::Text:
            out += v.data;
            return;
        case ValueType::Binary:
            out += "Long binary data";
            return;
        case ValueType::Guid:
            out += formatGuid(v.data);
            return;
        case ValueType::Decimal:
            out += decimalText(v.dec);
            return;
        case ValueType::Unsupported:
            out += isErrorValue(v) ? kErrorText : "Long binary data";
            return;
    }
}

void appendDisplayText(std::string& out, const Value& v) {
    appendDisplayText(out, v.ref());
}

std::string displayText(const Value& v) {
    std::string out;
    appendDisplayText(out, v);
    return out;
}

}  // namespace jet
