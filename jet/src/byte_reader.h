// Little-endian reads from page and row bytes. Callers check bounds first.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace jet {

inline uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int64_t le64s(const uint8_t* p) {
    uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, p, sizeof v);  // one load instead of eight
    } else {
        for (int i = 7; i >= 0; --i)
            v = (v << 8) | p[i];
    }
    return static_cast<int64_t>(v);
}

inline double leDouble(const uint8_t* p) {
    uint64_t bits = static_cast<uint64_t>(le64s(p));
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

inline float leFloat(const uint8_t* p) {
    uint32_t bits = le32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

}  // namespace jet
