// Date/Time Extended text values turned into Access dates.
#include "date_time_extended.h"

#include <gtest/gtest.h>

#include <string>

#include "jet/value_format.h"

namespace {

std::optional<double> parse(const std::string& text) {
    return jet::parseDateTimeExtended(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string field(const char* days, const char* seconds, const char* ticks) {
    return std::string(days) + ":" + seconds + ticks + std::string(":7\0", 3);
}

TEST(DateTimeExtended, DecodesDaysSecondsAndTicks) {
    const auto noon2000 = parse(field("0000000000000730119", "000000043200", "0000000"));
    ASSERT_TRUE(noon2000);
    EXPECT_DOUBLE_EQ(*noon2000, 36526.5);
    const auto before1900 = parse(field("0000000000000693592", "000000021600", "5000000"));
    ASSERT_TRUE(before1900);
    EXPECT_EQ(jet::formatDateTimeIso(*before1900), "1899-12-29T06:00:01");
    const auto first = parse(field("0000000000000000000", "000000000000", "0000000"));
    ASSERT_TRUE(first);
    EXPECT_EQ(jet::formatDateTimeIso(*first), "0001-01-01T00:00:00");
}

TEST(DateTimeExtended, RejectsOtherBytes) {
    EXPECT_FALSE(parse("short"));
    EXPECT_FALSE(parse(field("00000000000007301x9", "000000043200", "0000000")));
    EXPECT_FALSE(parse(field("0000000000000730119", "000000086400", "0000000")));
}

}  // namespace
