#include "write/data_page_editor.h"

#include <cstring>
#include <string>

#include "byte_reader.h"
#include "write/byte_writer.h"

namespace jet::write {

void DataPageEditor::initialize(uint32_t owner) {
    std::memset(page_, 0, pageSize_);
    page_[0] = 0x01;
    page_[1] = 0x01;
    putLe32(page_ + 4, owner);
    putLe16(page_ + 2, pageSize_ - countOffset() - 2);
}

uint32_t DataPageEditor::owner() const {
    return le32(page_ + 4);
}

uint32_t DataPageEditor::rowCount() const {
    return le16(page_ + countOffset());
}

uint16_t DataPageEditor::slot(uint32_t row) const {
    return le16(page_ + countOffset() + 2 + 2 * row);
}

uint32_t DataPageEditor::lowestRowStart() const {
    uint32_t lowest = pageSize_;
    for (uint32_t row = 0; row < rowCount(); ++row) {
        const uint32_t start = slot(row) & 0x1FFF;
        if (start != 0 && start < lowest) {
            lowest = start;
        }
    }
    return lowest;
}

uint32_t DataPageEditor::freeSpace() const {
    const uint32_t tableEnd = countOffset() + 2 + 2 * rowCount();
    const uint32_t lowest = lowestRowStart();
    return lowest > tableEnd ? lowest - tableEnd : 0;
}

bool DataPageEditor::fits(uint32_t rowSize) const {
    return rowCount() < kMaxRows && freeSpace() >= rowSize + 2;
}

Result<uint32_t> DataPageEditor::addRow(std::span<const uint8_t> row) {
    if (row.empty() || !fits(static_cast<uint32_t>(row.size()))) {
        return Result<uint32_t>(
            ErrorCode::Unsupported,
            "no room for a row of " + std::to_string(row.size()) + " bytes on the page");
    }
    const uint32_t number = rowCount();
    const uint32_t start = lowestRowStart() - static_cast<uint32_t>(row.size());
    std::memcpy(page_ + start, row.data(), row.size());
    putLe16(page_ + countOffset() + 2 + 2 * number, start);
    putLe16(page_ + countOffset(), number + 1);
    putLe16(page_ + 2, freeSpace());
    return number;
}

Status DataPageEditor::growRow(uint32_t row, uint32_t extra) {
    if (row >= rowCount() || freeSpace() < extra) {
        return {ErrorCode::Unsupported, "no room to lengthen row " + std::to_string(row)};
    }
    const uint32_t start = slot(row) & 0x1FFF;
    const uint32_t end = row == 0 ? pageSize_ : (slot(row - 1) & 0x1FFF);
    const uint32_t lowest = lowestRowStart();
    if (start == 0 || end <= start || end > pageSize_) {
        return {ErrorCode::Corrupt, "row " + std::to_string(row) + " has no extent on its page"};
    }
    // Rows are packed downwards, so this row and every row stored below it move.
    std::memmove(page_ + lowest - extra, page_ + lowest, end - lowest);
    std::memset(page_ + end - extra, 0, extra);
    for (uint32_t other = 0; other < rowCount(); ++other) {
        uint8_t* entry = page_ + countOffset() + 2 + 2 * other;
        const uint32_t at = le16(entry) & 0x1FFF;
        if (at != 0 && at <= start) {
            putLe16(entry, (le16(entry) & 0xE000) | (at - extra));
        }
    }
    putLe16(page_ + 2, freeSpace());
    return Status::ok();
}

Status DataPageEditor::markDeleted(uint32_t row) {
    if (row >= rowCount()) {
        return {ErrorCode::Corrupt, "row " + std::to_string(row) + " is not on its page"};
    }
    uint8_t* entry = page_ + countOffset() + 2 + 2 * row;
    putLe16(entry, le16(entry) | kDeletedFlags);
    return Status::ok();
}

}  // namespace jet::write
