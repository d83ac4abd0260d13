// RC4 key stream, as Jet uses it to mask the header page and to encode pages.
// Kept here because OpenSSL 3 only offers RC4 through its legacy provider,
// which a default installation does not load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace jet {

class Rc4 {
  public:
    explicit Rc4(std::span<const uint8_t> key);
    // XORs `data` with the next bytes of the key stream.
    void apply(std::span<uint8_t> data);

  private:
    uint8_t s_[256];
    uint8_t i_ = 0;
    uint8_t j_ = 0;
};

}  // namespace jet
