#include "crypto/ace_codec.h"

#include <array>
#include <vector>

#include "byte_reader.h"
#include "crypto/agile_codec.h"
#include "crypto/rc4_cryptoapi_codec.h"
#include "header_page.h"

namespace jet {
namespace {

constexpr size_t kPageKeyOffset = 0x3E;
constexpr size_t kInfoOffset = 0x299;

// Flags of the Standard / CryptoAPI encryption header.
constexpr uint32_t kFlagCryptoApi = 0x04;
constexpr uint32_t kFlagAes = 0x20;

Status unsupported(const std::string& kind) {
    return {ErrorCode::Unsupported, kind + " encrypted databases are not supported"};
}

Result<std::unique_ptr<PageCodec>> standardOrRc4(std::span<const uint8_t, 4> pageKey,
                                                 std::span<const uint8_t> info,
                                                 std::string_view password) {
    uint32_t flags = le32(info.data() + 4);
    if (!(flags & kFlagCryptoApi)) {
        return unsupported("Office (non-CryptoAPI)");
    }
    if (flags & kFlagAes) {
        return unsupported("AES Standard");
    }
    return makeRc4CryptoApiCodec(pageKey, info, password);
}

}  // namespace

Result<std::unique_ptr<PageCodec>> makeAceCodec(std::span<const uint8_t> page0,
                                                std::string_view password) {
    if (page0.size() < kInfoOffset + 2) {
        return Status(ErrorCode::Corrupt, "page 0 is too short for an encryption description");
    }
    std::vector<uint8_t> header = HeaderPage::unmask(page0.first(kInfoOffset), false);
    std::span<const uint8_t, 4> pageKey(header.data() + kPageKeyOffset, 4);
    if (le32(pageKey.data()) == 0) {
        return std::unique_ptr<PageCodec>();
    }
    size_t length = le16(page0.data() + kInfoOffset);
    if (length < 8 || length > page0.size() - kInfoOffset - 2) {
        return Status(ErrorCode::Corrupt, "page 0: the encryption description is damaged");
    }
    std::span<const uint8_t> info = page0.subspan(kInfoOffset + 2, length);
    uint16_t major = le16(info.data()), minor = le16(info.data() + 2);
    if (major == 4 && minor == 4) {
        const char* xml = reinterpret_cast<const char*>(info.data() + 8);
        return makeAgileCodec(pageKey, std::string_view(xml, info.size() - 8), password);
    }
    if ((major == 2 || major == 3 || major == 4) && minor == 2) {
        return standardOrRc4(pageKey, info, password);
    }
    if ((major == 3 || major == 4) && minor == 3) {
        return unsupported("Extensible");
    }
    return unsupported("Office " + std::to_string(major) + "." + std::to_string(minor));
}

}  // namespace jet
