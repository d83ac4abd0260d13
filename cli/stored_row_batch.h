// A run of rows in the form SQLite stores them, copied out of a table cursor
// to be handed from the thread that reads a table to the one that stores it.
// Each value is a kind byte and eight bytes (an integer, a double, or where
// its text or bytes lie in the batch's own buffer); dates, currency, GUIDs
// and decimals are written as their text straight into that buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "jet/table_cursor.h"
#include "jet/value.h"

namespace cli {

class StoredRowBatch {
  public:
    enum class Kind : uint8_t { Null, Integer, Real, Text, Blob };

    explicit StoredRowBatch(size_t columns);

    // Empties the batch, keeping its memory for the next rows.
    void clear();
    // Appends one value of the row being copied, in the form SQLite stores:
    // Boolean and whole numbers as integers; Single as the double of its
    // shortest decimal, so 0.1 reads back as 0.1, not 0.100000001; dates as
    // "YYYY-MM-DD HH:MM:SS" (SQLite's own form), currency, GUIDs and decimals
    // as their exact text; OLE objects and values of unknown types as bytes.
    // Throws std::bad_alloc when memory runs out or the batch's bytes would
    // pass 4 GiB.
    void append(const jet::ValueRef& v);
    // Appends columns `columns` of the cursor's current row, in that order
    // (as append() each); a value that fails to decode is appended as Null
    // and the cursor's status says so.
    void appendValues(jet::TableCursor& cursor, const std::vector<size_t>& columns);
    // The row being copied is complete.
    void endRow() { ++rows_; }
    // Forgets the values appended since the last complete row.
    void dropPartialRow();
    // Whether the batch holds enough rows or bytes to be handed on.
    bool full() const;

    // One row's values, by column (in the order appended); valid until
    // clear(). integer(), real() and bytes() read a value of their kind.
    class Row {
      public:
        Kind kind(size_t column) const { return kinds_[column]; }
        int64_t integer(size_t column) const { return static_cast<int64_t>(payloads_[column]); }
        double real(size_t column) const {
            double d;
            std::memcpy(&d, &payloads_[column], sizeof d);
            return d;
        }
        std::string_view bytes(size_t column) const {
            const uint64_t at = payloads_[column];
            return std::string_view(bytes_ + (at >> 32), static_cast<uint32_t>(at));
        }

      private:
        friend class StoredRowBatch;
        const Kind* kinds_ = nullptr;
        const uint64_t* payloads_ = nullptr;
        const char* bytes_ = nullptr;
    };

    size_t rows() const { return rows_; }
    Row row(size_t row) const {
        Row r;
        r.kinds_ = kinds_.data() + row * columns_;
        r.payloads_ = payloads_.data() + row * columns_;
        r.bytes_ = bytes_.data();
        return r;
    }

  private:
    // Room for one more value; the next value's slot.
    size_t nextSlot() {
        if (values_ == kinds_.size())
            growValues();
        return values_++;
    }
    // Room for `size` more bytes at the end of the buffer.
    char* roomFor(size_t size) {
        if (size > bytes_.size() - used_)
            growBytes(size);
        return bytes_.data() + used_;
    }
    void growValues();
    void growBytes(size_t size);
    void putInteger(int64_t i);
    void putReal(double d);
    // The `size` bytes last written at the buffer's end are a value.
    void putBytes(Kind kind, size_t size);
    // A copy of `bytes` as the next value.
    void putCopy(Kind kind, std::string_view bytes);

    size_t columns_;
    size_t rows_ = 0;
    size_t values_ = 0;
    std::vector<Kind> kinds_;
    std::vector<uint64_t> payloads_;  // the kind's integer, double bits, or offset << 32 | size
    std::string bytes_;               // in use: the first used_ bytes
    size_t used_ = 0;
};

}  // namespace cli
