// Hands out new pages at the end of the file and returns pages to the free
// list, keeping the global usage map on page 1 (a set bit means free) in step.
// New pages are only appended inside the range the global map already
// covers; growing the map is left to Access's compact.
#pragma once

#include <cstdint>

#include "jet/status.h"
#include "write/page_image.h"
#include "write/usage_map_editor.h"

namespace jet::write {

class PageAllocator {
  public:
    static Result<PageAllocator> open(PageImage& image);

    // Appends a zero page, marks it used. Unsupported when the global map
    // cannot cover it or the file would pass the format's size limit.
    Result<uint32_t> allocate();
    // Marks `page` free in the global map (its contents stay).
    Status release(uint32_t page);

  private:
    PageAllocator(PageImage& image, UsageMapEditor global) : image_(&image), global_(global) {}

    PageImage* image_;
    UsageMapEditor global_;
};

}  // namespace jet::write
