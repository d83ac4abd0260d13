// The binding of the data sheet to the data control: a refresh replaces the sheet's
// contents with the record set in bulk: row 0 the field names, then one row
// per record in the record set's order, each column's data type set from its
// field (VarType codes), numbers and dates kept as values for sorting.
// A load the user stops keeps the rows read until then.
#pragma once

#include <memory>

#include "db/recordset_sink.h"

namespace sheet {
class Grid;
}

namespace db {

class Database;
class LoadProgress;

class SheetBinding : public RecordsetSink {
  public:
    // Rows between two progress reports.
    static constexpr uint64_t kProgressStep = 8192;

    explicit SheetBinding(sheet::Grid& grid, LoadProgress* progress = nullptr)
        : grid_(grid), progress_(progress) {}

    Outcome load(jet::Recordset& records, uint64_t expectedRows) override;
    // The database results come from: their attachment cells read their
    // files through it while it stays open.
    void setDatabase(std::weak_ptr<const Database> database) { database_ = std::move(database); }

  private:
    // Appends every row after the first to the sheet, until the rows end or
    // the user stops the load.
    jet::Status fill(jet::Recordset& records, std::size_t columns);
    void setColumnTypes(const jet::Recordset& records);

    sheet::Grid& grid_;
    LoadProgress* progress_;
    std::weak_ptr<const Database> database_;
};

}  // namespace db
