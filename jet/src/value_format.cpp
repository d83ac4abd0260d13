#include "jet/value_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace jet {
namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kFirstDay = -693593;  // 0001-01-01 as an Access day
constexpr int64_t kLastDay = 2958465;   // 9999-12-31

// Days since 1970-01-01 from a proleptic Gregorian date (H. Hinnant's method).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

const int64_t kAccessEpoch = daysFromCivil(1899, 12, 30);

DateTimeParts partsFrom(double d, int64_t unitMs) {
    DateTimeParts p;
    if (!std::isfinite(d))
        d = d > 0 ? static_cast<double>(kLastDay) + 0.99999 : 0.0;
    d = std::clamp(d, static_cast<double>(kFirstDay), static_cast<double>(kLastDay) + 0.999999);
    int64_t days = static_cast<int64_t>(std::trunc(d));
    const double fraction = std::fabs(d) - std::fabs(static_cast<double>(days));
    // Rounds half away from zero as llround does, without the library call
    // (the scaled fraction is below 86,400,001, so the subtraction is exact).
    const double scaled = fraction * kMsPerDay / static_cast<double>(unitMs);
    int64_t units = static_cast<int64_t>(scaled);
    if (scaled - static_cast<double>(units) >= 0.5)
        ++units;
    int64_t ms = units * unitMs;
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++days;
    }
    civilFromDays(days + kAccessEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.millisecond = static_cast<int>(ms % 1000);
    return p;
}

}  // namespace

DateTimeParts dateTimeParts(double d) {
    return partsFrom(d, 1);
}
DateTimeParts dateTimePartsToSecond(double d) {
    return partsFrom(d, 1000);
}

double accessDate(const DateTimeParts& p) {
    const int64_t days =
        daysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) -
        kAccessEpoch;
    const double time =
        (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.millisecond) / kMsPerDay;
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

namespace {

// "00" to "99", two characters each: dates are written two digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes `value` (below 100) as two digits at `at`.
void putTwoDigits(char* at, unsigned value) {
    std::memcpy(at, kDigitPairs + 2 * value, 2);
}

}  // namespace

char* writeDateTimeIso(char* at, double d) {
    const DateTimeParts p = dateTimePartsToSecond(d);
    putTwoDigits(at, static_cast<unsigned>(p.year / 100));
    putTwoDigits(at + 2, static_cast<unsigned>(p.year % 100));
    at[4] = '-';
    putTwoDigits(at + 5, static_cast<unsigned>(p.month));
    at[7] = '-';
    putTwoDigits(at + 8, static_cast<unsigned>(p.day));
    at[10] = 'T';
    putTwoDigits(at + 11, static_cast<unsigned>(p.hour));
    at[13] = ':';
    putTwoDigits(at + 14, static_cast<unsigned>(p.minute));
    at[16] = ':';
    putTwoDigits(at + 17, static_cast<unsigned>(p.second));
    return at + 19;
}

void appendDateTimeIso(double d, std::string& out) {
    char buf[kMaxNumberText];
    out.append(buf, writeDateTimeIso(buf, d));
}

std::string formatDateTimeIso(double d) {
    std::string out;
    appendDateTimeIso(d, out);
    return out;
}

char* writeCurrency(char* at, int64_t scaled) {
    const bool negative = scaled < 0;
    uint64_t m = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    char buf[32];
    char* end = buf + sizeof buf;
    char* p = end;
    for (int k = 0; k < 4; ++k, m /= 10)
        *--p = static_cast<char>('0' + m % 10);
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + m % 10);
        m /= 10;
    } while (m != 0);
    if (negative)
        *--p = '-';
    const size_t length = static_cast<size_t>(end - p);
    std::memcpy(at, p, length);
    return at + length;
}

void appendCurrency(int64_t scaled, std::string& out) {
    char buf[kMaxNumberText];
    out.append(buf, writeCurrency(buf, scaled));
}

std::string formatCurrency(int64_t scaled) {
    std::string out;
    appendCurrency(scaled, out);
    return out;
}

std::string formatGuid(std::string_view b) {
    if (b.size() != 16)
        return {};
    static const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    static const char* hex = "0123456789ABCDEF";
    std::string out = "{";
    for (int k = 0; k < 16; ++k) {
        if (k == 4 || k == 6 || k == 8 || k == 10)
            out.push_back('-');
        const auto byte = static_cast<uint8_t>(b[order[k]]);
        out.push_back(hex[byte >> 4]);
        out.push_back(hex[byte & 15]);
    }
    out.push_back('}');
    return out;
}

std::string hexString(std::string_view bytes) {
    std::string out(bytes.size() * 2, '\0');
    writeHex(out.data(), bytes);
    return out;
}

char* writeHex(char* at, std::string_view bytes) {
    static const char* hex = "0123456789abcdef";
    for (const char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        *at++ = hex[byte >> 4];
        *at++ = hex[byte & 15];
    }
    return at;
}

std::string formatDouble(double d) {
    std::string out;
    appendDouble(d, out);
    return out;
}
std::string formatSingle(float f) {
    std::string out;
    appendSingle(f, out);
    return out;
}

}  // namespace jet
