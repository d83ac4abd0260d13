// TextColumn: the texts of one sheet column, stored as UTF-8 in byte blocks
// with a packed 8-byte reference per physical row. Blocks never move, so
// filling never copies what is already stored; rows beyond the stored
// references read as empty, so empty columns cost nothing.
#pragma once

#include "sheet/bulk_memory.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

class TextColumn {
  public:
    std::string_view get(uint32_t row) const;
    void set(uint32_t row, std::string_view text);
    // Fast path for filling: text of the row right after the last stored one.
    void append(uint32_t row, std::string_view text);
    void clear();
    // Room for the references of `rows` rows, so a bulk fill does not regrow them.
    void reserve(std::size_t rows) { refs_.reserve(rows); }
    bool empty() const { return refs_.empty(); }
    std::size_t storedRows() const { return refs_.size(); }
    std::size_t bytes() const { return blockBytes_ + refs_.size() * sizeof(uint64_t); }
    // Bytes of the texts themselves, without references or unused room.
    std::size_t textBytes() const { return live_; }
    // Rebuilds the column so that new row i holds the text of old row order[i].
    void rebuild(std::span<const uint32_t> order);

  private:
    // A reference is (block << 20 | offset in block) << 24 | length; 0 = empty.
    static constexpr uint64_t kLengthBits = 24;
    static constexpr uint64_t kLongText = (uint64_t{1} << kLengthBits) - 1;
    static constexpr uint64_t kOffsetBits = 22;
    static constexpr std::size_t kMaxBlock = std::size_t{1} << kOffsetBits;
    static constexpr std::size_t kFirstBlock = 4096;

    uint64_t store(std::string_view text);
    char* place(std::size_t size, uint64_t* position);
    const char* at(uint64_t position) const;
    void compactIfWasteful();

    std::vector<BulkBytes> blocks_;
    std::size_t lastSize_ = 0;  // size of the last block
    std::size_t lastUsed_ = 0;  // bytes used in the last block
    std::size_t blockBytes_ = 0;
    BulkVector<uint64_t> refs_;
    std::size_t garbage_ = 0;
    std::size_t live_ = 0;
};

}  // namespace sheet
