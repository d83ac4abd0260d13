// Streams the rows of one local table in stored order (page, then slot),
// decoding each value only when asked. Made for tight loops: an SQLite
// virtual table, an export, a sheet load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "jet/complex_value.h"
#include "jet/status.h"
#include "jet/table_def.h"
#include "jet/value.h"

namespace jet {

// A cursor reads its database's file; it must not outlive the Database that
// opened it. One thread at a time per database and its cursors, except that
// a cursor's twins (twin()) may be read beside it on other threads.
class TableCursor {
  public:
    virtual ~TableCursor() = default;

    virtual const TableDef& table() const = 0;
    size_t columnCount() const { return table().columns.size(); }

    // Moves to the next live row (deleted rows skipped, moved rows followed).
    // Returns false at the end or on failure; then status() tells which.
    virtual bool next() = 0;
    // Back before the first row; clears a failure.
    virtual void rewind() = 0;
    // Ok, or the first failure (names table and page) of next() or get().
    virtual const Status& status() const = 0;

    // The value of column `index` (descriptor order, as table().columns) of
    // the current row. Precondition: next() returned true. No allocation in
    // the common case; the view is valid until the cursor moves. On a decode
    // failure it returns Null, sets status() and the next next() returns false.
    virtual ValueRef get(size_t index) = 0;
    Value value(size_t index) { return get(index).toValue(); }
    // For an ACE complex column (attachments, multi-value, version history):
    // the current row's values, or null when it has none or the column is
    // not complex. A failure to read them sets status() as get() does. The
    // cell stays valid while the Database is open and not reloaded.
    virtual const ComplexCell* complexCell(size_t) { return nullptr; }
    bool isNull(size_t index) { return get(index).isNull(); }

    // Where the current row is stored: page << 8 | slot. Unique in the table.
    virtual uint64_t rowId() const = 0;
    // A cheap guess of the number of rows (the definition's count, which can
    // be stale); for planning, never for display.
    virtual uint64_t estimatedRowCount() const = 0;

    // Reading one table on several threads, each over its own share of the
    // table's data pages; the shares' rows, put together in page order, are
    // the rows in stored order. pageCount(): the pages to share, 0 when this
    // cursor cannot be shared (it reads complex columns or salvages).
    virtual size_t pageCount() const { return 0; }
    // Another cursor over the same table, its own reader of the file.
    virtual std::unique_ptr<TableCursor> twin() const { return nullptr; }
    // Back before the first row of pages [first, end); next() ends after
    // the last row of page end - 1. rewind() reads every page again.
    virtual void readPages(size_t /*first*/, size_t /*end*/) {}
};

}  // namespace jet
