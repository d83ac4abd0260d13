#include "write/page_allocator.h"

#include <cstring>
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

Result<uint32_t> PageAllocator::allocate(const std::function<bool(uint32_t)>& fits) {
    const uint32_t next = image_->pageCount();
    const uint64_t limit = image_->jet3() ? (1ull << 30) : (2ull << 30);
    // Bits past the end of the file say nothing reliable (files differ), so
    // an appended page only needs to be covered by the map.
    if (fits(next) && global_.covers(next)) {
        if (uint64_t(next + 1) * image_->pageSize() > limit) {
            return Result<uint32_t>(ErrorCode::Unsupported, "the database is at its size limit");
        }
        image_->appendPage();
        if (Status status = global_.set(next, false); !status) {
            return status;
        }
        return next;
    }
    if (claimedKnown_) {
        for (uint32_t page : global_.pages()) {
            if (page > 1 && page < image_->originalPageCount() && fits(page) &&
                !claimed_.count(page)) {
                std::memset(image_->mutablePage(page), 0, image_->pageSize());
                if (Status status = global_.set(page, false); !status) {
                    return status;
                }
                claimed_.insert(page);
                return page;
            }
        }
    }
    return Result<uint32_t>(ErrorCode::Unsupported,
                            "the database has no page this change may use (its page maps do not "
                            "reach the end of the file); compact the database in Access and try "
                            "again");
}

Status PageAllocator::release(uint32_t page) {
    return global_.set(page, true);
}

}  // namespace jet::write
