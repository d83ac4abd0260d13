// GridModel: bulk fills.
#include "sheet/grid_model.h"

#include <algorithm>

namespace sheet {

void GridModel::beginFill(int cols, std::size_t expectedRows) {
    beginResetModel();
    filling_ = true;
    reuse_.reset();
    reuse_.emplace();
    store_.beginFill(std::clamp(cols, 0, CellStore::kMaxCols), expectedRows);
}

void GridModel::appendRow(std::span<const CellInput> cells) {
    store_.appendRow(cells);
}

void GridModel::appendTextRow(std::span<const std::string_view> texts) {
    store_.appendTextRow(texts);
}

void GridModel::endFill() {
    filling_ = false;
    view_.rebuild(store_, fixedRows_);
    reuse_.reset();
    endResetModel();
}

void GridModel::adoptStore(CellStore&& store) {
    beginResetModel();
    store_ = std::move(store);
    view_.rebuild(store_, fixedRows_);
    endResetModel();
}

}  // namespace sheet
