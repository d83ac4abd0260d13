#include "write/usage_map_editor.h"

#include <algorithm>
#include <set>
#include <string>

#include "byte_reader.h"
#include "data_page.h"
#include "write/byte_writer.h"
#include "write/data_page_editor.h"

namespace jet::write {
namespace {

constexpr uint8_t kInline = 0x00;
constexpr uint8_t kReference = 0x01;
constexpr uint8_t kBitmapPageType = 0x05;

bool bitOf(const uint8_t* bitmap, uint32_t bit) {
    return (bitmap[bit / 8] >> (bit % 8)) & 1;
}

void setBit(uint8_t* bitmap, uint32_t bit, bool on) {
    const auto mask = static_cast<uint8_t>(1u << (bit % 8));
    bitmap[bit / 8] = on ? (bitmap[bit / 8] | mask) : (bitmap[bit / 8] & ~mask);
}

Status beyondReach(uint32_t page) {
    return {ErrorCode::Unsupported,
            "the database has reached the largest size its format allows (page " +
                std::to_string(page) + " cannot be recorded in its page maps)"};
}

}  // namespace

Result<UsageMapEditor> UsageMapEditor::open(PageImage& image, uint32_t pointer, MapKind kind) {
    const uint32_t pageNumber = pointerPage(pointer), row = pointerRow(pointer);
    const std::string where =
        "usage map at page " + std::to_string(pageNumber) + " row " + std::to_string(row);
    if (pageNumber == 0 || pageNumber >= image.pageCount()) {
        return Result<UsageMapEditor>(ErrorCode::Corrupt, where + " lies outside the file");
    }
    UsageMapEditor map(image, pageNumber, row, kind);
    uint32_t start = 0, end = 0;
    if (!map.rowRange(start, end)) {
        return Result<UsageMapEditor>(ErrorCode::Corrupt, where + " cannot be read");
    }
    return map;
}

bool UsageMapEditor::rowRange(uint32_t& start, uint32_t& end) const {
    const DataPage page{image_->page(page_), image_->pageSize(), image_->jet3()};
    if (page.bytes[0] != DataPage::kType || row_ >= page.slotCount() ||
        !page.slotRange(row_, start, end) || end - start < 5) {
        return false;
    }
    return page.bytes[start] == kInline || page.bytes[start] == kReference;
}

bool UsageMapEditor::isReference() const {
    uint32_t start = 0, end = 0;
    return rowRange(start, end) && image_->page(page_)[start] == kReference;
}

uint32_t UsageMapEditor::inlineStart() const {
    uint32_t start = 0, end = 0;
    return rowRange(start, end) ? le32(image_->page(page_) + start + 1) : 0;
}

uint32_t UsageMapEditor::inlineBits() const {
    uint32_t start = 0, end = 0;
    return rowRange(start, end) ? (end - start - 5) * 8 : 0;
}

uint32_t UsageMapEditor::referenceCount() const {
    uint32_t start = 0, end = 0;
    return rowRange(start, end) ? (end - start - 1) / 4 : 0;
}

uint32_t UsageMapEditor::bitmapPage(uint32_t index) const {
    uint32_t start = 0, end = 0;
    if (!rowRange(start, end) || index >= (end - start - 1) / 4) {
        return 0;
    }
    const uint32_t number = le32(image_->page(page_) + start + 1 + 4 * index);
    const bool valid =
        number > 0 && number < image_->pageCount() && image_->page(number)[0] == kBitmapPageType;
    return valid ? number : 0;
}

bool UsageMapEditor::contains(uint32_t page) const {
    if (isReference()) {
        const uint32_t bitmap = bitmapPage(page / perBitmapPage());
        return bitmap != 0 && bitOf(image_->page(bitmap) + 4, page % perBitmapPage());
    }
    uint32_t start = 0, end = 0;
    const uint32_t first = inlineStart();
    if (!rowRange(start, end) || page < first || page - first >= inlineBits()) {
        return false;
    }
    return bitOf(image_->page(page_) + start + 5, page - first);
}

std::vector<uint32_t> UsageMapEditor::pages() const {
    std::vector<uint32_t> out;
    auto collect = [&](const uint8_t* bitmap, uint32_t bits, uint64_t first) {
        for (uint32_t bit = 0; bit < bits; ++bit) {
            if (bitmap[bit / 8] != 0 && bitOf(bitmap, bit) && first + bit <= UINT32_MAX) {
                out.push_back(static_cast<uint32_t>(first + bit));
            }
        }
    };
    if (isReference()) {
        for (uint32_t index = 0; index < referenceCount(); ++index) {
            if (const uint32_t bitmap = bitmapPage(index)) {
                collect(image_->page(bitmap) + 4, perBitmapPage(),
                        uint64_t(index) * perBitmapPage());
            }
        }
        return out;
    }
    uint32_t start = 0, end = 0;
    if (rowRange(start, end)) {
        collect(image_->page(page_) + start + 5, inlineBits(), inlineStart());
    }
    return out;
}

std::vector<uint32_t> UsageMapEditor::bitmapPages() const {
    std::vector<uint32_t> out;
    for (uint32_t index = 0; isReference() && index < referenceCount(); ++index) {
        if (const uint32_t bitmap = bitmapPage(index)) {
            out.push_back(bitmap);
        }
    }
    return out;
}

Status UsageMapEditor::set(uint32_t page, bool member, const NewPage& newPage) {
    if (isReference()) {
        return setInReference(page, member, newPage);
    }
    const uint32_t first = inlineStart();
    if (page >= first && page - first < inlineBits()) {
        uint32_t start = 0, end = 0;
        rowRange(start, end);
        setBit(image_->mutablePage(page_) + start + 5, page - first, member);
        return Status::ok();
    }
    return setOutsideInline(page, member, newPage);
}

Status UsageMapEditor::setOutsideInline(uint32_t page, bool member, const NewPage& newPage) {
    if (kind_ == MapKind::Global) {
        // A free page the map cannot reach just stays unused.
        return member ? Status::ok() : growGlobal(page);
    }
    if (!member) {
        return Status::ok();
    }
    std::vector<uint32_t> members = pages();
    members.push_back(page);
    const auto [low, high] = std::minmax_element(members.begin(), members.end());
    if (*high - *low < inlineBits()) {
        rewriteInline(*low, members);
        return Status::ok();
    }
    if (kind_ == MapKind::FreeSpace) {
        // Only a hint of where rows fit: keep the new page, forget the far ones.
        rewriteInline(page, members);
        return Status::ok();
    }
    return promote(page, member, newPage);
}

void UsageMapEditor::rewriteInline(uint32_t newStart, const std::vector<uint32_t>& members) {
    uint32_t start = 0, end = 0;
    rowRange(start, end);
    uint8_t* row = image_->mutablePage(page_) + start;
    std::fill(row + 5, row + (end - start), 0);
    putLe32(row + 1, newStart);
    const uint32_t bits = (end - start - 5) * 8;
    for (uint32_t page : members) {
        if (page >= newStart && page - newStart < bits) {
            setBit(row + 5, page - newStart, true);
        }
    }
}

// Access lengthens the global map's row as the file grows; pages past the end
// of the file are free, the page being taken is not.
Status UsageMapEditor::growGlobal(uint32_t page) {
    const uint32_t first = inlineStart();
    if (page < first) {
        return promoteGlobal(page);
    }
    const uint32_t haveBytes = inlineBits() / 8;
    const uint32_t needBytes = ((page - first) / 8 + 1 + 3) / 4 * 4;
    DataPageEditor editor(image_->mutablePage(page_), image_->pageSize(), image_->jet3());
    if (editor.freeSpace() < needBytes - haveBytes ||
        !editor.growRow(row_, needBytes - haveBytes)) {
        return promoteGlobal(page);
    }
    uint32_t start = 0, end = 0;
    rowRange(start, end);
    uint8_t* bitmap = image_->mutablePage(page_) + start + 5;
    for (uint32_t bit = haveBytes * 8; bit < needBytes * 8; ++bit) {
        setBit(bitmap, bit, first + bit >= image_->pageCount());
    }
    setBit(bitmap, page - first, false);
    return Status::ok();
}

// The global map outgrew its page: it becomes a reference map whose bitmap
// pages cover the whole file, free where the old map said so and past the end.
Status UsageMapEditor::promoteGlobal(uint32_t page) {
    std::vector<uint32_t> free = pages();
    std::erase(free, page);
    const uint32_t per = perBitmapPage();
    const uint32_t count = image_->pageCount();
    uint32_t needed = (count + per - 1) / per;
    while ((uint64_t(count) + needed + per - 1) / per > needed) {
        ++needed;
    }
    if (needed > referenceCount()) {
        return beyondReach(page);
    }
    std::vector<uint32_t> bitmaps;
    for (uint32_t i = 0; i < needed; ++i) {
        bitmaps.push_back(image_->appendPage());
    }
    const uint32_t finalCount = image_->pageCount();
    for (uint32_t index = 0; index < needed; ++index) {
        uint8_t* bitmap = image_->mutablePage(bitmaps[index]);
        bitmap[0] = kBitmapPageType;
        bitmap[1] = 0x01;
        for (uint32_t bit = 0; bit < per; ++bit) {
            setBit(bitmap + 4, bit, uint64_t(index) * per + bit >= finalCount);
        }
    }
    for (uint32_t freePage : free) {
        if (freePage / per < needed) {
            setBit(image_->mutablePage(bitmaps[freePage / per]) + 4, freePage % per, true);
        }
    }
    uint32_t start = 0, end = 0;
    rowRange(start, end);
    uint8_t* row = image_->mutablePage(page_) + start;
    std::fill(row, row + (end - start), 0);
    row[0] = kReference;
    for (uint32_t index = 0; index < needed; ++index) {
        putLe32(row + 1 + 4 * index, bitmaps[index]);
    }
    return Status::ok();
}

// An owned map whose pages lie too far apart for its row: Access turns it into
// a reference map and records the old pages and the new one there.
Status UsageMapEditor::promote(uint32_t page, bool member, const NewPage& newPage) {
    std::vector<uint32_t> members = pages();
    uint32_t start = 0, end = 0;
    rowRange(start, end);
    uint8_t* row = image_->mutablePage(page_) + start;
    std::fill(row, row + (end - start), 0);
    row[0] = kReference;
    for (uint32_t old : members) {
        if (Status status = setInReference(old, true, newPage); !status) {
            return status;
        }
    }
    return setInReference(page, member, newPage);
}

Result<uint32_t> UsageMapEditor::makeBitmapPage(uint32_t index, const NewPage& newPage) {
    uint32_t number = 0;
    if (kind_ == MapKind::Global) {
        number = image_->appendPage();
    } else {
        if (!newPage) {
            return Result<uint32_t>(ErrorCode::Unsupported, "no page for a usage bitmap");
        }
        auto fresh = newPage();
        if (!fresh) {
            return fresh;
        }
        number = *fresh;
    }
    uint8_t* bitmap = image_->mutablePage(number);
    std::fill(bitmap, bitmap + image_->pageSize(), 0);
    bitmap[0] = kBitmapPageType;
    bitmap[1] = 0x01;
    const uint32_t per = perBitmapPage();
    if (kind_ == MapKind::Global) {
        for (uint32_t bit = 0; bit < per; ++bit) {
            setBit(bitmap + 4, bit, uint64_t(index) * per + bit >= image_->pageCount());
        }
    }
    uint32_t start = 0, end = 0;
    rowRange(start, end);
    putLe32(image_->mutablePage(page_) + start + 1 + 4 * index, number);
    if (kind_ == MapKind::Global && number / per != index) {
        if (Status status = setInReference(number, false, newPage); !status) {
            return status;
        }
    }
    return number;
}

Status UsageMapEditor::setInReference(uint32_t page, bool member, const NewPage& newPage) {
    const bool record = kind_ == MapKind::Global ? !member : member;
    const uint32_t index = page / perBitmapPage();
    if (index >= referenceCount()) {
        return record ? beyondReach(page) : Status::ok();
    }
    uint32_t bitmap = bitmapPage(index);
    if (bitmap == 0) {
        if (!record) {
            return Status::ok();
        }
        auto made = makeBitmapPage(index, newPage);
        if (!made) {
            return made.status();
        }
        bitmap = *made;
    }
    setBit(image_->mutablePage(bitmap) + 4, page % perBitmapPage(), member);
    return Status::ok();
}

}  // namespace jet::write
