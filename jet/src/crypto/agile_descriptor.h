// The XML description of Office agile encryption: how the page key is
// protected by the password, and how pages are encrypted with it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "jet/status.h"

namespace jet {

// One set of cipher settings from the description (keyData or the password
// key encryptor share these attributes).
struct AgileCipher {
    uint32_t blockSize = 0;
    uint32_t keyBits = 0;
    std::string cipherAlgorithm;  // "AES"
    std::string cipherChaining;   // "ChainingModeCBC" or "ChainingModeCFB"
    std::string hashAlgorithm;    // "SHA512", "SHA1", ...
    std::vector<uint8_t> salt;
};

struct AgileDescriptor {
    AgileCipher keyData;   // encrypts the pages
    AgileCipher password;  // encrypts the key with a password-derived key
    uint32_t spinCount = 0;
    std::vector<uint8_t> encryptedKeyValue;
    std::vector<uint8_t> encryptedVerifierHashInput;
    std::vector<uint8_t> encryptedVerifierHashValue;

    // Parses the XML text (after the 8-byte version and reserved header).
    // Corrupt when an element or attribute is missing or out of range.
    static Result<AgileDescriptor> parse(std::string_view xml);
};

}  // namespace jet
