// Memory for the sheet's column-long arrays. A million-row fill touches a few
// hundred megabytes of fresh memory; large blocks are mapped straight from the
// kernel and marked for transparent huge pages, so filling them takes a page
// fault per 2 MB instead of one per 4 KB. Small blocks come from the heap.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace sheet {

void* bulkAllocate(std::size_t bytes);
void bulkFree(void* block, std::size_t bytes) noexcept;

// While one lives, large blocks given back are kept mapped and handed out
// again for the same size: a sheet refilled with rows like the ones it drops
// (a table clicked again, a statement run again) then writes into pages it
// already has instead of the kernel zeroing fresh ones, which on a virtual
// machine costs as much as a fifth of the fill. When the last one ends, the
// blocks nobody took are unmapped, so memory follows the sheet as before.
class BulkReuse {
  public:
    BulkReuse();
    ~BulkReuse();
    BulkReuse(const BulkReuse&) = delete;
    BulkReuse& operator=(const BulkReuse&) = delete;
};

template <typename T>
struct BulkAllocator {
    using value_type = T;

    BulkAllocator() = default;
    template <typename U>
    BulkAllocator(const BulkAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) { return static_cast<T*>(bulkAllocate(count * sizeof(T))); }
    void deallocate(T* block, std::size_t count) noexcept { bulkFree(block, count * sizeof(T)); }

    template <typename U>
    bool operator==(const BulkAllocator<U>&) const noexcept {
        return true;
    }
};

template <typename T>
using BulkVector = std::vector<T, BulkAllocator<T>>;

// A byte block that remembers its size, for giving it back.
class BulkBytes {
  public:
    explicit BulkBytes(std::size_t size)
        : bytes_(static_cast<char*>(bulkAllocate(size))), size_(size) {}
    BulkBytes(BulkBytes&& other) noexcept
        : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    BulkBytes& operator=(BulkBytes&& other) noexcept {
        std::swap(bytes_, other.bytes_);
        std::swap(size_, other.size_);
        return *this;
    }
    ~BulkBytes() {
        if (bytes_) {
            bulkFree(bytes_, size_);
        }
    }
    char* get() const { return bytes_; }

  private:
    char* bytes_;
    std::size_t size_;
};

}  // namespace sheet
