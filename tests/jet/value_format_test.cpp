// Text forms of values: Access dates (negative dates keep a positive time),
// exact currency and decimals, GUIDs, hex and shortest doubles.
#include <gtest/gtest.h>

#include <climits>
#include <string>

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

}  // namespace
