#include "db/sheet_binding.h"

#include <QString>

#include <string>
#include <vector>

#include "db/load_progress.h"
#include "db/var_type.h"
#include "sheet/cell_input.h"
#include "sheet/grid.h"

namespace db {

namespace {

// The number a cell keeps beside its text so that sorting compares values.
bool numericValue(const jet::Value& v, double* out) {
    using T = jet::ValueType;
    switch (v.type()) {
        case T::Boolean:
            *out = v.i() ? -1.0 : 0.0;
            return true;
        case T::Byte:
        case T::Integer:
        case T::Long:
        case T::BigInt:
            *out = double(v.i());
            return true;
        case T::Currency:
            *out = double(v.i()) / 10000.0;
            return true;
        case T::Single:
        case T::Double:
        case T::DateTime:
            *out = v.d();
            return true;
        case T::Decimal:
            *out = v.dec().toDouble();
            return true;
        default:
            return false;
    }
}

// One row's cells; texts of plain text values point into the record set's
// row, the others into `scratch`, which keeps its buffers between rows.
void makeCells(const jet::Recordset& records, std::vector<std::string>& scratch,
               std::vector<sheet::CellInput>& cells) {
    const std::vector<jet::Value>& row = records.row();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const jet::Value& v = row[i];
        sheet::CellInput& cell = cells[i];
        cell.hasValue = numericValue(v, &cell.value);
        if (v.isNull()) {
            cell.text = {};
        } else if (v.type() == jet::ValueType::Text) {
            cell.text = v.data();
        } else {
            scratch[i] = jet::displayText(v);
            cell.text = scratch[i];
        }
    }
}

}  // namespace

RecordsetSink::Outcome SheetBinding::load(jet::Recordset& records, uint64_t expectedRows) {
    // The first row is read before the sheet is touched, so that a statement
    // failing at once leaves the sheet as it was.
    const bool first = records.next();
    if (!first && !records.status().isOk()) {
        return {records.status(), false};
    }
    const auto& fields = records.fields();
    std::vector<QString> titles;
    titles.reserve(fields.size());
    for (const jet::RecordsetField& f : fields) {
        titles.push_back(QString::fromStdString(f.name));
    }
    std::vector<std::string> scratch(fields.size());
    std::vector<sheet::CellInput> cells(fields.size());
    if (progress_) {
        progress_->started(expectedRows);
    }
    grid_.beginFill(titles, std::size_t(expectedRows));
    uint64_t count = 0;
    for (bool more = first; more; more = records.next()) {
        makeCells(records, scratch, cells);
        grid_.appendRow(cells);
        if (++count % kProgressStep == 0 && progress_) {
            progress_->advanced(count);
        }
    }
    grid_.endFill();
    setColumnTypes(records);
    if (progress_) {
        progress_->finished();
    }
    return {records.status(), true};
}

void SheetBinding::setColumnTypes(const jet::Recordset& records) {
    const auto& fields = records.fields();
    for (std::size_t i = 0; i < fields.size() && int(i) < grid_.cols(); ++i) {
        grid_.setColDataType(int(i), VarType::of(fields[i].type));
    }
}

}  // namespace db
