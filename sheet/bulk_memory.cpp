#include "sheet/bulk_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace sheet {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a block comes from the heap: a mapping per small block would
// cost more than the faults it saves.
constexpr std::size_t kMapFrom = 2 * kHugePage;

std::size_t mappedSize(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// Blocks kept while a BulkReuse lives: (address, mapped size).
struct ReuseState {
    std::mutex mutex;
    int windows = 0;
    std::vector<std::pair<void*, std::size_t>> kept;
};

ReuseState& reuseState() {
    static ReuseState state;
    return state;
}

void* takeKept(std::size_t size) {
    ReuseState& state = reuseState();
    std::lock_guard lock(state.mutex);
    const auto found = std::find_if(state.kept.begin(), state.kept.end(),
                                    [size](const auto& block) { return block.second == size; });
    if (found == state.kept.end()) {
        return nullptr;
    }
    void* block = found->first;
    *found = state.kept.back();
    state.kept.pop_back();
    return block;
}

bool keep(void* block, std::size_t size) {
    ReuseState& state = reuseState();
    std::lock_guard lock(state.mutex);
    if (state.windows == 0) {
        return false;
    }
    try {
        state.kept.emplace_back(block, size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
}  // namespace

BulkReuse::BulkReuse() {
    ReuseState& state = reuseState();
    std::lock_guard lock(state.mutex);
    ++state.windows;
}

BulkReuse::~BulkReuse() {
    ReuseState& state = reuseState();
    std::vector<std::pair<void*, std::size_t>> unused;
    {
        std::lock_guard lock(state.mutex);
        if (--state.windows > 0) {
            return;
        }
        unused.swap(state.kept);
    }
    for (const auto& [block, size] : unused) {
        munmap(block, size);
    }
}

void* bulkAllocate(std::size_t bytes) {
    if (bytes < kMapFrom) {
        return ::operator new(bytes);
    }
    const std::size_t size = mappedSize(bytes);
    if (void* kept = takeKept(size)) {
        return kept;
    }
    // Map a huge page more than needed and cut the ends off, so the block
    // starts on a huge-page boundary whatever the kernel's placement.
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
    const std::size_t size = mappedSize(bytes);
    if (!keep(block, size)) {
        munmap(block, size);
    }
}

}  // namespace sheet
