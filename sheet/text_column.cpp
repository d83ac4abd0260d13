#include "sheet/text_column.h"

#include <cstring>

namespace sheet {

namespace {
constexpr std::size_t kMinGarbageToCompact = 1 << 20;
}

const char* TextColumn::at(uint64_t position) const {
    return blocks_[position >> kOffsetBits].get() + (position & (kMaxBlock - 1));
}

std::string_view TextColumn::get(uint32_t row) const {
    if (row >= refs_.size() || refs_[row] == 0) {
        return {};
    }
    const uint64_t ref = refs_[row];
    const char* bytes = at(ref >> kLengthBits);
    uint64_t length = ref & kLongText;
    if (length == kLongText) {
        // Texts of 16 MB and more keep their length in front of the bytes.
        std::memcpy(&length, bytes, sizeof length);
        return {bytes + sizeof length, length};
    }
    return {bytes, length};
}

char* TextColumn::place(std::size_t size, uint64_t* position) {
    if (blocks_.empty() || lastUsed_ + size > lastSize_) {
        // Blocks grow from 4 KB to 4 MB; a text too big for that gets its own.
        std::size_t next = blocks_.empty() ? kFirstBlock : std::min(lastSize_ * 2, kMaxBlock);
        next = std::max(next, size);
        blocks_.emplace_back(next);
        lastSize_ = next;
        lastUsed_ = 0;
        blockBytes_ += next;
    }
    *position = (uint64_t(blocks_.size() - 1) << kOffsetBits) | lastUsed_;
    char* target = blocks_.back().get() + lastUsed_;
    lastUsed_ += size;
    return target;
}

uint64_t TextColumn::store(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    live_ += text.size();
    uint64_t position = 0;
    if (text.size() >= kLongText) {
        const uint64_t length = text.size();
        char* target = place(sizeof length + text.size(), &position);
        std::memcpy(target, &length, sizeof length);
        std::memcpy(target + sizeof length, text.data(), text.size());
        return position << kLengthBits | kLongText;
    }
    std::memcpy(place(text.size(), &position), text.data(), text.size());
    return position << kLengthBits | text.size();
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
        const uint64_t position = refs_[row] >> kLengthBits;
        std::memcpy(const_cast<char*>(old.data()), text.data(), text.size());
        refs_[row] = position << kLengthBits | text.size();
        garbage_ += old.size() - text.size();
        live_ -= old.size() - text.size();
        return;
    }
    garbage_ += old.size();
    live_ -= old.size();
    refs_[row] = store(text);
    compactIfWasteful();
}

void TextColumn::clear() {
    *this = TextColumn();
}

void TextColumn::compactIfWasteful() {
    if (garbage_ < kMinGarbageToCompact || garbage_ < live_) {
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
    for (uint32_t row : order) {
        fresh.refs_.push_back(fresh.store(get(row)));
    }
    *this = std::move(fresh);
}

}  // namespace sheet
