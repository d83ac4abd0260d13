// Page decryption of ACE files protected with Office agile encryption: each
// page is AES-encrypted with one database key, under an IV derived from the
// page number; the database key is unlocked by the password.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "jet/status.h"
#include "page_codec.h"

namespace jet {

// `pageKey` is the 4-byte key at 0x3E of the header; `xml` the agile
// description. BadPassword when `password` does not unlock the key.
Result<std::unique_ptr<PageCodec>> makeAgileCodec(std::span<const uint8_t, 4> pageKey,
                                                  std::string_view xml, std::string_view password);

}  // namespace jet
