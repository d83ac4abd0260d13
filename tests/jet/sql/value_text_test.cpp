// The texts values show with no format set, at the edges where printf's %G
// rules switch form: whole numbers against the precision, exponents, the
// 7 digits of Single, Currency decimals and the General Date forms.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "jet/sql_value_text.h"

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

}  // namespace
}  // namespace jet
