// Reads and changes one usage map: a table's owned or free-space pages, an
// index's pages, a long-value column's pages, or the global map of free
// pages on page 1. An inline map (start page and bitmap in its row) that
// cannot reach a page is moved to a new start page, grown within its row
// (the global map, as Access grows it with the file), or turned into a
// reference map (the row lists bitmap pages of type 0x05), as Access does.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "jet/status.h"
#include "write/page_image.h"

namespace jet::write {

enum class MapKind {
    Owned,      // pages an owner holds: never loses a page
    FreeSpace,  // pages with room for rows: a hint, may forget old pages
    Global,     // page 1's map: a set bit means the page is free
};

class UsageMapEditor {
  public:
    // A fresh page for a new bitmap page, already marked used.
    using NewPage = std::function<Result<uint32_t>()>;

    // The map stored at row pointer `pointer` (page << 8 | row). Corrupt when
    // the row cannot be found or has an unknown type.
    static Result<UsageMapEditor> open(PageImage& image, uint32_t pointer,
                                       MapKind kind = MapKind::Owned);

    bool isReference() const;
    bool contains(uint32_t page) const;
    // Every page whose bit is set, ascending.
    std::vector<uint32_t> pages() const;
    // The bitmap pages of a reference map (none for an inline map).
    std::vector<uint32_t> bitmapPages() const;
    // Sets or clears the bit of `page`, moving, growing or promoting the map
    // when it does not reach the page. Unsupported when no map of this kind
    // can reach it (past the format's size limit).
    Status set(uint32_t page, bool member, const NewPage& newPage = {});

  private:
    UsageMapEditor(PageImage& image, uint32_t page, uint32_t row, MapKind kind)
        : image_(&image), page_(page), row_(row), kind_(kind) {}

    bool rowRange(uint32_t& start, uint32_t& end) const;
    uint32_t perBitmapPage() const { return (image_->pageSize() - 4) * 8; }
    // Inline maps.
    uint32_t inlineStart() const;
    uint32_t inlineBits() const;
    void rewriteInline(uint32_t newStart, const std::vector<uint32_t>& members);
    Status setOutsideInline(uint32_t page, bool member, const NewPage& newPage);
    Status growGlobal(uint32_t page);
    Status promote(uint32_t page, bool member, const NewPage& newPage);
    Status promoteGlobal(uint32_t page);
    // Reference maps.
    uint32_t referenceCount() const;
    uint32_t bitmapPage(uint32_t index) const;
    Result<uint32_t> makeBitmapPage(uint32_t index, const NewPage& newPage);
    Status setInReference(uint32_t page, bool member, const NewPage& newPage);

    PageImage* image_;
    uint32_t page_;
    uint32_t row_;
    MapKind kind_;
};

}  // namespace jet::write
