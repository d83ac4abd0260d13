// Finds room for new rows: a page from the owner's free-space map that the
// row fits on, else a new page added to the owner's owned and free-space
// maps. Used for table rows and for long-value (LVAL) rows.
#pragma once

#include <cstdint>
#include <span>

#include "jet/status.h"
#include "write/page_allocator.h"
#include "write/page_image.h"

namespace jet::write {

constexpr uint32_t kLongValueOwner = 0x4C41564C;  // the bytes "LVAL"

class RowPlacer {
  public:
    RowPlacer(PageImage& image, PageAllocator& allocator) : image_(image), allocator_(allocator) {}

    // Stores `row` on a data page whose owner field is `owner`, choosing among
    // the pages of the map at `freeMap`; returns the row pointer.
    Result<uint32_t> place(uint32_t owner, uint32_t ownedMap, uint32_t freeMap,
                           std::span<const uint8_t> row);

  private:
    Result<uint32_t> newPage(uint32_t owner, uint32_t ownedMap, uint32_t freeMap);

    PageImage& image_;
    PageAllocator& allocator_;
};

}  // namespace jet::write
