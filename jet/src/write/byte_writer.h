// Little- and big-endian stores into page and row buffers. Callers check
// bounds first.
#pragma once

#include <cstdint>
#include <vector>

namespace jet::write {

inline void putLe16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void putLe24(uint8_t* p, uint32_t v) {
    putLe16(p, v);
    p[2] = static_cast<uint8_t>(v >> 16);
}

inline void putLe32(uint8_t* p, uint32_t v) {
    putLe24(p, v);
    p[3] = static_cast<uint8_t>(v >> 24);
}

inline void putBe32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

inline void appendLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void appendLe32(std::vector<uint8_t>& out, uint32_t v) {
    appendLe16(out, v);
    appendLe16(out, v >> 16);
}

inline uint32_t be32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

}  // namespace jet::write
