#include "db/sheet_binding.h"

#include <QString>

#include <string>
#include <vector>

#include "db/cell_chunk_reader.h"
#include "db/load_progress.h"
#include "db/var_type.h"
#include "sheet/column_fit.h"
#include "sheet/grid.h"

namespace db {

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
    if (progress_) {
        progress_->started(expectedRows);
    }
    grid_.beginFill(titles, std::size_t(expectedRows));
    uint64_t count = 0;
    jet::Status status;
    if (first) {
        // Rows are decoded on a worker while this thread fills the sheet.
        CellChunkReader reader(records);
        const std::size_t columns = fields.size();
        while (const CellChunk* chunk = reader.next()) {
            for (std::size_t r = 0; r < chunk->rows; ++r) {
                grid_.appendRow(std::span(chunk->cells).subspan(r * columns, columns));
                if (++count % kProgressStep == 0 && progress_) {
                    progress_->advanced(count);
                }
            }
        }
        status = reader.status();
    }
    grid_.endFill();
    setColumnTypes(records);
    sheet::ColumnFit::fitAllColumns(grid_);
    if (progress_) {
        progress_->finished();
    }
    return {first ? status : records.status(), true};
}

void SheetBinding::setColumnTypes(const jet::Recordset& records) {
    const auto& fields = records.fields();
    for (std::size_t i = 0; i < fields.size() && int(i) < grid_.cols(); ++i) {
        grid_.setColDataType(int(i), VarType::of(fields[i].type));
    }
}

}  // namespace db
