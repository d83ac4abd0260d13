// Assembles Memo and OLE Object values from their long-value header: inline,
// on another page, or chained over several pages. Keeps a few recently read
// pages, since neighbouring rows' values share pages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "database_file.h"

namespace jet {

class LongValueReader {
  public:
    static constexpr uint32_t kHeaderSize = 12;

    explicit LongValueReader(const DatabaseFile& file);

    // Appends the bytes of the value whose stored field is [field, field + size)
    // to `out`. Corrupt when a pointer leads nowhere or a chain loops.
    Status read(const uint8_t* field, uint32_t size, std::string& out);

  private:
    static constexpr size_t kCachedPages = 8;
    struct CachedPage {
        uint32_t number = 0;
        bool valid = false;
        std::vector<uint8_t> bytes;
    };

    // The bytes of the row at `pointer`; valid until the next call.
    Status row(uint32_t pointer, const uint8_t*& data, uint32_t& size);
    Status readChain(uint32_t pointer, uint32_t length, std::string& out);
    const CachedPage* page(uint32_t number, Status& status);

    const DatabaseFile& file_;
    std::array<CachedPage, kCachedPages> cache_;
    size_t nextVictim_ = 0;
};

}  // namespace jet
