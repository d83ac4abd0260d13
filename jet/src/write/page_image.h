// The working copy every change is planned on: the database's pages as plain
// (decoded) bytes, read from the file only when a step looks at them, so a
// change to a large file keeps a few dozen pages in memory. Remembers which
// pages changed and which were appended, which is all a save writes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "jet/status.h"
#include "page_codec.h"

namespace jet::write {

class PageImage {
  public:
    // Reads page `number` (decoded) into `out`, pageSize bytes.
    using PageReader = std::function<Status(uint32_t number, uint8_t* out)>;

    // A file of `pageCount` pages whose pages `reader` supplies on demand.
    static PageImage onDemand(PageReader reader, uint32_t pageCount, uint32_t pageSize, bool jet3);
    // A file held in memory (tests, fuzzing): splits `fileBytes` into pages
    // and decodes pages 1.. with `codec` (may be null). Corrupt when the size
    // is not a whole number of pages.
    static Result<PageImage> fromFile(std::vector<uint8_t> fileBytes, uint32_t pageSize, bool jet3,
                                      const PageCodec* codec);

    bool jet3() const { return jet3_; }
    uint32_t pageSize() const { return pageSize_; }
    uint32_t pageCount() const { return pageCount_; }

    // Page `number` (< pageCount()). A page that cannot be read reads as
    // zeros and sets status(), which the caller checks before writing.
    const uint8_t* page(uint32_t number) const;
    // Writable page; marks it changed. Precondition: number < pageCount().
    uint8_t* mutablePage(uint32_t number);
    // Adds a zero-filled page at the end and returns its number.
    uint32_t appendPage();

    const std::set<uint32_t>& changedPages() const { return changed_; }
    uint32_t originalPageCount() const { return originalCount_; }
    // The first read failure, if any.
    const Status& status() const { return status_; }

    // Changed and appended pages as they go to disk (encoded with `codec`).
    Result<std::map<uint32_t, std::vector<uint8_t>>> encodedChanges(const PageCodec* codec) const;

  private:
    PageReader reader_;
    mutable std::map<uint32_t, std::vector<uint8_t>> pages_;
    mutable Status status_;
    uint32_t pageSize_ = 4096;
    uint32_t pageCount_ = 0;
    uint32_t originalCount_ = 0;
    bool jet3_ = false;
    std::set<uint32_t> changed_;
};

}  // namespace jet::write
