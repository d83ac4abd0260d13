#include "sql/table_recordset.h"

#include "sql/statement_runner.h"

namespace jet::sql {

namespace {

// Errors read the way the SQL road reports a failing table scan; damage to
// the file stays Corrupt, so a caller can offer to read past it.
Status scanError(const Status& cause) {
    const ErrorCode code =
        cause.code() == ErrorCode::Corrupt ? ErrorCode::Corrupt : ErrorCode::Semantic;
    return Status(code, cause.message());
}

}  // namespace

TableRecordset::TableRecordset(Result<std::unique_ptr<TableCursor>> cursor,
                               std::vector<OutputColumn> columns,
                               std::vector<RecordsetField> fields, const Database* holder)
    : columns_(std::move(columns)), fields_(std::move(fields)), holder_(holder) {
    if (cursor)
        cursor_ = std::move(cursor.value());
    else
        status_ = scanError(cursor.status());
}

bool TableRecordset::next() {
    if (!advance())
        return false;
    row_.resize(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const ValueRef value = cell(i);
        if (!status_)
            return false;
        // A text refills the row's own buffer rather than a fresh Value's.
        if (value.type == ValueType::Text)
            row_[i].setText(value.data);
        else
            row_[i] = value.toValue();
    }
    return true;
}

bool TableRecordset::advance() {
    if (!status_ || !cursor_)
        return false;
    if (!cursor_->next()) {
        if (!cursor_->status().isOk())
            status_ = scanError(cursor_->status());
        return false;
    }
    return true;
}

ValueRef TableRecordset::cell(std::size_t field) {
    if (!status_ || !cursor_ || field >= columns_.size())
        return {};
    const ValueRef value = cursor_->get(field);
    // A value that fails to read comes as Null: only then can the cursor
    // have failed.
    if (value.isNull() && !cursor_->status().isOk()) {
        status_ = scanError(cursor_->status());
        return {};
    }
    // A stored text is text whatever the column's type.
    if (value.type == ValueType::Text)
        return value;
    return refFromTable(value, columns_[field].type, scratch_);
}

const ComplexCell* TableRecordset::complexCell(std::size_t field) {
    if (!cursor_ || !status_ || field >= columns_.size())
        return nullptr;
    return cursor_->complexCell(field);
}

std::size_t TableRecordset::pageCount() const {
    return cursor_ && status_ ? cursor_->pageCount() : 0;
}

std::unique_ptr<Recordset> TableRecordset::twin() const {
    std::unique_ptr<TableCursor> cursor = pageCount() > 0 ? cursor_->twin() : nullptr;
    if (!cursor)
        return nullptr;
    return std::make_unique<TableRecordset>(std::move(cursor), columns_, fields_, holder_);
}

void TableRecordset::readPages(std::size_t first, std::size_t end) {
    if (cursor_ && status_)
        cursor_->readPages(first, end);
}

}  // namespace jet::sql
