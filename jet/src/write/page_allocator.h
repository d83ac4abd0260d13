// Hands out pages and returns them to the free list, keeping the global usage
// map on page 1 (a set bit means free) in step. A page the global map marks
// free inside the file is reused when no usage map of any table claims it
// (Access reuses such pages too); otherwise a page is appended at the end of
// the file, the global map growing as Access grows it. The format's size
// limits (1 GB Jet 3, 2 GB Jet 4 and ACE) are refused with a clear message.
#pragma once

#include <cstdint>
#include <set>

#include "jet/status.h"
#include "write/page_image.h"
#include "write/usage_map_editor.h"

namespace jet::write {

class PageAllocator {
  public:
    static Result<PageAllocator> open(PageImage& image);

    // A zeroed page, marked used in the global map.
    Result<uint32_t> allocate();
    // Pages some usage map claims; free pages among them are never reused.
    // `known` false: a map could not be read, so nothing is reused.
    void setClaimedPages(std::set<uint32_t> claimed, bool known) {
        claimed_ = std::move(claimed);
        claimedKnown_ = known;
    }
    // Marks `page` free in the global map (its contents stay).
    Status release(uint32_t page);
    // Sets `page` in `map`, taking pages for new bitmap pages from here.
    Status addToMap(UsageMapEditor& map, uint32_t page);

    // The largest file the format allows, in bytes.
    static uint64_t sizeLimit(bool jet3) { return jet3 ? (1ull << 30) : (2ull << 30); }

  private:
    PageAllocator(PageImage& image, UsageMapEditor global) : image_(&image), global_(global) {}
    Result<uint32_t> reuseFreePage();

    PageImage* image_;
    UsageMapEditor global_;
    std::set<uint32_t> claimed_;
    bool claimedKnown_ = false;
};

}  // namespace jet::write
