#include "crypto/office_digest.h"

#include <openssl/evp.h>

#include <memory>

namespace jet {
namespace {

constexpr size_t kMaxPasswordChars = 255;

struct MdCtxFree {
    void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};

// Decodes one UTF-8 sequence at `pos`; malformed bytes read as U+FFFD.
uint32_t nextCodePoint(std::string_view text, size_t& pos) {
    unsigned char lead = static_cast<unsigned char>(text[pos++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0x80 && extra == 0) {
        return 0xFFFD;
    }
    uint32_t cp = extra ? (lead & (0x3F >> extra)) : lead;
    for (int k = 0; k < extra; ++k) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return cp > 0x10FFFF ? 0xFFFD : cp;
}

void appendUnit(Bytes& out, uint32_t unit) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

}  // namespace

Result<OfficeDigest> OfficeDigest::byName(const std::string& name) {
    const EVP_MD* md = EVP_get_digestbyname(name.c_str());
    if (!md) {
        return Result<OfficeDigest>(ErrorCode::Unsupported,
                                    "hash algorithm '" + name + "' is not supported");
    }
    return OfficeDigest(md, static_cast<size_t>(EVP_MD_get_size(md)));
}

Bytes OfficeDigest::hash(std::initializer_list<std::span<const uint8_t>> parts) const {
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx(EVP_MD_CTX_new());
    Bytes out(size_);
    unsigned int written = 0;
    EVP_DigestInit_ex(ctx.get(), static_cast<const EVP_MD*>(md_), nullptr);
    for (std::span<const uint8_t> part : parts) {
        EVP_DigestUpdate(ctx.get(), part.data(), part.size());
    }
    EVP_DigestFinal_ex(ctx.get(), out.data(), &written);
    out.resize(written);
    return out;
}

Bytes OfficeDigest::spin(std::span<const uint8_t> salt, std::span<const uint8_t> password,
                         uint32_t spinCount) const {
    Bytes h = hash({salt, password});
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx(EVP_MD_CTX_new());
    const EVP_MD* md = static_cast<const EVP_MD*>(md_);
    uint8_t counter[4];
    unsigned int written = 0;
    for (uint32_t i = 0; i < spinCount; ++i) {
        counter[0] = static_cast<uint8_t>(i);
        counter[1] = static_cast<uint8_t>(i >> 8);
        counter[2] = static_cast<uint8_t>(i >> 16);
        counter[3] = static_cast<uint8_t>(i >> 24);
        EVP_DigestInit_ex(ctx.get(), md, nullptr);
        EVP_DigestUpdate(ctx.get(), counter, sizeof counter);
        EVP_DigestUpdate(ctx.get(), h.data(), h.size());
        EVP_DigestFinal_ex(ctx.get(), h.data(), &written);
    }
    return h;
}

Bytes fitLength(Bytes bytes, size_t length, uint8_t pad) {
    bytes.resize(length, pad);
    return bytes;
}

Bytes passwordBytes(std::string_view utf8) {
    Bytes out;
    size_t chars = 0;
    for (size_t pos = 0; pos < utf8.size() && chars < kMaxPasswordChars; ++chars) {
        uint32_t cp = nextCodePoint(utf8, pos);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            appendUnit(out, 0xD800 + (cp >> 10));
            appendUnit(out, 0xDC00 + (cp & 0x3FF));
        } else {
            appendUnit(out, cp);
        }
    }
    return out;
}

}  // namespace jet
