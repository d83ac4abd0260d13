// The whole database file held in memory as plain (decoded) pages, the
// working copy every change is planned on. Remembers which pages changed and
// which were appended, so the verifier can check that nothing else moved.
#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <vector>

#include "jet/status.h"
#include "page_codec.h"

namespace jet::write {

class PageImage {
  public:
    // Splits `fileBytes` into pages and decodes pages 1.. with `codec` (may be
    // null). Corrupt when the size is not a whole number of pages.
    static Result<PageImage> fromFile(std::vector<uint8_t> fileBytes, uint32_t pageSize, bool jet3,
                                      const PageCodec* codec);

    bool jet3() const { return jet3_; }
    uint32_t pageSize() const { return pageSize_; }
    uint32_t pageCount() const { return static_cast<uint32_t>(bytes_.size() / pageSize_); }

    const uint8_t* page(uint32_t number) const {
        return bytes_.data() + size_t(number) * pageSize_;
    }
    // Writable page; marks it changed. Precondition: number < pageCount().
    uint8_t* mutablePage(uint32_t number);
    // Adds a zero-filled page at the end and returns its number.
    uint32_t appendPage();

    const std::set<uint32_t>& changedPages() const { return changed_; }
    uint32_t originalPageCount() const { return originalCount_; }

    // The file bytes: page 0 as loaded, other pages encoded with `codec`.
    Result<std::vector<uint8_t>> encode(const PageCodec* codec) const;

  private:
    std::vector<uint8_t> bytes_;
    uint32_t pageSize_ = 4096;
    uint32_t originalCount_ = 0;
    bool jet3_ = false;
    std::set<uint32_t> changed_;
};

}  // namespace jet::write
