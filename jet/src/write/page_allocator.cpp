#include "write/page_allocator.h"

#include <string>

namespace jet::write {

Result<PageAllocator> PageAllocator::open(PageImage& image) {
    auto global = UsageMapEditor::open(image, (1u << 8) | 0u);
    if (!global) {
        return Result<PageAllocator>(ErrorCode::Unsupported,
                                     "the database's map of free pages cannot be changed (" +
                                         global.status().message() + ")");
    }
    return PageAllocator(image, *global);
}

Result<uint32_t> PageAllocator::allocate() {
    const uint32_t next = image_->pageCount();
    const uint64_t limit = image_->jet3() ? (1ull << 30) : (2ull << 30);
    if (uint64_t(next + 1) * image_->pageSize() > limit) {
        return Result<uint32_t>(ErrorCode::Unsupported, "the database is at its size limit");
    }
    if (!global_.covers(next) || !global_.contains(next)) {
        return Result<uint32_t>(ErrorCode::Unsupported,
                                "the database needs a new page that its map of free pages does "
                                "not cover; compact the database in Access and try again");
    }
    image_->appendPage();
    if (Status status = global_.set(next, false); !status) {
        return status;
    }
    return next;
}

Status PageAllocator::release(uint32_t page) {
    return global_.set(page, true);
}

}  // namespace jet::write
