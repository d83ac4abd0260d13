#include "date_time_extended.h"

namespace jet {
namespace {

constexpr size_t kSize = 42;
constexpr size_t kDaysAt = 0, kDaysDigits = 19;
constexpr size_t kSecondsAt = 20, kSecondsDigits = 12;
constexpr size_t kTicksAt = 32, kTicksDigits = 7;
constexpr int64_t kDaysToAccessEpoch = 693593;  // 0001-01-01 .. 1899-12-30

std::optional<int64_t> digits(const uint8_t* p, size_t n) {
    int64_t v = 0;
    for (size_t k = 0; k < n; ++k) {
        if (p[k] < '0' || p[k] > '9')
            return std::nullopt;
        v = v * 10 + (p[k] - '0');
    }
    return v;
}

}  // namespace

std::optional<double> parseDateTimeExtended(const uint8_t* bytes, size_t size) {
    if (size < kSize)
        return std::nullopt;
    const auto days = digits(bytes + kDaysAt, kDaysDigits);
    const auto seconds = digits(bytes + kSecondsAt, kSecondsDigits);
    const auto ticks = digits(bytes + kTicksAt, kTicksDigits);
    if (!days || !seconds || !ticks || *days > 3652059 || *seconds >= 86400)
        return std::nullopt;
    const double time =
        (static_cast<double>(*seconds) + static_cast<double>(*ticks) / 1e7) / 86400.0;
    const int64_t day = *days - kDaysToAccessEpoch;
    // Access dates before 1899-12-30 carry their time as a positive fraction.
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

}  // namespace jet
