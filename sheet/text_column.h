// TextColumn: the texts of one sheet column, stored as UTF-8 in one byte
// arena with a packed 8-byte reference per physical row. Rows beyond the
// stored references read as empty, so empty columns cost nothing.
#pragma once

#include <cstdint>
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
    bool empty() const { return refs_.empty(); }
    std::size_t storedRows() const { return refs_.size(); }
    std::size_t bytes() const { return arena_.size() + refs_.size() * sizeof(uint64_t); }
    // Rebuilds the column so that new row i holds the text of old row order[i].
    void rebuild(std::span<const uint32_t> order);

  private:
    static constexpr uint64_t kLengthBits = 24;
    static constexpr uint64_t kLongText = (uint64_t{1} << kLengthBits) - 1;

    uint64_t store(std::string_view text);
    void compactIfWasteful();

    std::string arena_;
    std::vector<uint64_t> refs_;  // offset << 24 | length; 0 = empty
    std::size_t garbage_ = 0;
};

}  // namespace sheet
