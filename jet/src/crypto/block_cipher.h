// Whole-buffer decryption (and encryption, for saved queries) with an OpenSSL block cipher named
// the way Office encryption descriptions name them (algorithm, key bits, chaining mode).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "jet/status.h"

namespace jet {

class BlockCipher {
  public:
    // "AES", 256, "ChainingModeCBC" -> AES-256-CBC. Unsupported for anything
    // OpenSSL lacks or Office does not use.
    static Result<BlockCipher> byName(const std::string& algorithm, uint32_t keyBits,
                                      const std::string& chaining);

    // Decrypts `data` in place (no padding). `key` must be keyBits/8 bytes;
    // `iv` is cut or zero-extended to the cipher's IV length. Corrupt when
    // `data` is not a whole number of blocks.
    Status decrypt(std::span<const uint8_t> key, std::span<const uint8_t> iv,
                   std::span<uint8_t> data) const;
    // Encrypts `data` in place, the inverse of decrypt().
    Status encrypt(std::span<const uint8_t> key, std::span<const uint8_t> iv,
                   std::span<uint8_t> data) const;
    // Decrypts a copy of `data`.
    Result<std::vector<uint8_t>> decrypted(std::span<const uint8_t> key,
                                           std::span<const uint8_t> iv,
                                           std::span<const uint8_t> data) const;

    size_t blockSize() const { return blockSize_; }
    size_t keySize() const { return keySize_; }

  private:
    Status run(bool encrypting, std::span<const uint8_t> key, std::span<const uint8_t> iv,
               std::span<uint8_t> data) const;
    BlockCipher(const void* cipher, size_t blockSize, size_t keySize, size_t ivSize)
        : cipher_(cipher), blockSize_(blockSize), keySize_(keySize), ivSize_(ivSize) {}
    const void* cipher_;  // const EVP_CIPHER*
    size_t blockSize_;
    size_t keySize_;
    size_t ivSize_;
};

}  // namespace jet
