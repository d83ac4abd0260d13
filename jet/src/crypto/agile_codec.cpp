#include "crypto/agile_codec.h"

#include <algorithm>
#include <array>

#include "crypto/agile_descriptor.h"
#include "crypto/block_cipher.h"
#include "crypto/office_digest.h"

namespace jet {
namespace {

// Block keys that make one password hash into the three keys Office needs.
constexpr std::array<uint8_t, 8> kVerifierInputBlock = {0xFE, 0xA7, 0xD2, 0x76,
                                                        0x3B, 0x4B, 0x9E, 0x79};
constexpr std::array<uint8_t, 8> kVerifierValueBlock = {0xD7, 0xAA, 0x0F, 0x6D,
                                                        0x30, 0x61, 0x34, 0x4E};
constexpr std::array<uint8_t, 8> kKeyValueBlock = {0x14, 0x6E, 0x0B, 0xE7, 0xAB, 0xAC, 0xD0, 0xD6};

const char* const kBadPassword = "Not a valid password.";

class AgileCodec : public PageCodec {
  public:
    AgileCodec(std::array<uint8_t, 4> pageKey, Bytes salt, size_t blockSize, OfficeDigest digest,
               BlockCipher cipher, Bytes key)
        : pageKey_(pageKey),
          salt_(std::move(salt)),
          blockSize_(blockSize),
          digest_(digest),
          cipher_(cipher),
          key_(std::move(key)) {}

    Status decode(uint32_t pageNumber, std::span<uint8_t> page) const override {
        return run(false, pageNumber, page);
    }

    Status encode(uint32_t pageNumber, std::span<uint8_t> page) const override {
        return run(true, pageNumber, page);
    }

  private:
    // Each page is its own message, its IV made from the page number.
    Status run(bool encrypting, uint32_t pageNumber, std::span<uint8_t> page) const {
        std::array<uint8_t, 4> pageSalt;
        for (int i = 0; i < 4; ++i) {
            pageSalt[i] = static_cast<uint8_t>(pageNumber >> (8 * i)) ^ pageKey_[i];
        }
        Bytes iv = fitLength(digest_.hash({salt_, pageSalt}), blockSize_, 0x36);
        Status status =
            encrypting ? cipher_.encrypt(key_, iv, page) : cipher_.decrypt(key_, iv, page);
        if (!status) {
            return {status.code(), "page " + std::to_string(pageNumber) + ": " + status.message()};
        }
        return status;
    }

    std::array<uint8_t, 4> pageKey_;
    Bytes salt_;
    size_t blockSize_;
    OfficeDigest digest_;
    BlockCipher cipher_;
    Bytes key_;
};

// Decrypts one of the password-protected values of the description.
Result<Bytes> unlock(const AgileDescriptor& d, const OfficeDigest& digest,
                     const BlockCipher& cipher, const Bytes& spun, std::span<const uint8_t> block,
                     const Bytes& value) {
    Bytes key = fitLength(digest.hash({spun, block}), d.password.keyBits / 8, 0x36);
    return cipher.decrypted(key, d.password.salt, value);
}

// The verifier: a random input whose hash is stored encrypted beside it.
Status verify(const AgileDescriptor& d, const OfficeDigest& digest, const BlockCipher& cipher,
              const Bytes& spun) {
    Result<Bytes> input =
        unlock(d, digest, cipher, spun, kVerifierInputBlock, d.encryptedVerifierHashInput);
    Result<Bytes> value =
        unlock(d, digest, cipher, spun, kVerifierValueBlock, d.encryptedVerifierHashValue);
    if (!input || !value) {
        return !input ? input.status() : value.status();
    }
    Bytes& in = *input;
    in.resize(std::min(in.size(), d.password.salt.size()));
    Bytes expected = digest.hash({in});
    if (value->size() < expected.size() ||
        !std::equal(expected.begin(), expected.end(), value->begin())) {
        return {ErrorCode::BadPassword, kBadPassword};
    }
    return Status::ok();
}

}  // namespace

Result<std::unique_ptr<PageCodec>> makeAgileCodec(std::span<const uint8_t, 4> pageKey,
                                                  std::string_view xml, std::string_view password) {
    Result<AgileDescriptor> d = AgileDescriptor::parse(xml);
    if (!d) {
        return d.status();
    }
    Result<OfficeDigest> passwordDigest = OfficeDigest::byName(d->password.hashAlgorithm);
    Result<OfficeDigest> pageDigest = OfficeDigest::byName(d->keyData.hashAlgorithm);
    Result<BlockCipher> passwordCipher = BlockCipher::byName(
        d->password.cipherAlgorithm, d->password.keyBits, d->password.cipherChaining);
    Result<BlockCipher> pageCipher = BlockCipher::byName(
        d->keyData.cipherAlgorithm, d->keyData.keyBits, d->keyData.cipherChaining);
    for (const Status& s : {passwordDigest.status(), pageDigest.status(), passwordCipher.status(),
                            pageCipher.status()}) {
        if (!s) {
            return s;
        }
    }
    Bytes spun = passwordDigest->spin(d->password.salt, passwordBytes(password), d->spinCount);
    if (Status s = verify(*d, *passwordDigest, *passwordCipher, spun); !s) {
        return s;
    }
    Result<Bytes> key =
        unlock(*d, *passwordDigest, *passwordCipher, spun, kKeyValueBlock, d->encryptedKeyValue);
    if (!key || key->size() < d->keyData.keyBits / 8) {
        return Status(ErrorCode::Corrupt, "the encrypted database key is damaged");
    }
    key->resize(d->keyData.keyBits / 8);
    std::array<uint8_t, 4> keyBytes;
    std::copy(pageKey.begin(), pageKey.end(), keyBytes.begin());
    return std::unique_ptr<PageCodec>(
        std::make_unique<AgileCodec>(keyBytes, d->keyData.salt, d->keyData.blockSize, *pageDigest,
                                     *pageCipher, std::move(*key)));
}

}  // namespace jet
