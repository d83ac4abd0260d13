// Page 0 of a database file: engine name, version, page size, and the masked
// block with code page, page key, password and creation date.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jet/database.h"
#include "jet/status.h"

namespace jet {

struct HeaderPage {
    static constexpr size_t kMaskOffset = 0x18;
    static constexpr size_t kMinimumSize = 2048;

    FileFormat format = FileFormat::Jet4;
    uint8_t version = 0;
    uint32_t pageSize = 4096;
    uint16_t codePage = 1252;
    uint32_t databaseKey = 0;  // page key; for ACE, non-zero means encrypted
    double creationDate = 0;
    std::string password;  // Jet 3: code-page bytes; Jet 4: UTF-8. Empty: none.

    // Parses the first bytes of a file (at least kMinimumSize). Unrecognized
    // with "Unrecognized database format 'NAME'." when it is not a Jet file.
    static Result<HeaderPage> parse(std::span<const uint8_t> bytes, std::string_view fileName);
    // The header with its masked region unmasked (a copy of `bytes`).
    static std::vector<uint8_t> unmask(std::span<const uint8_t> bytes, bool jet3);
    // Whether `typed` opens a file with this header (case-sensitive).
    bool acceptsPassword(std::string_view typed) const;
};

}  // namespace jet
