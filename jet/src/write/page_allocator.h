// Hands out pages and returns them to the free list, keeping the global usage
// map on page 1 (a set bit means free) in step. A new page is appended at the
// end of the file when the global map and the owner's map cover it; else a
// page the global map marks free inside the file is reused, provided no
// usage map of any table claims it. Growing or moving maps is left to
// Access's compact.
#pragma once

#include <cstdint>
#include <functional>
#include <set>

#include "jet/status.h"
#include "write/page_image.h"
#include "write/usage_map_editor.h"

namespace jet::write {

class PageAllocator {
  public:
    static Result<PageAllocator> open(PageImage& image);

    // A zeroed page that `fits` accepts (the owner's maps cover it), marked
    // used. Unsupported when there is none or the file would pass the
    // format's size limit.
    Result<uint32_t> allocate(const std::function<bool(uint32_t)>& fits);
    // Pages some usage map claims; free pages among them are never reused.
    // `known` false: a map could not be read, so nothing is reused.
    void setClaimedPages(std::set<uint32_t> claimed, bool known) {
        claimed_ = std::move(claimed);
        claimedKnown_ = known;
    }
    // Marks `page` free in the global map (its contents stay).
    Status release(uint32_t page);

  private:
    PageAllocator(PageImage& image, UsageMapEditor global) : image_(&image), global_(global) {}

    PageImage* image_;
    UsageMapEditor global_;
    std::set<uint32_t> claimed_;
    bool claimedKnown_ = false;
};

}  // namespace jet::write
