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

// Proleptic Gregorian date of Unix day `z`, for days within years 1..10000
// (C. Neri and L. Schneider's method: 32-bit multiplies and shifts instead
// of 64-bit divisions; the day is shifted by 82 eras so every step is
// unsigned).
void civilFromDays(int32_t z, int& year, int& month, int& day) {
    constexpr uint32_t kEras = 82;
    constexpr uint32_t kShift = 719468 + 146097 * kEras;
    const uint32_t n1 = 4 * (static_cast<uint32_t>(z) + kShift) + 3;
    const uint32_t century = n1 / 146097;
    const uint32_t n2 = n1 % 146097 / 4 * 4 + 3;
    const uint64_t p2 = uint64_t{2939745} * n2;
    const uint32_t yearOfCentury = static_cast<uint32_t>(p2 >> 32);
    const uint32_t dayOfYear = static_cast<uint32_t>(p2) / 2939745 / 4;  // from March 1
    const uint32_t n3 = 2141 * dayOfYear + 197913;
    const uint32_t january = dayOfYear >= 306;
    year =
        static_cast<int>(100 * century + yearOfCentury + january) - static_cast<int>(400 * kEras);
    month = static_cast<int>(january ? (n3 >> 16) - 12 : n3 >> 16);
    day = static_cast<int>((n3 & 0xFFFF) / 2141 + 1);
}

const int64_t kAccessEpoch = daysFromCivil(1899, 12, 30);

// Rounded to the whole second when `toSecond`, else to the millisecond.
DateTimeParts partsFrom(double d, bool toSecond) {
    DateTimeParts p;
    if (!std::isfinite(d))
        d = d > 0 ? static_cast<double>(kLastDay) + 0.99999 : 0.0;
    d = std::clamp(d, static_cast<double>(kFirstDay), static_cast<double>(kLastDay) + 0.999999);
    // Converting truncates toward zero, as std::trunc does; the clamped value
    // fits in 32 bits.
    int32_t days = static_cast<int32_t>(d);
    const double fraction = std::fabs(d) - std::fabs(static_cast<double>(days));
    const double scaledMs = fraction * kMsPerDay;  // at most 86,400,000
    const uint32_t wholeMs = static_cast<uint32_t>(scaledMs);
    uint32_t ms = 0;
    if (toSecond) {
        // Rounding the whole milliseconds half up gives the second that
        // rounding the double scaledMs / 1000 half away from zero gives: a
        // count short of a half or whole second is at least 0.51 of the
        // quotient's last bit below it (1000 lies between 2^9 and 2^10), so
        // the division never rounds it up onto the mark.
        ms = (wholeMs + 500) / 1000 * 1000;
    } else {
        // Half away from zero, as llround does; the subtraction is exact.
        ms = wholeMs + (scaledMs - static_cast<double>(wholeMs) >= 0.5 ? 1 : 0);
    }
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++days;
    }
    civilFromDays(days + static_cast<int32_t>(kAccessEpoch), p.year, p.month, p.day);
    const uint32_t seconds = ms / 1000;
    const uint32_t minutes = seconds / 60;
    p.hour = static_cast<int>(minutes / 60);
    p.minute = static_cast<int>(minutes - 60 * (minutes / 60));
    p.second = static_cast<int>(seconds - 60 * minutes);
    p.millisecond = static_cast<int>(ms - 1000 * seconds);
    return p;
}

}  // namespace

DateTimeParts dateTimeParts(double d) {
    return partsFrom(d, false);
}
DateTimeParts dateTimePartsToSecond(double d) {
    return partsFrom(d, true);
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
    const DateTimeParts p = partsFrom(d, true);
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
    const uint64_t m = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    if (negative)
        *at++ = '-';
    // to_chars writes the digits before the point two at a time, at most 15.
    at = std::to_chars(at, at + 20, m / 10000).ptr;
    const auto fraction = static_cast<unsigned>(m % 10000);
    *at = '.';
    putTwoDigits(at + 1, fraction / 100);
    putTwoDigits(at + 3, fraction % 100);
    return at + 5;
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
