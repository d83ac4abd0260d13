// Settings texts turned into numbers and Booleans, and the text forms written.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

#include "app/settings_file.h"

namespace app {
namespace {

// Test names show the text with tabs and non-ASCII bytes escaped.
void printText(const char* text, std::ostream* os) {
    *os << '"';
    for (const char* p = text; *p; ++p) {
        const unsigned char byte = static_cast<unsigned char>(*p);
        if (byte == '\t') {
            *os << "\\t";
        } else if (byte < 0x20 || byte >= 0x7F) {
            static const char* const kHex = "0123456789ABCDEF";
            *os << "\\x" << kHex[byte >> 4] << kHex[byte & 15];
        } else {
            *os << *p;
        }
    }
    *os << '"';
}

struct NumberCase {
    const char* text;
    double expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    printText(c.text, os);
}

class SettingsNumberReading : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SettingsNumberReading, TakesTheLongestLeadingDecimalNumber) {
    const NumberCase& c = GetParam();
    const double value = settingsNumber(QString::fromUtf8(c.text));
    EXPECT_DOUBLE_EQ(value, c.expected) << '"' << c.text << '"';
    EXPECT_FALSE(std::signbit(value) && value == 0) << "negative zero for " << c.text;
}

const NumberCase kNumberCases[] = {
    {"", 0},
    {"12", 12},
    {"  12", 12},
    {"\t8", 8},
    {"12abc", 12},
    {"12 34", 12},
    {"abc", 0},
    {"-60", -60},
    {"+7", 7},
    {"1234.5", 1234.5},
    {"-.5", -0.5},
    {".25", 0.25},
    {"5.", 5},
    {".", 0},
    {"-", 0},
    {"+", 0},
    {"-0", 0},
    {"1.2.3", 1.2},
    {"1,200", 1},
    {"1e3", 1},
    {" - 5", 0},
    {"--5", 0},
    {"0x10", 0},
    {"007", 7},
    {"2970", 2970},
    {"-2970.75x", -2970.75},
    {"\xEF\xBC\x91", 0},  // a full-width digit
};

INSTANTIATE_TEST_SUITE_P(Rules, SettingsNumberReading, ::testing::ValuesIn(kNumberCases));

TEST(SettingsNumberLimits, HugeNumbersStayFinite) {
    const QString nines(400, '9');
    EXPECT_EQ(settingsNumber(nines), DBL_MAX);
    EXPECT_EQ(settingsNumber("-" + nines), -DBL_MAX);
    EXPECT_EQ(settingsNumber(QString(400, '0') + "12"), 12);
    EXPECT_EQ(settingsNumber("0." + QString(400, '0') + "1"), 0);
}

struct WholeCase {
    const char* text;
    int expected;
};

void PrintTo(const WholeCase& c, std::ostream* os) {
    printText(c.text, os);
}

class SettingsWholeNumberReading : public ::testing::TestWithParam<WholeCase> {};

TEST_P(SettingsWholeNumberReading, RoundsAndHoldsWithinRange) {
    EXPECT_EQ(settingsWholeNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

const WholeCase kWholeCases[] = {
    {"", 0},
    {"2970", 2970},
    {"12.4", 12},
    {"12.5", 13},
    {"-12.5", -13},
    {"-60", -60},
    {"99999999999", INT_MAX},
    {"-99999999999", INT_MIN},
    {"2147483647", INT_MAX},
    {"1500px", 1500},
};

INSTANTIATE_TEST_SUITE_P(Rules, SettingsWholeNumberReading, ::testing::ValuesIn(kWholeCases));

struct BooleanCase {
    const char* text;
    std::optional<bool> expected;
};

void PrintTo(const BooleanCase& c, std::ostream* os) {
    printText(c.text, os);
}

class SettingsBooleanReading : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(SettingsBooleanReading, AcceptsWordsAndNumbersOnly) {
    EXPECT_EQ(settingsBoolean(GetParam().text), GetParam().expected) << GetParam().text;
}

const BooleanCase kBooleanCases[] = {
    {"True", true},
    {"true", true},
    {"TRUE", true},
    {"tRuE", true},
    {" False ", false},
    {"false", false},
    {"FALSE", false},
    {"0", false},
    {"1", true},
    {"-1", true},
    {"12", true},
    {"0.0", false},
    {"2.5", true},
    {"+0", false},
    {"-0", false},
    {" 1 ", true},
    {"yes", std::nullopt},
    {"no", std::nullopt},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"Truex", std::nullopt},
    {"12abc", std::nullopt},
    {".", std::nullopt},
    {"1 2", std::nullopt},
    {"T", std::nullopt},
    {"on", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Rules, SettingsBooleanReading, ::testing::ValuesIn(kBooleanCases));

struct NumberTextCase {
    double value;
    const char* expected;
};

void PrintTo(const NumberTextCase& c, std::ostream* os) {
    *os << c.value;
}

class SettingsNumberWriting : public ::testing::TestWithParam<NumberTextCase> {};

TEST_P(SettingsNumberWriting, PlainDecimalText) {
    EXPECT_EQ(settingsNumberText(GetParam().value), GetParam().expected);
}

const NumberTextCase kNumberTextCases[] = {
    {1200, "1200"},
    {-60, "-60"},
    {1234.5, "1234.5"},
    {0, "0"},
    {-0.0, "0"},
    {0.1, "0.1"},
    {1e20, "100000000000000000000"},
    {std::numeric_limits<double>::quiet_NaN(), "0"},
    {std::numeric_limits<double>::infinity(), "0"},
    {-std::numeric_limits<double>::infinity(), "0"},
};

INSTANTIATE_TEST_SUITE_P(Forms, SettingsNumberWriting, ::testing::ValuesIn(kNumberTextCases));

TEST(SettingsNumberWriting, WrittenNumbersReadBackUnchanged) {
    for (double v : {0.0, 1.0, -1.0, 2970.0, 3570.0, -60.0, 1234.5, 0.125, 1e-7, 123456789.25,
                     -98765.4321, 1e300}) {
        EXPECT_EQ(settingsNumber(settingsNumberText(v)), v) << v;
    }
}

TEST(SettingsBooleanWriting, WordsAsCapitalisedAndReadBack) {
    EXPECT_EQ(settingsBooleanText(true), "True");
    EXPECT_EQ(settingsBooleanText(false), "False");
    EXPECT_EQ(settingsBoolean(settingsBooleanText(true)), true);
    EXPECT_EQ(settingsBoolean(settingsBooleanText(false)), false);
}

}  // namespace
}  // namespace app
