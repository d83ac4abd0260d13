// Text forms of values: Access dates (negative dates keep a positive time),
// exact currency and decimals, GUIDs, hex and shortest doubles.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "jet/value_format.h"

namespace {

struct DateCase {
    double value;
    const char* iso;
};

TEST(ValueFormat, AccessDatesFollowTheAccessRule) {
    const DateCase cases[] = {
        {0.0, "1899-12-30T00:00:00"},
        {1.5, "1899-12-31T12:00:00"},
        {-1.25, "1899-12-29T06:00:00"},
        {-0.5, "1899-12-30T12:00:00"},
        {-1.75, "1899-12-29T18:00:00"},
        {-657434.0, "0100-01-01T00:00:00"},
        {2958465.99999, "9999-12-31T23:59:59"},
        {29932.0, "1981-12-12T00:00:00"},
        {36526.0 + 1.0 / 86400, "2000-01-01T00:00:01"},
        {-115863.0, "1582-10-10T00:00:00"},
        {0.99999999, "1899-12-31T00:00:00"},
        {-0.99999999, "1899-12-31T00:00:00"},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(jet::formatDateTimeIso(c.value), c.iso) << c.value;
}

TEST(ValueFormat, DatePartsRoundTripThroughAccessDates) {
    const jet::DateTimeParts parts[] = {
        {1899, 12, 29, 6, 0, 0, 0},   {100, 1, 1, 0, 0, 0, 0},     {9999, 12, 31, 23, 59, 59, 0},
        {1600, 2, 29, 12, 30, 15, 0}, {2024, 2, 29, 0, 0, 1, 500}, {1899, 12, 30, 13, 0, 0, 0},
    };
    for (const jet::DateTimeParts& p : parts) {
        const jet::DateTimeParts back = jet::dateTimeParts(jet::accessDate(p));
        EXPECT_EQ(std::tie(back.year, back.month, back.day, back.hour, back.minute, back.second,
                           back.millisecond),
                  std::tie(p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond))
            << p.year << "-" << p.month << "-" << p.day;
    }
}

// Access's date rule the plain way, with 64-bit divisions (H. Hinnant's
// days-to-date method): the quick split must give the same parts for every
// value.
jet::DateTimeParts plainDateParts(double d, int64_t unitMs) {
    constexpr int64_t kMsPerDay = 86400000;
    if (!std::isfinite(d))
        d = d > 0 ? 2958465.99999 : 0.0;
    d = std::clamp(d, -693593.0, 2958465.999999);
    int64_t days = static_cast<int64_t>(std::trunc(d));
    const double scaled = (std::fabs(d) - std::fabs(static_cast<double>(days))) * kMsPerDay /
                          static_cast<double>(unitMs);
    int64_t ms = std::llround(scaled) * unitMs;
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++days;
    }
    int64_t z = days - 25569 + 719468;  // 1899-12-30 is Unix day -25569
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    jet::DateTimeParts p;
    p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    p.year = static_cast<int>(yoe + era * 400 + (p.month <= 2));
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.millisecond = static_cast<int>(ms % 1000);
    return p;
}

// Counts the values whose quick split differs from the plain one (and shows
// the first few); both roundings, to the second and to the millisecond.
int differingDateSplits(const std::vector<double>& values) {
    int differing = 0;
    for (const double d : values) {
        for (const int64_t unit : {int64_t{1000}, int64_t{1}}) {
            const jet::DateTimeParts q =
                unit == 1000 ? jet::dateTimePartsToSecond(d) : jet::dateTimeParts(d);
            const jet::DateTimeParts p = plainDateParts(d, unit);
            if (std::tie(q.year, q.month, q.day, q.hour, q.minute, q.second, q.millisecond) ==
                std::tie(p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond))
                continue;
            if (++differing <= 5)
                ADD_FAILURE() << std::hexfloat << d << " unit " << unit << ": " << q.year << "-"
                              << q.month << "-" << q.day << " " << q.hour << ":" << q.minute << ":"
                              << q.second << "." << q.millisecond << ", plainly " << p.year << "-"
                              << p.month << "-" << p.day << " " << p.hour << ":" << p.minute << ":"
                              << p.second << "." << p.millisecond;
        }
    }
    return differing;
}

// Every day of the range, each at midnight, just before and after it and at
// a random time; negative days keep a positive time.
TEST(ValueFormat, QuickDateSplitMatchesThePlainOneOnEveryDay) {
    std::mt19937_64 random(20261211);
    std::uniform_real_distribution<double> time(0.0, 1.0);
    std::vector<double> values;
    for (int64_t day = -693594; day <= 2958466; ++day) {
        const double whole = static_cast<double>(day);
        values.push_back(whole);
        values.push_back(std::nextafter(whole, -HUGE_VAL));
        values.push_back(std::nextafter(whole, HUGE_VAL));
        values.push_back(day < 0 ? whole - time(random) : whole + time(random));
    }
    EXPECT_EQ(differingDateSplits(values), 0);
}

// Times next to every second and millisecond of a day (where the rounding
// turns over, up to the next day), on days across the range, and values
// from all over the double line: tiny, huge, out of range, not finite.
TEST(ValueFormat, QuickDateSplitMatchesThePlainOneAtRoundingEdges) {
    std::vector<double> values;
    const double days[] = {0, 1, -1, 36526, -693593, 2958465, 60, -657434, 1000000, -400000};
    for (const double day : days) {
        std::vector<double> times;
        for (int second = 0; second <= 86400; ++second) {
            times.push_back(second / 86400.0);
            times.push_back((second + 0.5) / 86400.0);
        }
        for (int ms = 0; ms < 86400000; ms += 997)
            times.push_back((ms + 0.5) / 86400000.0);
        for (const double time : times) {
            const double at = day < 0 ? day - time : day + time;
            values.push_back(at);
            values.push_back(std::nextafter(at, -HUGE_VAL));
            values.push_back(std::nextafter(at, HUGE_VAL));
        }
    }
    for (const double edge : {2958465.999999, 2958465.99999, 2958466.0, -693593.0, -693593.5,
                              -693594.0, 1e300, -1e300, 0.0, -0.0, 5e-324, -5e-324, HUGE_VAL,
                              -HUGE_VAL, std::numeric_limits<double>::quiet_NaN()}) {
        values.push_back(edge);
        values.push_back(std::nextafter(edge, -HUGE_VAL));
        values.push_back(std::nextafter(edge, HUGE_VAL));
    }
    std::mt19937_64 random(20261212);
    for (int k = 0; k < 2000000; ++k) {
        double d = 0;
        const uint64_t bits = random();
        std::memcpy(&d, &bits, sizeof d);
        values.push_back(d);
        values.push_back(std::ldexp(static_cast<double>(bits >> 11), -31) - 700000.0);
    }
    EXPECT_EQ(differingDateSplits(values), 0);
}

TEST(ValueFormat, CurrencyIsExactWithFourDecimals) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0.0000"},
        {140000, "14.0000"},
        {98000, "9.8000"},
        {-35000, "-3.5000"},
        {-1, "-0.0001"},
        {LLONG_MAX, "922337203685477.5807"},
        {LLONG_MIN, "-922337203685477.5808"},
    };
    for (const auto& [scaled, text] : cases)
        EXPECT_EQ(jet::formatCurrency(scaled), text);
}

