#include "text_buffer.h"

#include <algorithm>

namespace cli {

TextBuffer::TextBuffer(const TextBuffer& other) {
    append(other.view());
}

TextBuffer& TextBuffer::operator=(const TextBuffer& other) {
    if (this != &other) {
        clear();
        append(other.view());
    }
    return *this;
}

char* TextBuffer::grow(size_t n) {
    // Doubling keeps the copies of a growing text to a constant a byte.
    const size_t capacity = std::max({capacity_ * 2, size_ + n, size_t{4096}});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0)
        std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
    return data_.get() + size_;
}

}  // namespace cli
