#include "write/table_layout.h"

#include <algorithm>
#include <set>
#include <string>

#include "byte_reader.h"
#include "write/byte_writer.h"

namespace jet::write {
namespace {

struct Offsets {
    uint32_t rowCount, ownedMap, freeMap, columnCount, logicalCount, realCount, headerEnd;
    uint32_t realEntry, descriptor, indexBlock, logicalEntry;
    uint32_t descNumber, descSort, descFlagsEnd;
};

constexpr Offsets kJet3{12, 35, 39, 25, 27, 31, 43, 8, 18, 39, 20, 1, 9, 0};
constexpr Offsets kJet4{16, 55, 59, 45, 47, 51, 63, 12, 25, 52, 28, 5, 11, 14};

// The definition bytes: the first page whole, then each following page from
// offset 8, as the reader assembles them.
Result<std::vector<uint8_t>> definitionBuffer(const PageImage& image, uint32_t tdefPage,
                                              std::vector<uint32_t>& chain) {
    std::vector<uint8_t> buffer;
    std::set<uint32_t> seen;
    for (uint32_t page = tdefPage; page != 0; page = le32(image.page(page) + 4)) {
        if (page >= image.pageCount() || image.page(page)[0] != 0x02 || !seen.insert(page).second) {
            return Result<std::vector<uint8_t>>(
                ErrorCode::Corrupt,
                "table definition at page " + std::to_string(tdefPage) + " has a broken chain");
        }
        chain.push_back(page);
        const uint8_t* bytes = image.page(page);
        buffer.insert(buffer.end(), bytes + (buffer.empty() ? 0 : 8), bytes + image.pageSize());
    }
    return buffer;
}

class Cursor {
  public:
    Cursor(const std::vector<uint8_t>& buffer, uint32_t tdefPage) : b_(buffer), page_(tdefPage) {}
    bool has(size_t size) const { return at + size <= b_.size(); }
    Status fail() const {
        return {ErrorCode::Corrupt,
                "table definition at page " + std::to_string(page_) + " runs past its end"};
    }
    const uint8_t* p() const { return b_.data() + at; }
    size_t at = 0;

  private:
    const std::vector<uint8_t>& b_;
    uint32_t page_;
};

Status skipNames(Cursor& c, uint32_t count, bool jet3) {
    for (uint32_t i = 0; i < count; ++i) {
        if (!c.has(jet3 ? 1 : 2)) {
            return c.fail();
        }
        c.at += jet3 ? 1 + c.p()[0] : 2 + le16(c.p());
    }
    return c.has(0) ? Status::ok() : c.fail();
}

RealIndex readIndexBlock(const uint8_t* p, bool jet3) {
    RealIndex index;
    const uint8_t* cols = p + (jet3 ? 0 : 4);
    for (int slot = 0; slot < 10; ++slot) {
        const uint16_t number = le16(cols + 3 * slot);
        if (number != 0xFFFF) {
            index.columns.push_back({number, cols[3 * slot + 2] == 0x01});
        }
    }
    index.mapPointer = le32(p + (jet3 ? 30 : 34));
    index.rootPage = le32(p + (jet3 ? 34 : 38));
    index.flags = p[jet3 ? 38 : 46];
    return index;
}

}  // namespace

const LongValueMaps* TableLayout::mapsOf(uint16_t column) const {
    for (const LongValueMaps& maps : longValueMaps) {
        if (maps.column == column) {
            return &maps;
        }
    }
    return nullptr;
}

Result<TableLayout> readTableLayout(const PageImage& image, uint32_t tdefPage) {
    if (tdefPage == 0 || tdefPage >= image.pageCount()) {
        return Result<TableLayout>(
            ErrorCode::Corrupt,
            "table definition page " + std::to_string(tdefPage) + " lies outside the file");
    }
    std::vector<uint32_t> chain;
    auto buffer = definitionBuffer(image, tdefPage, chain);
    if (!buffer) {
        return buffer.status();
    }
    const bool jet3 = image.jet3();
    const Offsets& o = jet3 ? kJet3 : kJet4;
    const std::vector<uint8_t>& b = *buffer;
    TableLayout layout;
    layout.tdefPage = tdefPage;
    layout.definitionPages = std::move(chain);
    layout.rowCount = le32(&b[o.rowCount]);
    layout.maxColumns = le16(&b[o.columnCount - 4]);
    layout.ownedMap = le32(&b[o.ownedMap]);
    layout.freeMap = le32(&b[o.freeMap]);
    const uint32_t columns = le16(&b[o.columnCount]);
    const uint32_t logical = le32(&b[o.logicalCount]);
    const uint32_t real = le32(&b[o.realCount]);
    Cursor c(b, tdefPage);
    if (columns > 4096 || logical > 1000 || real > 1000) {
        return c.fail();
    }
    c.at = o.headerEnd + real * o.realEntry;
    if (!c.has(size_t(columns) * o.descriptor)) {
        return c.fail();
    }
    for (uint32_t i = 0; i < columns; ++i, c.at += o.descriptor) {
        const uint8_t type = c.p()[0];
        if (type == 0x0A || type == 0x0C) {
            const uint16_t number = le16(c.p() + o.descNumber);
            layout.sortOrders[number] = le16(c.p() + o.descSort);
            if (!jet3) {
                layout.sortVersions[number] = c.p()[o.descFlagsEnd];
            }
        }
    }
    if (Status s = skipNames(c, columns, jet3); !s) {
        return s;
    }
    if (!c.has(size_t(real) * o.indexBlock)) {
        return c.fail();
    }
    for (uint32_t i = 0; i < real; ++i, c.at += o.indexBlock) {
        RealIndex index = readIndexBlock(c.p(), jet3);
        index.uniqueCountOffset = o.headerEnd + i * o.realEntry + 4;
        layout.indexes.push_back(std::move(index));
    }
    c.at += size_t(logical) * o.logicalEntry;
    if (Status s = skipNames(c, logical, jet3); !s) {
        return s;
    }
    while (c.has(2) && le16(c.p()) != 0xFFFF) {
        if (!c.has(10)) {
            return c.fail();
        }
        layout.longValueMaps.push_back({le16(c.p()), le32(c.p() + 2), le32(c.p() + 6)});
        c.at += 10;
    }
    return layout;
}

void addToRowCount(PageImage& image, const TableLayout& layout, int delta) {
    const uint32_t at = image.jet3() ? kJet3.rowCount : kJet4.rowCount;
    uint8_t* page = image.mutablePage(layout.tdefPage);
    // A stale count (Access does not keep it exact) must not wrap below zero.
    const int64_t count = std::max<int64_t>(0, static_cast<int64_t>(le32(page + at)) + delta);
    putLe32(page + at, static_cast<uint32_t>(count));
}

void bumpUniqueCount(PageImage& image, const TableLayout& layout, size_t index) {
    const uint32_t at = layout.indexes[index].uniqueCountOffset;
    if (at + 4 <= image.pageSize()) {
        uint8_t* page = image.mutablePage(layout.tdefPage);
        putLe32(page + at, le32(page + at) + 1);
    }
}

}  // namespace jet::write