// Currency written the plain way, a digit at a time from the right.
std::string plainCurrency(int64_t scaled) {
    uint64_t m = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + m % 10));
        m /= 10;
    } while (m != 0 || digits.size() < 5);
    digits.insert(digits.end() - 4, '.');
    return (scaled < 0 ? "-" : "") + digits;
}

// Amounts of every length and sign, and next to every power of ten.
TEST(ValueFormat, QuickCurrencyMatchesThePlainDigits) {
    std::vector<int64_t> amounts = {0, 1, -1, 9999, 10000, -10000, INT64_MAX, INT64_MIN};
    for (int64_t p = 1; p <= INT64_MAX / 10; p *= 10)
        for (const int64_t d : {p - 1, p, p + 1})
            amounts.insert(amounts.end(), {d, -d});
    std::mt19937_64 random(20261213);
    for (int k = 0; k < 300000; ++k) {
        const auto bits = static_cast<int64_t>(random());
        amounts.push_back(bits);
        amounts.push_back(bits >> (k % 63));
    }
    for (const int64_t amount : amounts)
        ASSERT_EQ(jet::formatCurrency(amount), plainCurrency(amount)) << amount;
}

TEST(ValueFormat, DecimalsAreExact) {
    struct Case {
        jet::Decimal d;
        const char* text;
    };
    const Case cases[] = {
        {{0, 12345, 2, 10, false}, "123.45"},
        {{0, 5, 3, 10, true}, "-0.005"},
        {{0, 0, 2, 10, true}, "0.00"},
        {{1, 0, 0, 28, false}, "18446744073709551616"},
        {{0x204FCE5E, 0x3E25026110000000, 0, 28, false}, "10000000000000000000000000000"},
        {{0, 1, 4, 18, false}, "0.0001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.d.toString(), c.text);
    EXPECT_DOUBLE_EQ((jet::Decimal{0, 12345, 2, 10, true}).toDouble(), -123.45);
}

TEST(ValueFormat, GuidsAndBytes) {
    std::string bytes;
    for (int k = 0; k < 16; ++k)
        bytes.push_back(static_cast<char>(k));
    EXPECT_EQ(jet::formatGuid(bytes), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
    EXPECT_EQ(jet::formatGuid("short"), "");
    EXPECT_EQ(jet::hexString(std::string("\x00\xff\x10", 3)), "00ff10");
}

TEST(ValueFormat, ShortestNumbers) {
    EXPECT_EQ(jet::formatDouble(0.1), "0.1");
    EXPECT_EQ(jet::formatDouble(444.555), "444.555");
    EXPECT_EQ(jet::formatDouble(0.1 + 0.2), "0.30000000000000004");  // exports stay exact
    EXPECT_EQ(jet::formatSingle(0.05f), "0.05");
    EXPECT_EQ(jet::formatDouble(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(jet::formatDouble(-std::numeric_limits<double>::infinity()), "-Infinity");
}

// Whole numbers used to come out as "1e+05"; the exponent now appears only
// where Access shows one, with Access's spelling.
TEST(ValueFormat, NumbersUseAccessLayoutWithExactDigits) {
    const struct {
        double value;
        const char* text;
    } doubles[] = {
        {100000.0, "100000"},
        {123456789012345.0, "123456789012345"},
        {-999999999999999.0, "-999999999999999"},
        {1e15, "1E+15"},
        {1234567890123456.0, "1.234567890123456E+15"},
        {0.0001, "0.0001"},
        {0.00012, "0.00012"},
        {0.00001, "1E-05"},
        {-2.5e-300, "-2.5E-300"},
        {1.7976931348623157e308, "1.7976931348623157E+308"},
        {0.0, "0"},
        {1234.5, "1234.5"},
        {-0.5, "-0.5"},
    };
    for (const auto& c : doubles)
        EXPECT_EQ(jet::formatDouble(c.value), c.text) << c.value;
    EXPECT_EQ(jet::formatSingle(100000.0f), "100000");
    EXPECT_EQ(jet::formatSingle(9999999.0f), "9999999");
    EXPECT_EQ(jet::formatSingle(16777216.0f), "1.6777216E+07");
    EXPECT_EQ(jet::formatSingle(0.1f), "0.1");
    EXPECT_EQ(jet::formatSingle(1.25e-8f), "1.25E-08");
}

// The layout from the shortest scientific digits, built the plain way: the
// quick paths for whole numbers and short decimals must give the same text.
template <typename T>
std::string layoutFromScientific(T v, int precision) {
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    const std::string sci(buf, r.ptr);
    const size_t e = sci.find('e');
    std::string digits = sci.substr(0, 1) + (e > 2 ? sci.substr(2, e - 2) : "");
    const int exponent = std::stoi(sci.substr(e + 1));
    const std::string sign = std::signbit(v) ? "-" : "";
    if (v == 0)
        return sign + "0";
    if (exponent < -4 || exponent >= precision) {
        const std::string size = std::to_string(std::abs(exponent));
        return sign + digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "") +
               (exponent < 0 ? "E-" : "E+") + (size.size() < 2 ? "0" : "") + size;
    }
    if (exponent < 0)
        return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    const size_t whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole)
        return sign + digits + std::string(whole - digits.size(), '0');
    return sign + digits.substr(0, whole) + "." + digits.substr(whole);
}

// Values exports meet most (money, measures, counters) and the edges of the
// quick paths: around 0.0001, the exponent limits, 2^50 and 2^21 scaled.
TEST(ValueFormat, QuickNumberLayoutMatchesShortestDigits) {
    std::vector<double> doubles = {0.30000000000000004, 2.5e-5, 123456.78901234, -0.0};
    // Twenty neighbours on each side of every edge.
    for (double edge : {1e-4, 1e15, 1e14, 1125899906842624.0, 112589990684262.4, 1.0, 0.1}) {
        double below = edge, above = edge;
        for (int k = 0; k < 20; ++k) {
            doubles.push_back(below = std::nextafter(below, 0.0));
            doubles.push_back(above = std::nextafter(above, 1e300));
        }
    }
    std::mt19937_64 random(20261210);
    std::uniform_int_distribution<int64_t> whole(-2000000000000000LL, 2000000000000000LL);
    std::uniform_int_distribution<int> decimals(0, 12);
    for (int k = 0; k < 200000; ++k) {
        doubles.push_back(static_cast<double>(whole(random) >> (k % 50)) /
                          std::pow(10.0, decimals(random)));
        const uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any))
            doubles.push_back(any);
        doubles.push_back(k * 0.25 - 1000);
    }
    for (double d : doubles)
        ASSERT_EQ(jet::formatDouble(d), layoutFromScientific(d, 15)) << d;
    for (size_t k = 0; k < doubles.size(); ++k) {
        const auto f = static_cast<float>(doubles[k] / std::pow(10.0, k % 9));
        if (std::isfinite(f)) {
            ASSERT_EQ(jet::formatSingle(f), layoutFromScientific(f, 7)) << f;
        }
    }
}

}  // namespace
