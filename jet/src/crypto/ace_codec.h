// Page decryption for password-protected ACE (.accdb) files: Office agile
// encryption (AES, SHA-512 key derivation) and Office RC4 CryptoAPI.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "jet/status.h"
#include "page_codec.h"

namespace jet {

// Builds the codec that decrypts the pages of the ACE file whose header page is
// `page0`, as stored in the file (masked); the page key at 0x3E is read after
// unmasking, the encryption description at 0x299 lies outside the mask. A missing or wrong
// password gives ErrorCode::BadPassword ("Not a valid password."); an encryption kind we do not
// decode gives ErrorCode::Unsupported ("... encrypted databases are not supported ..."). Returns a
// null codec when the file is not encrypted.
Result<std::unique_ptr<PageCodec>> makeAceCodec(std::span<const uint8_t> page0,
                                                std::string_view password);

}  // namespace jet
