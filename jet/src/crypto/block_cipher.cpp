#include "crypto/block_cipher.h"

#include <openssl/evp.h>

#include <memory>

namespace jet {
namespace {

struct CipherCtxFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

}  // namespace

Result<BlockCipher> BlockCipher::byName(const std::string& algorithm, uint32_t keyBits,
                                        const std::string& chaining) {
    std::string mode = chaining == "ChainingModeCBC"   ? "CBC"
                       : chaining == "ChainingModeCFB" ? "CFB8"
                                                       : "";
    const EVP_CIPHER* cipher = nullptr;
    if (algorithm == "AES" && !mode.empty()) {
        std::string name = "AES-" + std::to_string(keyBits) + "-" + mode;
        cipher = EVP_get_cipherbyname(name.c_str());
    }
    if (!cipher) {
        return Result<BlockCipher>(
            ErrorCode::Unsupported,
            "databases encrypted with " + algorithm + " (" + chaining + ") are not supported");
    }
    int block = EVP_CIPHER_get_block_size(cipher);
    return BlockCipher(cipher, static_cast<size_t>(block < 16 ? 16 : block),
                       static_cast<size_t>(EVP_CIPHER_get_key_length(cipher)),
                       static_cast<size_t>(EVP_CIPHER_get_iv_length(cipher)));
}

Status BlockCipher::decrypt(std::span<const uint8_t> key, std::span<const uint8_t> iv,
                            std::span<uint8_t> data) const {
    return run(false, key, iv, data);
}

Status BlockCipher::encrypt(std::span<const uint8_t> key, std::span<const uint8_t> iv,
                            std::span<uint8_t> data) const {
    return run(true, key, iv, data);
}

Status BlockCipher::run(bool encrypting, std::span<const uint8_t> key, std::span<const uint8_t> iv,
                        std::span<uint8_t> data) const {
    if (key.size() != keySize_ || data.size() % blockSize_ != 0) {
        return {ErrorCode::Corrupt, "encrypted block of " + std::to_string(data.size()) +
                                        " bytes does not fit the cipher"};
    }
    std::vector<uint8_t> fullIv(iv.begin(), iv.begin() + std::min(iv.size(), ivSize_));
    fullIv.resize(ivSize_, 0);
    std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree> ctx(EVP_CIPHER_CTX_new());
    int written = 0, finalWritten = 0;
    bool ok = ctx &&
              EVP_CipherInit_ex(ctx.get(), static_cast<const EVP_CIPHER*>(cipher_), nullptr,
                                key.data(), fullIv.data(), encrypting ? 1 : 0) == 1 &&
              EVP_CIPHER_CTX_set_padding(ctx.get(), 0) == 1 &&
              EVP_CipherUpdate(ctx.get(), data.data(), &written, data.data(),
                               static_cast<int>(data.size())) == 1 &&
              EVP_CipherFinal_ex(ctx.get(), data.data() + written, &finalWritten) == 1;
    if (!ok) {
        return {ErrorCode::Corrupt, encrypting ? "encryption failed" : "decryption failed"};
    }
    return Status::ok();
}

Result<std::vector<uint8_t>> BlockCipher::decrypted(std::span<const uint8_t> key,
                                                    std::span<const uint8_t> iv,
                                                    std::span<const uint8_t> data) const {
    std::vector<uint8_t> out(data.begin(), data.end());
    if (Status status = decrypt(key, iv, out); !status) {
        return status;
    }
    return out;
}

}  // namespace jet
