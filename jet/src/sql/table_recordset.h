// The rows of one local table read straight from its cursor, typed exactly
// as the same table read through SQL ("SELECT * FROM table"), without the
// cost of SQLite in between: opening a big table is the commonest request.
#pragma once

#include <memory>
#include <vector>

#include "jet/recordset.h"
#include "jet/table_cursor.h"
#include "sql/translator.h"

namespace jet::sql {

class TableRecordset : public Recordset {
  public:
    // `columns` and `fields`: those of the translated "SELECT * FROM table",
    // one per table column in the cursor's order. A failed open shows as the
    // status of the first next(), as a scan failing on its first row would.
    TableRecordset(Result<std::unique_ptr<TableCursor>> cursor, std::vector<OutputColumn> columns,
                   std::vector<RecordsetField> fields);

    const std::vector<RecordsetField>& fields() const override { return fields_; }
    bool next() override;
    const std::vector<Value>& row() const override { return row_; }
    const Status& status() const override { return status_; }

  private:
    std::unique_ptr<TableCursor> cursor_;
    std::vector<OutputColumn> columns_;
    std::vector<RecordsetField> fields_;
    std::vector<Value> row_;
    Status status_;
};

}  // namespace jet::sql
