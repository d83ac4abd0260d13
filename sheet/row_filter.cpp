#include "sheet/row_filter.h"

#include <numeric>

#include "sheet/cell_store.h"

namespace sheet {

void RowFilter::setCondition(int col, const QString& typed) {
    FilterCondition condition(typed);
    if (!condition.isActive() || col < 0) {
        conditions_.erase(col);
        return;
    }
    conditions_.insert_or_assign(col, Entry{typed, std::move(condition)});
}

QString RowFilter::conditionText(int col) const {
    const auto found = conditions_.find(col);
    return found == conditions_.end() ? QString() : found->second.typed;
}

void RowFilter::clear() {
    conditions_.clear();
}

std::vector<int> RowFilter::shownRows(const CellStore& store, int firstRow) const {
    std::vector<int> rows;
    if (firstRow >= store.rows())
        return rows;
    rows.resize(static_cast<std::size_t>(store.rows() - firstRow));
    std::iota(rows.begin(), rows.end(), firstRow);
    for (const auto& [col, entry] : conditions_) {
        if (col >= store.cols())
            continue;  // the column is gone; its condition no longer applies
        std::erase_if(rows, [&, col = col, &entry = entry](int row) {
            double value = 0;
            const bool typed = store.value(row, col, &value);
            return !entry.condition.passes(store.text(row, col), typed ? &value : nullptr);
        });
    }
    return rows;
}

}  // namespace sheet
