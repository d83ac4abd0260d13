// Grid: bulk fills, the path database results and files take into the sheet.
#include "sheet/grid.h"
#include "sheet/grid_model.h"

#include <vector>

namespace sheet {

void Grid::beginFill(std::span<const QString> titles, std::size_t expectedRows) {
    // One more row for the titles.
    model_->beginFill(int(titles.size()), expectedRows == 0 ? 0 : expectedRows + 1);
    std::vector<QByteArray> bytes;
    std::vector<std::string_view> views;
    bytes.reserve(titles.size());
    for (const QString& title : titles) {
        bytes.push_back(title.toUtf8());
        views.emplace_back(bytes.back().constData(), std::size_t(bytes.back().size()));
    }
    model_->appendTextRow(views);
}

void Grid::appendRow(std::span<const CellInput> cells) {
    model_->appendRow(cells);
}

void Grid::endFill() {
    model_->endFill();
    sortedCol_ = -1;
}

void Grid::adoptFill(CellStore&& store) {
    model_->adoptStore(std::move(store));
    sortedCol_ = -1;
}

}  // namespace sheet
