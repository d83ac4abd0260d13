#include "sheet/bulk_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace sheet {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a block comes from the heap: a mapping per small block would
// cost more than the faults it saves.
constexpr std::size_t kMapFrom = 2 * kHugePage;

std::size_t mappedSize(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}
}  // namespace

void* bulkAllocate(std::size_t bytes) {
    if (bytes < kMapFrom) {
        return ::operator new(bytes);
    }
    // Map a huge page more than needed and cut the ends off, so the block
    // starts on a huge-page boundary whatever the kernel's placement.
    const std::size_t size = mappedSize(bytes);
    void* raw =
        mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start) {
        munmap(raw, aligned - start);
    }
    if (const std::size_t tail = start + kHugePage - aligned; tail > 0) {
        munmap(reinterpret_cast<void*>(aligned + size), tail);
    }
    auto* block = reinterpret_cast<void*>(aligned);
    madvise(block, size, MADV_HUGEPAGE);  // a hint: without it the block still works
    return block;
}

void bulkFree(void* block, std::size_t bytes) noexcept {
    if (bytes < kMapFrom) {
        ::operator delete(block);
        return;
    }
    munmap(block, mappedSize(bytes));
}

}  // namespace sheet
