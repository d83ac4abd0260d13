// A growing run of bytes that formatting code writes through raw pointers:
// room() hands out space, nothing is zero-filled or terminated, and the
// bytes can be handed on whole (moved) to the thread that writes them.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace cli {

class TextBuffer {
  public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer& other);
    TextBuffer& operator=(const TextBuffer& other);
    TextBuffer(TextBuffer&&) noexcept = default;
    TextBuffer& operator=(TextBuffer&&) noexcept = default;

    // At least `n` bytes of space after the text; write there, then advance().
    char* room(size_t n) { return capacity_ - size_ >= n ? data_.get() + size_ : grow(n); }
    // The text now ends at `end` (inside the last room()).
    void advanceTo(char* end) { size_ = static_cast<size_t>(end - data_.get()); }
    void append(std::string_view text) {
        if (text.empty())
            return;
        std::memcpy(room(text.size()), text.data(), text.size());
        size_ += text.size();
    }
    void push_back(char c) {
        *room(1) = c;
        ++size_;
    }
    // Keeps the first `size` bytes (size() at most).
    void truncate(size_t size) { size_ = size; }
    void clear() { size_ = 0; }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view view() const { return {data_.get(), size_}; }

  private:
    char* grow(size_t n);

    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace cli
