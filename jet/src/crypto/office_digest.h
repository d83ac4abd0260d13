// Hashing and password-key derivation of Office document encryption, over
// OpenSSL's digests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "jet/status.h"

namespace jet {

using Bytes = std::vector<uint8_t>;

class OfficeDigest {
  public:
    // `name` as the encryption description spells it: "SHA1", "SHA512", ...
    // Unsupported when OpenSSL does not know it.
    static Result<OfficeDigest> byName(const std::string& name);

    // The digest of the concatenated `parts`.
    Bytes hash(std::initializer_list<std::span<const uint8_t>> parts) const;

    // H0 = hash(salt + password), then `spinCount` rounds of
    // H = hash(LE32(i) + H): the expensive part of agile key derivation.
    Bytes spin(std::span<const uint8_t> salt, std::span<const uint8_t> password,
               uint32_t spinCount) const;

    size_t size() const { return size_; }

  private:
    OfficeDigest(const void* md, size_t size) : md_(md), size_(size) {}
    const void* md_;  // const EVP_MD*, kept opaque to keep OpenSSL out of headers
    size_t size_;
};

// `bytes` cut or extended to `length`, extended with `pad`.
Bytes fitLength(Bytes bytes, size_t length, uint8_t pad);

// A password as Office hashes it: UTF-16LE, at most 255 characters.
Bytes passwordBytes(std::string_view utf8);

}  // namespace jet
