#include "analysis/number_reading.h"

#include <gtest/gtest.h>

#include <QString>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace analysis {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ReadingCase {
    const char16_t* text;
    double expected;
};

void PrintTo(const ReadingCase& c, std::ostream* os) {
    *os << '"' << QString::fromUtf16(c.text).toStdString() << "\" -> " << c.expected;
}

class NumberReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(NumberReading, ReadsTheLeadingNumber) {
    const ReadingCase& c = GetParam();
    const double value = readNumber(QStringView(c.text));
    EXPECT_EQ(value, c.expected);
    EXPECT_FALSE(std::signbit(value) && value == 0.0) << "never -0";
    // The sheet hands its cells over as UTF-8: the same text reads the same.
    const std::string utf8 = QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(readNumber(std::string_view(utf8)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(PlainNumbers, NumberReading,
                         ::testing::Values(ReadingCase{u"", 0.0}, ReadingCase{u"0", 0.0},
                                           ReadingCase{u"12", 12.0}, ReadingCase{u"-12", -12.0},
                                           ReadingCase{u"+12", 12.0}, ReadingCase{u"00012", 12.0},
                                           ReadingCase{u"1.5", 1.5}, ReadingCase{u".5", 0.5},
                                           ReadingCase{u"-.5", -0.5}, ReadingCase{u"5.", 5.0},
                                           ReadingCase{u"0.1", 0.1}, ReadingCase{u"-0", 0.0},
                                           ReadingCase{u"-0.000", 0.0},
                                           ReadingCase{u"123456789", 123456789.0}));

INSTANTIATE_TEST_SUITE_P(IgnoredCharacters, NumberReading,
                         ::testing::Values(ReadingCase{u"   ", 0.0}, ReadingCase{u"  42  ", 42.0},
                                           ReadingCase{u"1 000", 1000.0},
                                           ReadingCase{u"1\t2\n3", 123.0},
                                           ReadingCase{u"- 5", -5.0}, ReadingCase{u"1 . 5", 1.5},
                                           ReadingCase{u"1E 2", 100.0}, ReadingCase{u"\n\t7", 7.0},
                                           // carriage return and no-break space are not ignored
                                           ReadingCase{u"1\r2", 1.0}, ReadingCase{u"\u00A012", 0.0},
                                           ReadingCase{u"12\u00A03", 12.0}));

INSTANTIATE_TEST_SUITE_P(
    StopsAtOtherCharacters, NumberReading,
    ::testing::Values(ReadingCase{u"12kg", 12.0}, ReadingCase{u"1,234", 1.0},
                      ReadingCase{u"1,5", 1.0}, ReadingCase{u"$5", 0.0}, ReadingCase{u"abc", 0.0},
                      ReadingCase{u"n/a", 0.0}, ReadingCase{u"1.2.3", 1.2}, ReadingCase{u".", 0.0},
                      ReadingCase{u"-", 0.0}, ReadingCase{u"--5", 0.0}, ReadingCase{u"+-5", 0.0},
                      ReadingCase{u"3-4", 3.0}, ReadingCase{u"12%", 12.0},
                      ReadingCase{u"2024-01-31", 2024.0},
                      ReadingCase{u"\u0661\u0662", 0.0},    // Arabic-Indic digits
                      ReadingCase{u"\uFF11\uFF12", 0.0}));  // full-width digits

INSTANTIATE_TEST_SUITE_P(Exponents, NumberReading,
                         ::testing::Values(ReadingCase{u"1E3", 1000.0}, ReadingCase{u"1e3", 1000.0},
                                           ReadingCase{u"1D3", 1000.0}, ReadingCase{u"1d-2", 0.01},
                                           ReadingCase{u"2.5E+2", 250.0},
                                           ReadingCase{u"-1.5E-1", -0.15}, ReadingCase{u"1E", 1.0},
                                           ReadingCase{u"1E+", 1.0}, ReadingCase{u"1E-x", 1.0},
                                           ReadingCase{u"7Ex", 7.0}, ReadingCase{u"1E2.5", 100.0},
                                           ReadingCase{u"E5", 0.0}, ReadingCase{u".E5", 0.0},
                                           ReadingCase{u"0E99999", 0.0},
                                           ReadingCase{u"1.7976931348623157E308", DBL_MAX}));

INSTANTIATE_TEST_SUITE_P(Prefixes, NumberReading,
                         ::testing::Values(ReadingCase{u"&H1F", 31.0}, ReadingCase{u"&h1f", 31.0},
                                           ReadingCase{u"&HFFFF", 65535.0},
                                           ReadingCase{u"&HFFFFFFFF", 4294967295.0},
                                           ReadingCase{u"&H", 0.0}, ReadingCase{u"&HG", 0.0},
                                           ReadingCase{u"&H1G", 1.0}, ReadingCase{u"& H 1 F", 31.0},
                                           ReadingCase{u"&O17", 15.0}, ReadingCase{u"&o17", 15.0},
                                           ReadingCase{u"&O8", 0.0}, ReadingCase{u"&O178", 15.0},
                                           ReadingCase{u"&", 0.0}, ReadingCase{u"&X1", 0.0},
                                           ReadingCase{u"&12", 0.0}, ReadingCase{u"-&H10", 0.0}));

INSTANTIATE_TEST_SUITE_P(
    Extremes, NumberReading,
    ::testing::Values(ReadingCase{u"1E400", kInf}, ReadingCase{u"-1E400", -kInf},
                      ReadingCase{u"1E-400", 0.0}, ReadingCase{u"-1E-400", 0.0},
                      ReadingCase{u"1E99999999999999999999", kInf},
                      ReadingCase{u"1E-99999999999999999999", 0.0},
                      ReadingCase{u"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0},
                      ReadingCase{u"9007199254740993", 9007199254740992.0},
                      ReadingCase{u"123456789012345678901234567890", 1.2345678901234568e29},
                      ReadingCase{u"0.33333333333333333333333333333333333333333333333333",
                                  0.33333333333333333333333333333333333333333333333333},
                      ReadingCase{u"4.9406564584124654E-324", 4.9406564584124654E-324}));

TEST(NumberReadingLongText, ManyDigitsKeepTheirMagnitude) {
    const QString big = QStringLiteral("1") + QString(500, QLatin1Char('0'));
    EXPECT_EQ(readNumber(QStringView(big)), kInf);
    const QString large = QStringLiteral("1") + QString(300, QLatin1Char('0'));
    EXPECT_EQ(readNumber(QStringView(large)), 1e300);
    const QString tiny =
        QStringLiteral("0.") + QString(500, QLatin1Char('0')) + QStringLiteral("1");
    EXPECT_EQ(readNumber(QStringView(tiny)), 0.0);
    const QString small =
        QStringLiteral("0.") + QString(299, QLatin1Char('0')) + QStringLiteral("1");
    EXPECT_EQ(readNumber(QStringView(small)), 1e-300);
    const QString zeros = QString(100000, QLatin1Char('0')) + QStringLiteral("7.25");
    EXPECT_EQ(readNumber(QStringView(zeros)), 7.25);
}

TEST(NumberReadingLongText, DigitsBeyondThePrecisionStillRound) {
    // 40 significant digits are kept; a nonzero digit after them still counts.
    const QString justAbove = QStringLiteral("9007199254740993") + QString(60, QLatin1Char('0')) +
                              QStringLiteral("1E-61");
    EXPECT_EQ(readNumber(QStringView(justAbove)), 9007199254740994.0);
}

TEST(NumberReadingEightBit, ReadsLikeTheUnicodeText) {
    EXPECT_EQ(readNumber(std::string_view("12kg")), 12.0);
    EXPECT_EQ(readNumber(std::string_view(" -1 . 5 E 1")), -15.0);
    EXPECT_EQ(readNumber(std::string_view("&HfF")), 255.0);
    EXPECT_EQ(readNumber(std::string_view("\xC2\xA0"
                                          "12")),
              0.0);
    EXPECT_EQ(readNumber(std::string_view("1\xC2\xB2")), 1.0);
    EXPECT_EQ(readNumber(std::string_view()), 0.0);
}

struct SingleCase {
    double value;
    float expected;
};

class SingleRounding : public ::testing::TestWithParam<SingleCase> {};

TEST_P(SingleRounding, RoundsToNearestAndOverflowsToInfinity) {
    const SingleCase& c = GetParam();
    EXPECT_EQ(toSingle(c.value), c.expected);
}

constexpr float kFInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, SingleRounding,
    ::testing::Values(SingleCase{0.1, 0.1f}, SingleCase{-2.5, -2.5f},
                      SingleCase{16777217.0, 16777216.0f}, SingleCase{16777219.0, 16777220.0f},
                      SingleCase{static_cast<double>(FLT_MAX), FLT_MAX},
                      SingleCase{0x1.fffffefffffffp127, FLT_MAX},  // just under halfway
                      SingleCase{0x1.ffffffp127, kFInf},           // halfway: to even
                      SingleCase{1e39, kFInf}, SingleCase{-1e39, -kFInf}, SingleCase{kInf, kFInf},
                      SingleCase{1e-50, 0.0f}));

TEST(SingleRounding, NaNStaysNaN) {
    EXPECT_TRUE(std::isnan(toSingle(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace
}  // namespace analysis
