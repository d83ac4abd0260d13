// The texts values show with no format set, at the edges where printf's %G
// rules switch form: whole numbers against the precision, exponents, the
// 7 digits of Single, Currency decimals and the General Date forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "jet/sql_value_text.h"
#include "jet/value_format.h"

namespace jet {
namespace {

struct NumberCase {
    double value;
    const char* text;
};

TEST(ValueText, DoublesShowFifteenSignificantDigits) {
    const NumberCase cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {3.5, "3.5"},
        {-2.25, "-2.25"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {-999999999999999.0, "-999999999999999"},
        {1e15, "1E+15"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {1.5e-300, "1.5E-300"},
        {1.7976931348623157e308, "1.79769313486232E+308"},
        {2.0 / 3.0 * 1e6, "666666.666666667"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(doubleText(c.value), c.text) << c.value;
    }
}

// Most doubles are laid out from their shortest digits rather than rounded
// to 15; every form must still be printf's, across exponents and lengths.
TEST(ValueText, DoublesMatchPrintfAcrossDigitCountsAndExponents) {
    std::mt19937_64 random(20261211);
    std::vector<double> values;
    for (int i = 0; i < 300000; ++i) {
        uint64_t bits = random();
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d))
            values.push_back(d);
        // Short decimals, as typed amounts and scores are.
        const double digits = double(random() % 100000000);
        const int scale = int(random() % 40) - 20;
        values.push_back(digits * std::pow(10.0, scale));
        values.push_back(-digits / std::pow(10.0, double(random() % 12)));
    }
    for (int exponent = -310; exponent <= 308; ++exponent) {
        const double decade = std::pow(10.0, exponent);
        for (double near :
             {decade, decade * 9.5, decade * 0.99999999999999, decade * 1.000000000000001}) {
            values.push_back(near);
            values.push_back(std::nextafter(near, 0.0));
            values.push_back(std::nextafter(near, HUGE_VAL));
        }
    }
    values.push_back(std::numeric_limits<double>::denorm_min());
    values.push_back(std::numeric_limits<double>::min());
    values.push_back(0.1 + 0.2);
    int wrong = 0;
    for (const double d : values) {
        if (d == 0 || !std::isfinite(d))
            continue;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15G", d);
        if (doubleText(d) != expected && ++wrong <= 10)
            ADD_FAILURE() << expected << " shown as " << doubleText(d);
    }
    EXPECT_EQ(wrong, 0) << "of " << values.size();
}

TEST(ValueText, SinglesShowSevenSignificantDigits) {
    const NumberCase cases[] = {
        {3.5, "3.5"},
        {0.1, "0.1"},
        {9999999.0, "9999999"},
        {16777216.0, "1.677722E+07"},
        {1.0 / 3.0, "0.3333333"},
        {-1.25e-8, "-1.25E-08"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(singleText(c.value), c.text) << c.value;
    }
}

TEST(ValueText, CurrencyDropsTrailingZeros) {
    const struct {
        int64_t scaled;
        const char* text;
    } cases[] = {
        {0, "0"},
        {10000, "1"},
        {12345, "1.2345"},
        {12340, "1.234"},
        {10500, "1.05"},
        {1, "0.0001"},
        {-1, "-0.0001"},
        {-25000, "-2.5"},
        {INT64_MIN, "-922337203685477.5808"},
        {INT64_MAX, "922337203685477.5807"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(currencyText(c.scaled), c.text) << c.scaled;
    }
}

TEST(ValueText, GeneralDateShowsDateAndTimeOnlyWhenPresent) {
    const NumberCase cases[] = {
        {27293.0, "9/21/1974"},
        {27293.5, "9/21/1974 12:00:00 PM"},
        {27293.0 + 3723.0 / 86400.0, "9/21/1974 1:02:03 AM"},
        {0.0, "12:00:00 AM"},
        {0.75, "6:00:00 PM"},
        {1.0, "12/31/1899"},
        {-1.25, "12/29/1899 6:00:00 AM"},
        {2958465.0, "12/31/9999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(generalDateText(c.value), c.text) << c.value;
    }
}

// Whole numbers are written digit by digit below 10,000 and by the general
// conversion above: both must give the decimal digits at every digit count,
// and dates built from those parts must read as printf would write them.
TEST(ValueText, WholeNumbersAndDatePartsMatchPrintfAtEveryDigitCount) {
    for (long long n = -20000; n <= 20000; ++n) {
        ValueRef v;
        v.type = ValueType::Long;
        v.i = n;
        ASSERT_EQ(displayText(v.toValue()), std::to_string(n));
    }
    for (const long long n : {99999LL, 100000LL, 2147483647LL, -2147483648LL}) {
        ValueRef v;
        v.type = ValueType::BigInt;
        v.i = n;
        EXPECT_EQ(displayText(v.toValue()), std::to_string(n));
    }
    // Every day of years 100, 999, 1000, 1899 and 9999, at a time with
    // one- and two-digit parts.
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (const int year : {100, 999, 1000, 1899, 9999}) {
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= lengths[month - 1] + (month == 2 && leap ? 1 : 0); ++day) {
                DateTimeParts parts;
                parts.year = year;
                parts.month = month;
                parts.day = day;
                parts.hour = 21;
                parts.minute = 5;
                parts.second = 7;
                char expected[64];
                std::snprintf(expected, sizeof expected, "%d/%d/%d 9:05:07 PM", month, day, year);
                // Day 0 itself shows its time alone.
                const bool dayZero = year == 1899 && month == 12 && day == 30;
                ASSERT_EQ(generalDateText(accessDate(parts)), dayZero ? "9:05:07 PM" : expected);
            }
        }
    }
}

// A result load appends each cell's text to one buffer: the appended text
// must equal displayText, the longest form of every type must fit, and what
// the buffer held before must stay.
TEST(ValueText, AppendedTextsEqualDisplayTextsAndKeepTheBufferBefore) {
    Decimal big;
    big.hi = ~uint64_t{0};
    big.lo = ~uint64_t{0};
    big.scale = 10;
    big.negative = true;
    const Value values[] = {
        Value::null(),
        Value::boolean(true),
        Value::integer(ValueType::BigInt, INT64_MIN),
        Value::integer(ValueType::Currency, INT64_MIN),
        Value::integer(ValueType::Currency, -12345),
        Value::real(ValueType::Double, -1.234567890123456e-308),
        Value::real(ValueType::Double, -std::numeric_limits<double>::infinity()),
        Value::real(ValueType::Single, -3.4028234e38),
        Value::real(ValueType::DateTime, 2958465.999988426),  // 12/31/9999 11:59:59 PM
        Value::real(ValueType::DateTime, -657434.5),
        Value::real(ValueType::DateTime, 0.75),
        Value::real(ValueType::DateTime, std::numeric_limits<double>::quiet_NaN()),
        Value::text(std::string(300, 'x')),
        Value::binary("\x01\x02"),
        Value::guid(std::string(16, '\xAB')),
        Value::decimal(big),
        errorValue(),
    };
    std::string all = "before|";
    std::string expected = all;
    for (const Value& v : values) {
        appendDisplayText(all, v);
        expected += displayText(v);
        EXPECT_EQ(all, expected) << "after a value of type " << int(v.type());
    }
    EXPECT_EQ(displayText(values[8]), "12/31/9999 11:59:59 PM");
    EXPECT_EQ(displayText(values[3]), "-922337203685477.5808");
}

// A row refilled in place: a short text after a long one, and a text after
// a number, read exactly as a fresh text value.
TEST(ValueText, TextSetInPlaceEqualsAFreshTextValue) {
    Value v = Value::text(std::string(100, 'a'));
    v.setText("bc");
    EXPECT_EQ(v, Value::text("bc"));
    v = Value::integer(ValueType::Currency, 5);
    v.setText("");
    EXPECT_EQ(v, Value::text(""));
    v = Value::decimal(Decimal{0, 7, 2, 10, true});
    v.setText("x");
    EXPECT_EQ(v, Value::text("x"));
}

}  // namespace
}  // namespace jet
