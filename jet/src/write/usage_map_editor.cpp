#include "write/usage_map_editor.h"

#include <string>

#include "byte_reader.h"
#include "data_page.h"

namespace jet::write {

Result<UsageMapEditor> UsageMapEditor::open(PageImage& image, uint32_t pointer) {
    const uint32_t pageNumber = pointerPage(pointer), row = pointerRow(pointer);
    const std::string where =
        "usage map at page " + std::to_string(pageNumber) + " row " + std::to_string(row);
    if (pageNumber == 0 || pageNumber >= image.pageCount()) {
        return Result<UsageMapEditor>(ErrorCode::Corrupt, where + " lies outside the file");
    }
    DataPage page{image.page(pageNumber), image.pageSize(), image.jet3()};
    uint32_t start = 0, end = 0;
    if (page.bytes[0] != DataPage::kType || row >= page.slotCount() ||
        !page.slotRange(row, start, end) || end - start < 5) {
        return Result<UsageMapEditor>(ErrorCode::Corrupt, where + " cannot be read");
    }
    if (page.bytes[start] != 0x00) {
        return Result<UsageMapEditor>(ErrorCode::Unsupported,
                                      where + " is a reference map, which is not changed");
    }
    return UsageMapEditor(image, pageNumber, start, end);
}

uint32_t UsageMapEditor::firstPage() const {
    return le32(image_->page(page_) + start_ + 1);
}

bool UsageMapEditor::covers(uint32_t page) const {
    return page >= firstPage() && page - firstPage() < bitCount();
}

bool UsageMapEditor::contains(uint32_t page) const {
    if (!covers(page)) {
        return false;
    }
    const uint32_t bit = page - firstPage();
    return (image_->page(page_)[start_ + 5 + bit / 8] >> (bit % 8)) & 1;
}

Status UsageMapEditor::set(uint32_t page, bool member) {
    if (!covers(page)) {
        return {ErrorCode::Unsupported, "page " + std::to_string(page) +
                                            " lies outside the usage map on page " +
                                            std::to_string(page_)};
    }
    const uint32_t bit = page - firstPage();
    uint8_t& byte = image_->mutablePage(page_)[start_ + 5 + bit / 8];
    const uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
    byte = member ? (byte | mask) : (byte & ~mask);
    return Status::ok();
}

std::vector<uint32_t> UsageMapEditor::pages() const {
    std::vector<uint32_t> out;
    for (uint32_t bit = 0; bit < bitCount(); ++bit) {
        if ((image_->page(page_)[start_ + 5 + bit / 8] >> (bit % 8)) & 1) {
            out.push_back(firstPage() + bit);
        }
    }
    return out;
}

}  // namespace jet::write
