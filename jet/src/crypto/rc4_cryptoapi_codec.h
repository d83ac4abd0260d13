// Page decryption of ACE files protected with Office RC4 CryptoAPI
// encryption (Access 2007 and the "legacy" option of later versions): every
// page is RC4-encrypted with a key hashed from the password and page number.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "jet/status.h"
#include "page_codec.h"

namespace jet {

// `pageKey` is the 4-byte key at 0x3E of the header; `info` the encryption
// description from its version field on. BadPassword when the password's
// verifier does not match; Unsupported for algorithms other than RC4/SHA-1.
Result<std::unique_ptr<PageCodec>> makeRc4CryptoApiCodec(std::span<const uint8_t, 4> pageKey,
                                                         std::span<const uint8_t> info,
                                                         std::string_view password);

}  // namespace jet
