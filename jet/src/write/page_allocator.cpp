#include "write/page_allocator.h"

#include <cstring>
#include <string>

namespace jet::write {

Result<PageAllocator> PageAllocator::open(PageImage& image) {
    auto global = UsageMapEditor::open(image, (1u << 8) | 0u, MapKind::Global);
    if (!global) {
        return Result<PageAllocator>(
            ErrorCode::Unsupported,
            "the database's map of free pages cannot be read (" + global.status().message() + ")");
    }
    return PageAllocator(image, *global);
}

Result<uint32_t> PageAllocator::reuseFreePage() {
    if (!claimedKnown_) {
        return Result<uint32_t>(ErrorCode::NotFound, "no reusable page");
    }
    for (uint32_t page : global_.pages()) {
        if (page >= image_->originalPageCount()) {
            break;
        }
        if (page > 1 && !claimed_.count(page)) {
            std::memset(image_->mutablePage(page), 0, image_->pageSize());
            if (Status status = global_.set(page, false); !status) {
                return status;
            }
            claimed_.insert(page);
            return page;
        }
    }
    return Result<uint32_t>(ErrorCode::NotFound, "no reusable page");
}

Result<uint32_t> PageAllocator::allocate() {
    if (auto reused = reuseFreePage(); reused || reused.status().code() != ErrorCode::NotFound) {
        return reused;
    }
    const uint32_t next = image_->pageCount();
    const uint64_t limit = sizeLimit(image_->jet3());
    if (uint64_t(next + 1) * image_->pageSize() > limit) {
        return Result<uint32_t>(
            ErrorCode::Unsupported,
            "the database has reached the largest size its format allows (" +
                std::to_string(limit >> 30) +
                " GB); compact it in Access, or move objects into another database");
    }
    image_->appendPage();
    if (Status status = global_.set(next, false); !status) {
        return status;
    }
    return next;
}

Status PageAllocator::release(uint32_t page) {
    claimed_.erase(page);
    return global_.set(page, true);
}

Status PageAllocator::addToMap(UsageMapEditor& map, uint32_t page) {
    return map.set(page, true, [this] { return allocate(); });
}

}  // namespace jet::write
