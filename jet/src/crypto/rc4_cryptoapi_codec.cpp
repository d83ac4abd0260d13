#include "crypto/rc4_cryptoapi_codec.h"

#include <algorithm>
#include <array>

#include "byte_reader.h"
#include "crypto/office_digest.h"
#include "rc4.h"

namespace jet {
namespace {

// CryptoAPI algorithm identifiers.
constexpr uint32_t kAlgRc4 = 0x6801;
constexpr uint32_t kAlgSha1 = 0x8004;

// Offsets in the description: version (4), flags (4), header size (4), header.
constexpr size_t kHeaderOffset = 12;
constexpr size_t kHeaderFixedSize = 32;
constexpr size_t kSaltSize = 16;
constexpr size_t kVerifierSize = 16;
constexpr size_t kSha1Size = 20;

struct Rc4Settings {
    uint32_t keyBits = 0;
    Bytes salt;
    Bytes verifier;
    Bytes verifierHash;
    uint32_t verifierHashSize = 0;
};

class Rc4CryptoApiCodec : public PageCodec {
  public:
    Rc4CryptoApiCodec(std::array<uint8_t, 4> pageKey, Bytes baseHash, uint32_t keyBits,
                      OfficeDigest sha1)
        : pageKey_(pageKey), baseHash_(std::move(baseHash)), keyBits_(keyBits), sha1_(sha1) {}

    Status decode(uint32_t pageNumber, std::span<uint8_t> page) const override {
        std::array<uint8_t, 4> block;
        for (int i = 0; i < 4; ++i) {
            block[i] = static_cast<uint8_t>(pageNumber >> (8 * i)) ^ pageKey_[i];
        }
        Rc4 rc4(keyFor(block));
        rc4.apply(page);
        return Status::ok();
    }

    // RC4 is its own inverse.
    Status encode(uint32_t pageNumber, std::span<uint8_t> page) const override {
        return decode(pageNumber, page);
    }

    // The RC4 key of one block: SHA-1(base hash + block), cut to the key
    // size; a 40-bit key is zero-extended to 128 bits as CryptoAPI does.
    Bytes keyFor(std::span<const uint8_t> block) const {
        Bytes key = fitLength(sha1_.hash({baseHash_, block}), keyBits_ / 8, 0);
        return keyBits_ == 40 ? fitLength(std::move(key), 16, 0) : key;
    }

  private:
    std::array<uint8_t, 4> pageKey_;
    Bytes baseHash_;
    uint32_t keyBits_;
    OfficeDigest sha1_;
};

Status unsupported(const std::string& why) {
    return {ErrorCode::Unsupported, "encrypted databases are not supported (" + why + ")"};
}

Status truncated() {
    return {ErrorCode::Corrupt, "page 0: the encryption description is truncated"};
}

Result<Rc4Settings> readSettings(std::span<const uint8_t> info) {
    if (info.size() < kHeaderOffset + kHeaderFixedSize) {
        return truncated();
    }
    uint32_t headerSize = le32(info.data() + 8);
    const uint8_t* header = info.data() + kHeaderOffset;
    if (headerSize < kHeaderFixedSize || headerSize > info.size() - kHeaderOffset) {
        return truncated();
    }
    uint32_t algorithm = le32(header + 8), hash = le32(header + 12), keyBits = le32(header + 16);
    if ((algorithm != kAlgRc4 && algorithm != 0) || (hash != kAlgSha1 && hash != 0)) {
        return unsupported("CryptoAPI algorithm " + std::to_string(algorithm));
    }
    // A zero key size means the provider's default: 40 bits.
    keyBits = keyBits == 0 ? 40 : keyBits;
    if (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0) {
        return unsupported("RC4 key of " + std::to_string(keyBits) + " bits");
    }
    size_t v = kHeaderOffset + headerSize;
    if (info.size() - v < 4 + kSaltSize + kVerifierSize + 4 + kSha1Size ||
        le32(info.data() + v) != kSaltSize) {
        return truncated();
    }
    const uint8_t* p = info.data() + v + 4;
    Rc4Settings s;
    s.keyBits = keyBits;
    s.salt.assign(p, p + kSaltSize);
    s.verifier.assign(p + kSaltSize, p + kSaltSize + kVerifierSize);
    s.verifierHashSize = std::min<uint32_t>(le32(p + kSaltSize + kVerifierSize), kSha1Size);
    const uint8_t* h = p + kSaltSize + kVerifierSize + 4;
    s.verifierHash.assign(h, h + kSha1Size);
    return s;
}

}  // namespace

Result<std::unique_ptr<PageCodec>> makeRc4CryptoApiCodec(std::span<const uint8_t, 4> pageKey,
                                                         std::span<const uint8_t> info,
                                                         std::string_view password) {
    Result<Rc4Settings> s = readSettings(info);
    Result<OfficeDigest> sha1 = OfficeDigest::byName("SHA1");
    if (!s || !sha1) {
        return !s ? s.status() : sha1.status();
    }
    std::array<uint8_t, 4> keyBytes;
    std::copy(pageKey.begin(), pageKey.end(), keyBytes.begin());
    auto codec = std::make_unique<Rc4CryptoApiCodec>(
        keyBytes, sha1->hash({s->salt, passwordBytes(password)}), s->keyBits, *sha1);
    // Verifier and its hash are encrypted as one RC4 stream under block 0.
    const std::array<uint8_t, 4> blockZero = {0, 0, 0, 0};
    Rc4 rc4(codec->keyFor(blockZero));
    rc4.apply(s->verifier);
    rc4.apply(s->verifierHash);
    Bytes expected = sha1->hash({s->verifier});
    if (!std::equal(expected.begin(), expected.begin() + s->verifierHashSize,
                    s->verifierHash.begin())) {
        return Status(ErrorCode::BadPassword, "Not a valid password.");
    }
    return std::unique_ptr<PageCodec>(std::move(codec));
}

}  // namespace jet
