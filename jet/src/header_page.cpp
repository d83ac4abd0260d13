#include "header_page.h"

#include <cmath>
#include <cstring>

#include "byte_reader.h"
#include "rc4.h"
#include "text_decoder.h"

namespace jet {
namespace {

constexpr size_t kEngineNameOffset = 0x04;
constexpr size_t kVersionOffset = 0x14;
constexpr size_t kCodePageOffset = 0x3C;
constexpr size_t kKeyOffset = 0x3E;
constexpr size_t kPasswordOffset = 0x42;
constexpr size_t kCreationDateOffset = 0x72;

bool knownEngine(std::span<const uint8_t> bytes) {
    static const char* const names[] = {"Standard Jet DB", "Standard ACE DB", "MSISAM Database"};
    for (const char* name : names) {
        if (std::memcmp(bytes.data() + kEngineNameOffset, name, std::strlen(name) + 1) == 0)
            return true;
    }
    return false;
}

std::string jet3Password(const uint8_t* field) {
    size_t n = 0;
    while (n < 20 && field[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(field), n);
}

std::string jet4Password(const uint8_t* field, double creationDate) {
    // The UCS-2 field is masked a second time with the creation date's integer part.
    uint8_t mask[4] = {0, 0, 0, 0};
    if (std::isfinite(creationDate) && std::fabs(creationDate) < 2147483647.0) {
        const uint32_t m = static_cast<uint32_t>(static_cast<int32_t>(creationDate));
        for (int i = 0; i < 4; ++i)
            mask[i] = static_cast<uint8_t>(m >> (8 * i));
    }
    std::u16string units;
    for (size_t i = 0; i + 1 < 40; i += 2) {
        const uint16_t u = static_cast<uint16_t>((field[i] ^ mask[i % 4]) |
                                                 ((field[i + 1] ^ mask[(i + 1) % 4]) << 8));
        if (u == 0)
            break;
        units.push_back(static_cast<char16_t>(u));
    }
    return utf16ToUtf8(units);
}

}  // namespace

std::vector<uint8_t> HeaderPage::unmask(std::span<const uint8_t> bytes, bool jet3) {
    std::vector<uint8_t> page(bytes.begin(), bytes.end());
    static const uint8_t key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    const size_t length = jet3 ? 126 : 128;
    Rc4(key).apply(std::span<uint8_t>(page.data() + kMaskOffset, length));
    return page;
}

Result<HeaderPage> HeaderPage::parse(std::span<const uint8_t> bytes, std::string_view fileName) {
    const Status unrecognized(ErrorCode::Unrecognized,
                              "Unrecognized database format '" + std::string(fileName) + "'.");
    if (bytes.size() < kMinimumSize || bytes[0] != 0 || !knownEngine(bytes))
        return unrecognized;
    HeaderPage h;
    h.version = bytes[kVersionOffset];
    if (h.version > 0x06)
        return unrecognized;
    const bool jet3 = h.version == 0;
    h.format = jet3 ? FileFormat::Jet3 : (h.version == 1 ? FileFormat::Jet4 : FileFormat::Ace);
    h.pageSize = jet3 ? 2048 : 4096;
    const std::vector<uint8_t> page = unmask(bytes, jet3);
    h.codePage = le16(&page[kCodePageOffset]);
    h.databaseKey = le32(&page[kKeyOffset]);
    if (jet3) {
        h.password = jet3Password(&page[kPasswordOffset]);
    } else {
        h.creationDate = leDouble(&page[kCreationDateOffset]);
        // An encrypted ACE file keeps no usable password here.
        if (h.format != FileFormat::Ace || h.databaseKey == 0)
            h.password = jet4Password(&page[kPasswordOffset], h.creationDate);
    }
    return h;
}

bool HeaderPage::acceptsPassword(std::string_view typed) const {
    return password.empty() || typed == password;
}

}  // namespace jet
