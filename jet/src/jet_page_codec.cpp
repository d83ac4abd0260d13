#include "jet_page_codec.h"

#include "rc4.h"

namespace jet {

Status JetPageCodec::decode(uint32_t pageNumber, std::span<uint8_t> page) const {
    const uint32_t k = key_ ^ pageNumber;
    const uint8_t key[4] = {static_cast<uint8_t>(k), static_cast<uint8_t>(k >> 8),
                            static_cast<uint8_t>(k >> 16), static_cast<uint8_t>(k >> 24)};
    Rc4(key).apply(page);
    return Status::ok();
}

// RC4 is its own inverse.
Status JetPageCodec::encode(uint32_t pageNumber, std::span<uint8_t> page) const {
    return decode(pageNumber, page);
}

}  // namespace jet
