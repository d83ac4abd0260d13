// The TableCursor over a local table: walks the data pages of the table's
// usage map in page and slot order and decodes values on demand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "complex/complex_store.h"
#include "database_file.h"
#include "jet/damage_report.h"
#include "jet/table_cursor.h"
#include "long_value_reader.h"
#include "row_view.h"

namespace jet {

class TableScanner final : public TableCursor {
  public:
    // `complex` resolves complex columns; without it they read as their key.
    // With a `salvage` report, pages and rows that cannot be read are
    // skipped and recorded there; without one they are the cursor's error.
    TableScanner(const DatabaseFile& file, TableDef table, ComplexStore* complex = nullptr,
                 DamageReport* salvage = nullptr);
    // Finds the table's data pages. Corrupt, naming the table and the pages,
    // when its page list cannot be read or lists pages past the end of the
    // file; a salvaging scan then tests every page of the file instead.
    Status init();

    const TableDef& table() const override { return table_; }
    bool next() override;
    void rewind() override;
    const Status& status() const override { return status_; }
    ValueRef get(size_t index) override;
    uint64_t rowId() const override { return rowId_; }
    uint64_t estimatedRowCount() const override { return table_.storedRowCount; }
    size_t pageCount() const override;
    std::unique_ptr<TableCursor> twin() const override;
    void readPages(size_t first, size_t end) override;
    const ComplexCell* complexCell(size_t index) override;
    // The bytes column `index` occupies in the current row, undecoded (a long
    // value's reference, say); empty when the value is Null.
    std::string_view storedField(size_t index);

  private:
    bool loadNextPage();
    // Points page_ at page `number`, reading it with the pages the scan
    // takes next when it is not in the current run.
    Status fetchPage(uint32_t number);
    // Makes slot `slot` of the current page the current row, following an
    // overflow pointer. False (with status_ unset) when the slot has no row.
    bool enterRow(uint32_t slot);
    bool followOverflow(const uint8_t* pointerBytes, uint32_t size);
    bool fail(const std::string& what);
    // A listed page that is not one of the table's data pages.
    bool skipPage(const std::string& why);
    // A row that fails a check: the error, or skipped when salvaging.
    bool skipRow(const std::string& why);
    // Salvaging: every column of the current row lies inside it.
    bool rowIsSound();
    // The bytes of `column` in the current row; false when they do not lie
    // inside it (unlocatable() says why).
    bool locate(const Column& column, size_t index, const uint8_t*& bytes, uint32_t& size) const;
    static std::string unlocatable(const Column& column);
    bool valueBytes(const Column& column, size_t index, const uint8_t*& bytes, uint32_t& size);
    // get() of the kinds not read plainly.
    ValueRef getGeneral(const Column& column, size_t index);
    ValueRef getCalculated(const Column& column, size_t index);
    ValueRef decode(const Column& column, size_t index, const uint8_t* bytes, uint32_t size);
    ValueRef decodeText(const Column& column, size_t index, const uint8_t* bytes, uint32_t size);
    ValueRef decodeLong(const Column& column, size_t index, const uint8_t* bytes, uint32_t size);
    ValueRef decodeNumber(const Column& column, const uint8_t* bytes, uint32_t size);

    ValueRef decodeComplex(const Column& column, const uint8_t* bytes, uint32_t size);

    const DatabaseFile& file_;
    TableDef table_;
    ComplexStore* complex_ = nullptr;
    DamageReport* salvage_ = nullptr;
    bool hasVariable_ = false;
    bool scanAllPages_ = false;
    std::vector<uint32_t> pages_;
    size_t nextPage_ = 0;
    size_t endPage_ = SIZE_MAX;  // readPages: the first listed page not read
    uint32_t pageNumber_ = 0;
    uint32_t rowPage_ = 0;
    bool pageLoaded_ = false;
    uint32_t slot_ = 0;
    uint32_t rowSlot_ = 0;
    uint32_t slotCount_ = 0;
    // Data pages are read in runs of consecutive pages (one system call for
    // many); page_ points at the current one inside the run.
    std::vector<uint8_t> run_;
    uint32_t runFirst_ = 0;
    uint32_t runCount_ = 0;
    const uint8_t* page_ = nullptr;
    std::vector<uint8_t> overflow_;
    RowView row_;
    bool onRow_ = false;
    uint64_t rowId_ = 0;
    std::vector<uint32_t> typeSizes_;  // per column: bytes of its fixed-size type, 0 if variable
    // The columns get() reads without the general path's questions: Yes/No,
    // fixed-size numbers and plain text, decided once per column.
    enum class Plain : uint8_t { No, Boolean, Number, Text };
    std::vector<Plain> plain_;
    std::vector<std::string> scratch_;
    std::string raw_;
    LongValueReader longValues_;
    Status status_;
};

}  // namespace jet
