#include "crypto/agile_descriptor.h"

#include <openssl/evp.h>

#include <charconv>
#include <optional>

namespace jet {
namespace {

// Office caps the spin count at ten million; more is a damaged description,
// and would keep the reader busy for minutes.
constexpr uint32_t kMaxSpinCount = 10'000'000;

Status missing(const std::string& what) {
    return {ErrorCode::Corrupt, "encryption description lacks " + what};
}

// The text of the start tag of the first element named `tag`.
std::optional<std::string_view> startTag(std::string_view xml, std::string_view tag) {
    std::string open = "<" + std::string(tag);
    for (size_t pos = xml.find(open); pos != std::string_view::npos;
         pos = xml.find(open, pos + 1)) {
        size_t after = pos + open.size();
        if (after < xml.size() && (xml[after] == ' ' || xml[after] == '\t' || xml[after] == '\n' ||
                                   xml[after] == '\r' || xml[after] == '/' || xml[after] == '>')) {
            size_t end = xml.find('>', after);
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            return xml.substr(after, end - after);
        }
    }
    return std::nullopt;
}

// The value of attribute `name` in a start tag's text (no entities in the
// values Office writes: numbers, algorithm names and base64).
std::optional<std::string> attribute(std::string_view tag, std::string_view name) {
    std::string key = std::string(name) + "=\"";
    for (size_t pos = tag.find(key); pos != std::string_view::npos; pos = tag.find(key, pos + 1)) {
        if (pos == 0 || tag[pos - 1] == ' ' || tag[pos - 1] == '\t' || tag[pos - 1] == '\n' ||
            tag[pos - 1] == '\r') {
            size_t begin = pos + key.size();
            size_t end = tag.find('"', begin);
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            return std::string(tag.substr(begin, end - begin));
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> number(std::string_view tag, std::string_view name) {
    std::optional<std::string> text = attribute(tag, name);
    uint32_t value = 0;
    if (!text ||
        std::from_chars(text->data(), text->data() + text->size(), value).ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::vector<uint8_t>> base64(std::string_view tag, std::string_view name) {
    std::optional<std::string> text = attribute(tag, name);
    if (!text || text->size() % 4 != 0 || text->size() > 4096) {
        return std::nullopt;
    }
    std::vector<uint8_t> out(text->size() / 4 * 3);
    int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text->data()),
                            static_cast<int>(text->size()));
    if (n < 0) {
        return std::nullopt;
    }
    size_t padding = 0;
    for (size_t i = text->size(); i > 0 && (*text)[i - 1] == '='; --i) {
        ++padding;
    }
    out.resize(static_cast<size_t>(n) - std::min<size_t>(padding, static_cast<size_t>(n)));
    return out;
}

Status readCipher(std::string_view tag, const std::string& element, AgileCipher& cipher) {
    std::optional<uint32_t> blockSize = number(tag, "blockSize");
    std::optional<uint32_t> keyBits = number(tag, "keyBits");
    std::optional<std::string> algorithm = attribute(tag, "cipherAlgorithm");
    std::optional<std::string> chaining = attribute(tag, "cipherChaining");
    std::optional<std::string> hash = attribute(tag, "hashAlgorithm");
    std::optional<std::vector<uint8_t>> salt = base64(tag, "saltValue");
    if (!blockSize || !keyBits || !algorithm || !chaining || !hash || !salt) {
        return missing("a cipher attribute of " + element);
    }
    if (*blockSize < 2 || *blockSize > 64 || *keyBits < 40 || *keyBits > 512 || *keyBits % 8) {
        return {ErrorCode::Corrupt, "encryption description has absurd sizes in " + element};
    }
    cipher = AgileCipher{*blockSize, *keyBits, *algorithm, *chaining, *hash, std::move(*salt)};
    return Status::ok();
}

}  // namespace

Result<AgileDescriptor> AgileDescriptor::parse(std::string_view xml) {
    std::optional<std::string_view> keyData = startTag(xml, "keyData");
    std::optional<std::string_view> encryptor = startTag(xml, "p:encryptedKey");
    if (!keyData || !encryptor) {
        return missing(keyData ? "a password key encryptor" : "keyData");
    }
    AgileDescriptor d;
    if (Status s = readCipher(*keyData, "keyData", d.keyData); !s) {
        return s;
    }
    if (Status s = readCipher(*encryptor, "encryptedKey", d.password); !s) {
        return s;
    }
    std::optional<uint32_t> spin = number(*encryptor, "spinCount");
    auto keyValue = base64(*encryptor, "encryptedKeyValue");
    auto hashInput = base64(*encryptor, "encryptedVerifierHashInput");
    auto hashValue = base64(*encryptor, "encryptedVerifierHashValue");
    if (!spin || !keyValue || !hashInput || !hashValue) {
        return missing("the password verifier");
    }
    if (*spin > kMaxSpinCount) {
        return Result<AgileDescriptor>(ErrorCode::Corrupt,
                                       "encryption description has an absurd spin count");
    }
    d.spinCount = *spin;
    d.encryptedKeyValue = std::move(*keyValue);
    d.encryptedVerifierHashInput = std::move(*hashInput);
    d.encryptedVerifierHashValue = std::move(*hashValue);
    return d;
}

}  // namespace jet
