#include "usage_map.h"

#include <algorithm>
#include <cstdint>

#include "byte_reader.h"
#include "data_page.h"

namespace jet {
namespace {

void addBits(const uint8_t* bitmap, size_t bytes, uint64_t firstPage, uint32_t pageCount,
             UsageMapPages& pages) {
    for (size_t k = 0; k < bytes; ++k) {
        if (bitmap[k] == 0)
            continue;
        for (int b = 0; b < 8; ++b) {
            const uint64_t page = firstPage + 8 * k + b;
            if (!(bitmap[k] >> b & 1))
                continue;
            if (page < pageCount) {
                pages.inFile.push_back(static_cast<uint32_t>(page));
            } else {
                ++pages.pastEndCount;
                if (pages.pastEnd.size() < UsageMapPages::kMaxPastEnd)
                    pages.pastEnd.push_back(
                        static_cast<uint32_t>(std::min<uint64_t>(page, UINT32_MAX)));
            }
        }
    }
}

void sortUnique(std::vector<uint32_t>& pages) {
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
}

Status referenceMap(const DatabaseFile& file, const uint8_t* row, size_t length,
                    UsageMapPages& pages) {
    const uint32_t size = file.pageSize();
    const uint64_t perPage = static_cast<uint64_t>(size - 4) * 8;
    std::vector<uint8_t> bitmapPage(size);
    for (size_t j = 0; 1 + 4 * j + 4 <= length; ++j) {
        const uint32_t number = le32(row + 1 + 4 * j);
        if (number == 0)
            continue;
        if (Status s = file.readPage(number, bitmapPage.data()); !s)
            return s;
        if (bitmapPage[0] != 0x05)
            return Status(ErrorCode::Corrupt,
                          "Page " + std::to_string(number) + " is not a usage bitmap page.");
        addBits(bitmapPage.data() + 4, size - 4, j * perPage, file.pageCount(), pages);
    }
    return Status::ok();
}

}  // namespace

Status readPointedRow(const DatabaseFile& file, uint32_t pointer, std::vector<uint8_t>& page,
                      uint32_t& start, uint32_t& end) {
    const uint32_t number = pointerPage(pointer);
    page.resize(file.pageSize());
    if (Status s = file.readPage(number, page.data()); !s)
        return s;
    const DataPage dp{page.data(), file.pageSize(), file.jet3()};
    const uint32_t slot = pointerRow(pointer);
    if (page[0] != DataPage::kType || slot >= dp.slotCount() || !dp.slotRange(slot, start, end))
        return Status(ErrorCode::Corrupt, "Row " + std::to_string(slot) + " of page " +
                                              std::to_string(number) + " does not exist.");
    return Status::ok();
}

Result<UsageMapPages> readUsageMap(const DatabaseFile& file, uint32_t mapPointer) {
    std::vector<uint8_t> page;
    uint32_t start = 0, end = 0;
    if (Status s = readPointedRow(file, mapPointer, page, start, end); !s)
        return s;
    const uint8_t* row = &page[start];
    const size_t length = end - start;
    UsageMapPages pages;
    if (row[0] == 0x00 && length >= 5) {
        addBits(row + 5, length - 5, le32(row + 1), file.pageCount(), pages);
    } else if (row[0] == 0x01) {
        if (Status s = referenceMap(file, row, length, pages); !s)
            return s;
    } else {
        return Status(ErrorCode::Corrupt, "Unknown usage map type " + std::to_string(row[0]) +
                                              " on page " +
                                              std::to_string(pointerPage(mapPointer)) + ".");
    }
    sortUnique(pages.inFile);
    sortUnique(pages.pastEnd);
    if (pages.pastEnd.size() < UsageMapPages::kMaxPastEnd)
        pages.pastEndCount = pages.pastEnd.size();
    return pages;
}

}  // namespace jet
