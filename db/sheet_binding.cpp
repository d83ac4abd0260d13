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
    jet::Status status = first ? fill(records, fields.size()) : records.status();
    grid_.endFill();
    setColumnTypes(records);
    sheet::ColumnFit::fitAllColumns(grid_);
    const bool stopped = progress_ && progress_->stopRequested();
    if (progress_) {
        progress_->finished();
    }
    return {stopped ? jet::Status::ok() : status, true, stopped};
}

jet::Status SheetBinding::fill(jet::Recordset& records, std::size_t columns) {
    // Rows are decoded on a worker while this thread fills the sheet; leaving
    // early (stopped) ends the worker with the reader.
    CellChunkReader reader(records, CellPayloads(database_, records.complexDatabase()));
    uint64_t count = 0;
    while (const CellChunk* chunk = reader.next()) {
        for (std::size_t r = 0; r < chunk->rows; ++r) {
            grid_.appendRow(std::span(chunk->cells).subspan(r * columns, columns));
            if (++count % kProgressStep == 0 && progress_) {
                progress_->advanced(count);
                if (progress_->stopRequested()) {
                    return jet::Status::ok();
                }
            }
        }
    }
    return reader.status();
}

void SheetBinding::setColumnTypes(const jet::Recordset& records) {
    const auto& fields = records.fields();
    for (std::size_t i = 0; i < fields.size() && int(i) < grid_.cols(); ++i) {
        grid_.setColDataType(int(i), VarType::of(fields[i].type));
    }
}

}  // namespace db
