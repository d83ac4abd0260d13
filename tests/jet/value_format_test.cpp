// Text forms of values: Access dates (negative dates keep a positive time),
// exact currency and decimals, GUIDs, hex and shortest doubles.
#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
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
