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
    // `holder`: the database whose file the cursor reads (a linked table's
    // back-end), which holds the data of its attachments.
    TableRecordset(Result<std::unique_ptr<TableCursor>> cursor, std::vector<OutputColumn> columns,
                   std::vector<RecordsetField> fields, const Database* holder = nullptr);

    const std::vector<RecordsetField>& fields() const override { return fields_; }
    bool next() override;
    // Moves the cursor only; cell() reads each value from it.
    bool advance() override;
    ValueRef cell(std::size_t field) override;
    const std::vector<Value>& row() const override { return row_; }
    const Status& status() const override { return status_; }
    const ComplexCell* complexCell(std::size_t field) override;
    const Database* complexDatabase() const override { return holder_; }
    std::size_t pageCount() const override;
    std::unique_ptr<Recordset> twin() const override;
    void readPages(std::size_t first, std::size_t end) override;

  private:
    std::unique_ptr<TableCursor> cursor_;
    std::vector<OutputColumn> columns_;
    std::vector<RecordsetField> fields_;
    std::vector<Value> row_;
    std::string scratch_;  // a text cell() made (a GUID's form)
    Status status_;
    const Database* holder_ = nullptr;
};

}  // namespace jet::sql
