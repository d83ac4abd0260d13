// Adds rows to and deletes rows from one data page (table rows and long
// values): the row offset table, the row count and the free-space field.
#pragma once

#include <cstdint>
#include <span>

#include "jet/status.h"

namespace jet::write {

class DataPageEditor {
  public:
    static constexpr uint32_t kMaxRows = 255;
    static constexpr uint16_t kDeletedFlags = 0xC000;

    DataPageEditor(uint8_t* page, uint32_t pageSize, bool jet3)
        : page_(page), pageSize_(pageSize), jet3_(jet3) {}

    // Turns the page into an empty data page owned by `owner` (a TDEF page
    // number, or the bytes "LVAL" for long values).
    void initialize(uint32_t owner);

    uint32_t owner() const;
    uint32_t rowCount() const;
    // Bytes between the offset table and the lowest row.
    uint32_t freeSpace() const;
    bool fits(uint32_t rowSize) const;
    // Appends a row in a new slot; returns its row number. Unsupported when
    // the page has no room (callers test fits() first).
    Result<uint32_t> addRow(std::span<const uint8_t> row);
    // Flags slot `row` deleted (both top bits, as Access does).
    Status markDeleted(uint32_t row);
    // Lengthens slot `row` by `extra` zero bytes at its end, moving it and
    // the rows stored below it down the page. Unsupported without room.
    Status growRow(uint32_t row, uint32_t extra);
    // The slot entry (offset and flags) of `row`.
    uint16_t slot(uint32_t row) const;

  private:
    uint32_t countOffset() const { return jet3_ ? 8 : 12; }
    uint32_t lowestRowStart() const;

    uint8_t* page_;
    uint32_t pageSize_;
    bool jet3_;
};

}  // namespace jet::write
