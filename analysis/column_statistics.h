// The figures one statistics run keeps for one column of the data sheet.
#pragma once

#include <array>
#include <cstdint>

namespace analysis {

struct ColumnStatistics {
    static constexpr int kIntervals = 10;

    float maximum = 0.0f;
    float minimum = 0.0f;
    float total = 0.0f;
    float average = 0.0f;
    float standardDeviation = 0.0f;  // population standard deviation
    float intervalWidth = 0.0f;      // (maximum - minimum) / 10
    // intervalCounts[0] is interval 1 (lowest values), [9] interval 10.
    std::array<std::int32_t, kIntervals> intervalCounts{};
    std::int32_t largestCount = 0;

    // Count of interval k, 1 <= k <= 10.
    std::int32_t count(int k) const { return intervalCounts[k - 1]; }
};

}  // namespace analysis
