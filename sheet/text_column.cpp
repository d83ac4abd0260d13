#include "sheet/text_column.h"

#include <cstring>

namespace sheet {

namespace {
constexpr std::size_t kMinGarbageToCompact = 1 << 20;
}

std::string_view TextColumn::get(uint32_t row) const {
    if (row >= refs_.size()) {
        return {};
    }
    const uint64_t ref = refs_[row];
    const uint64_t offset = ref >> kLengthBits;
    uint64_t length = ref & kLongText;
    if (length == kLongText) {
        // Texts of 16 MB and more keep their length in front of the bytes.
        std::memcpy(&length, arena_.data() + offset, sizeof length);
        return {arena_.data() + offset + sizeof length, length};
    }
    return {arena_.data() + offset, length};
}

uint64_t TextColumn::store(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    const uint64_t offset = arena_.size();
    if (text.size() >= kLongText) {
        const uint64_t length = text.size();
        arena_.append(reinterpret_cast<const char*>(&length), sizeof length);
        arena_.append(text);
        return offset << kLengthBits | kLongText;
    }
    arena_.append(text);
    return offset << kLengthBits | text.size();
}

void TextColumn::append(uint32_t row, std::string_view text) {
    if (row != refs_.size()) {
        set(row, text);
        return;
    }
    if (text.empty()) {
        refs_.push_back(0);
        return;
    }
    refs_.push_back(store(text));
}

void TextColumn::set(uint32_t row, std::string_view text) {
    if (row >= refs_.size()) {
        if (text.empty()) {
            return;
        }
        refs_.resize(std::size_t{row} + 1, 0);
    }
    const std::string_view old = get(row);
    if (!text.empty() && text.size() <= old.size() && (refs_[row] & kLongText) != kLongText) {
        // Shorter or equal texts reuse the old bytes in place.
        const uint64_t offset = refs_[row] >> kLengthBits;
        std::memcpy(arena_.data() + offset, text.data(), text.size());
        refs_[row] = offset << kLengthBits | text.size();
        garbage_ += old.size() - text.size();
        return;
    }
    garbage_ += old.size();
    refs_[row] = store(text);
    compactIfWasteful();
}

void TextColumn::clear() {
    arena_ = std::string();
    refs_ = std::vector<uint64_t>();
    garbage_ = 0;
}

void TextColumn::compactIfWasteful() {
    if (garbage_ < kMinGarbageToCompact || garbage_ * 2 < arena_.size()) {
        return;
    }
    std::vector<uint32_t> order(refs_.size());
    for (uint32_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    rebuild(order);
}

void TextColumn::rebuild(std::span<const uint32_t> order) {
    TextColumn fresh;
    fresh.refs_.reserve(order.size());
    std::size_t total = 0;
    for (uint32_t row : order) {
        total += get(row).size();
    }
    fresh.arena_.reserve(total);
    for (uint32_t row : order) {
        fresh.refs_.push_back(fresh.store(get(row)));
    }
    *this = std::move(fresh);
}

}  // namespace sheet
