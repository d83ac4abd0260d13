// The page encoding of "encoded" Jet 3 / Jet 4 databases: every page but the
// header is RC4-encrypted with the database key XOR the page number. It does
// not depend on the password.
#pragma once

#include <cstdint>

#include "page_codec.h"

namespace jet {

class JetPageCodec : public PageCodec {
  public:
    explicit JetPageCodec(uint32_t databaseKey) : key_(databaseKey) {}
    Status decode(uint32_t pageNumber, std::span<uint8_t> page) const override;
    Status encode(uint32_t pageNumber, std::span<uint8_t> page) const override;

  private:
    uint32_t key_;
};

}  // namespace jet
