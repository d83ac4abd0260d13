#include "analysis/bar_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace analysis {
namespace {

TEST(BarScale, RangeTakenInSinglePrecision) {
    ColumnStatistics entry;
    entry.maximum = 16777216.0f;
    entry.minimum = 16777215.0f;
    EXPECT_TRUE(BarScale::from(&entry).has_value());
    entry.minimum = entry.maximum;
    EXPECT_FALSE(BarScale::from(&entry).has_value());
}

TEST(BarScale, OverflowedFiguresNeverGiveNaN) {
    ColumnStatistics entry;
    entry.maximum = std::numeric_limits<float>::infinity();
    entry.minimum = 0.0f;
    const auto scale = BarScale::from(&entry);
    ASSERT_TRUE(scale.has_value());
    EXPECT_EQ(scale->percent(5.0), 0.0);
    EXPECT_EQ(scale->percent(std::numeric_limits<double>::infinity()), 0.0);
    entry.minimum = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(BarScale::from(&entry).has_value()) << "infinity minus infinity has no range";
    entry.minimum = -std::numeric_limits<float>::infinity();
    const auto unbounded = BarScale::from(&entry);
    ASSERT_TRUE(unbounded.has_value());
    EXPECT_EQ(unbounded->percent(5.0), 0.0) << "infinity over infinity";
    entry.minimum = -1.0f;
    const auto fromMinimum = BarScale::from(&entry);
    ASSERT_TRUE(fromMinimum.has_value());
    EXPECT_FALSE(std::isnan(fromMinimum->percent(std::numeric_limits<double>::infinity())));
}

}  // namespace
}  // namespace analysis
