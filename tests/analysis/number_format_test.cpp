#include "analysis/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

namespace analysis {
namespace {

struct FormatCase {
    float value;
    const char* general;
    const char* twoDecimals;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.general;
}

class FigureText : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FigureText, GeneralAndTwoDecimalForms) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(formatGeneral(c.value).toStdString(), c.general);
    EXPECT_EQ(formatTwoDecimals(c.value).toStdString(), c.twoDecimals);
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, FigureText,
    ::testing::Values(
        FormatCase{0.0f, "0", "0.00"}, FormatCase{-0.0f, "0", "0.00"},
        FormatCase{1.0f, "1", "1.00"}, FormatCase{15.0f, "15", "15.00"},
        FormatCase{0.4f, "0.4", "0.40"}, FormatCase{-2.5f, "-2.5", "-2.50"},
        FormatCase{4.0f / 3.0f, "1.333333", "1.33"}, FormatCase{3.14159265f, "3.141593", "3.14"},
        FormatCase{1234567.0f, "1234567", "1234567.00"},
        FormatCase{9999999.0f, "9999999", "9999999.00"}, FormatCase{1e7f, "1E+07", "10000000.00"},
        FormatCase{12345678.0f, "1.234568E+07", "12345678.00"},
        FormatCase{0.0001f, "0.0001", "0.00"}, FormatCase{0.00001f, "1E-05", "0.00"},
        FormatCase{-0.001f, "-0.001", "0.00"},  // no minus on a zero
        FormatCase{-0.006f, "-0.006", "-0.01"},
        FormatCase{0.125f, "0.125", "0.12"},  // exact tie: to even
        FormatCase{2.675f, "2.675", "2.67"},  // stored just below 2.675
        FormatCase{1e20f, "1E+20", "100000002004087734272.00"},
        FormatCase{-1.1e20f, "-1.1E+20", "-109999998686059298816.00"},
        FormatCase{FLT_MAX, "3.402823E+38", "340282346638528859811704183484516925440.00"},
        FormatCase{FLT_TRUE_MIN, "1.401298E-45", "0.00"}, FormatCase{kInf, "Overflow", "Overflow"},
        FormatCase{-kInf, "Overflow", "Overflow"},
        FormatCase{std::numeric_limits<float>::quiet_NaN(), "Overflow", "Overflow"}));

}  // namespace
}  // namespace analysis
