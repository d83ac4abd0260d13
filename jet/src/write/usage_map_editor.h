// Reads and changes one inline usage map (a bitmap row on a data page): a
// table's owned or free-space pages, an index's pages, a long-value column's
// pages, or the global map of free pages on page 1. Reference maps (lists of
// bitmap pages) can be read through the core reader but are not changed.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/status.h"
#include "write/page_image.h"

namespace jet::write {

class UsageMapEditor {
  public:
    // The map stored at row pointer `pointer` (page << 8 | row). Unsupported
    // for a reference map; Corrupt when the row cannot be found.
    static Result<UsageMapEditor> open(PageImage& image, uint32_t pointer);

    bool covers(uint32_t page) const;
    bool contains(uint32_t page) const;
    // Sets or clears the bit of `page`. Unsupported when the map does not
    // cover it (growing or moving a map is not done).
    Status set(uint32_t page, bool member);
    // Every page whose bit is set, ascending.
    std::vector<uint32_t> pages() const;

  private:
    UsageMapEditor(PageImage& image, uint32_t page, uint32_t start, uint32_t end)
        : image_(&image), page_(page), start_(start), end_(end) {}
    uint32_t firstPage() const;
    uint32_t bitCount() const { return (end_ - start_ - 5) * 8; }

    PageImage* image_;
    uint32_t page_;
    uint32_t start_;
    uint32_t end_;
};

}  // namespace jet::write
