// Checked number text: whole-text rules, range handling like strtod, no
// exceptions and the same result whatever the C locale says.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "jet/number_text.h"

namespace {

TEST(NumberText, IntegersMustBeWholeAndFit) {
    EXPECT_EQ(jet::parseInteger("123"), 123);
    EXPECT_EQ(jet::parseInteger("-7"), -7);
    EXPECT_EQ(jet::parseInteger("ff", 16), 255);
    EXPECT_EQ(jet::parseInt("2147483647"), 2147483647);
    for (const char* bad : {"", " 1", "1 ", "1.5", "+", "x1", "99999999999999999999"}) {
        EXPECT_FALSE(jet::parseInteger(bad)) << bad;
    }
    EXPECT_FALSE(jet::parseInt("99999999999"));  // the Text(99999999999) size
    EXPECT_FALSE(jet::parseInt("-2147483649"));
}

TEST(NumberText, DecimalsReadLikeSqlLiterals) {
    EXPECT_EQ(jet::parseDouble("1.5"), 1.5);
    EXPECT_EQ(jet::parseDouble(".5"), 0.5);
    EXPECT_EQ(jet::parseDouble("+2E-4"), 2e-4);
    EXPECT_EQ(jet::parseDouble("-12"), -12.0);
    EXPECT_EQ(jet::parseDouble("1."), 1.0);
    for (const char* bad :
         {"", "+", "-", ".", "1,5", " 1", "1 ", "0x10", "inf", "nan", "1e", "+-1"}) {
        EXPECT_FALSE(jet::parseDouble(bad)) << bad;
    }
}

TEST(NumberText, OutOfRangeGivesInfinityOrZeroAsStrtodDoes) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(jet::parseDouble("1e999"), inf);
    EXPECT_EQ(jet::parseDouble("-1e999"), -inf);
    EXPECT_EQ(jet::parseDouble("1" + std::string(400, '0')), inf);
    EXPECT_EQ(jet::parseDouble("1e-999"), 0.0);
    EXPECT_EQ(jet::parseDouble("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(jet::parseDouble("1e99999999999999999999"), inf);
    EXPECT_EQ(jet::parseDouble("1e-99999999999999999999"), 0.0);
    EXPECT_TRUE(std::signbit(*jet::parseDouble("-1e-999")));
}

TEST(NumberText, RealTextReadsBackExactly) {
    for (double d : {0.1, 1.0 / 3.0, -2.5e-300, 1e21, 123456.0}) {
        EXPECT_EQ(jet::parseDouble(jet::realText(d)), d) << jet::realText(d);
    }
    EXPECT_EQ(jet::realText(0.5), "0.5");
}

}  // namespace
