// Date/Time Extended values (ACE 17+): 42 ASCII bytes holding days since
// 0001-01-01, seconds into the day and 100-nanosecond units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace jet {

// The value as an Access date (precision beyond the double is lost); nullopt
// when the bytes are not in that form.
std::optional<double> parseDateTimeExtended(const uint8_t* bytes, size_t size);

}  // namespace jet
