#include "sheet/cell_store.h"

#include "sheet/row_sorter.h"

#include <algorithm>
#include <numeric>

namespace sheet {

CellStore::CellStore() = default;

void CellStore::setRows(int count) {
    count = std::clamp(count, 0, kMaxRows);
    if (count <= rows()) {
        order_.resize(count);
        compactIfSparse();
        return;
    }
    order_.reserve(count);
    while (rows() < count) {
        order_.push_back(physicalRows_++);
    }
}

void CellStore::setCols(int count) {
    count = std::clamp(count, 0, kMaxCols);
    columns_.resize(count);
    for (auto& column : columns_) {
        if (!column) {
            column = std::make_unique<SheetColumn>();
        }
    }
}

std::string_view CellStore::text(int row, int col) const {
    if (!contains(row, col)) {
        return {};
    }
    return columns_[col]->texts.get(physical(row));
}

void CellStore::setText(int row, int col, std::string_view text) {
    if (!contains(row, col)) {
        return;
    }
    SheetColumn& column = *columns_[col];
    const uint32_t id = physical(row);
    if (column.payload(id)) {
        // An edit that leaves a binary cell's text as it was keeps its bytes.
        if (column.texts.get(id) == text) {
            return;
        }
        column.dropPayload(id);
    }
    column.texts.set(id, text);
    column.dropValue(id);
}

const std::shared_ptr<const CellPayload>& CellStore::payload(int row, int col) const {
    static const std::shared_ptr<const CellPayload> kNone;
    return contains(row, col) ? columns_[col]->payload(physical(row)) : kNone;
}

void CellStore::setPayload(int row, int col, std::shared_ptr<const CellPayload> payload) {
    if (contains(row, col)) {
        columns_[col]->setPayload(physical(row), std::move(payload));
    }
}

void CellStore::setValue(int row, int col, double value) {
    if (contains(row, col)) {
        columns_[col]->setValue(physical(row), value);
    }
}

bool CellStore::value(int row, int col, double* value) const {
    if (!contains(row, col) || !columns_[col]->hasValue(physical(row))) {
        return false;
    }
    *value = columns_[col]->values[physical(row)];
    return true;
}

CellProps CellStore::props(int row, int col) const {
    if (!contains(row, col)) {
        return {};
    }
    const SheetColumn& column = *columns_[col];
    const uint32_t id = physical(row);
    CellProps props = styles_.get(column.styleId(id));
    props.barPercent = column.barPercent(id);
    return props;
}

std::tuple<int, int, int, int> CellStore::clip(int row1, int col1, int row2, int col2) const {
    if (row1 > row2) {
        std::swap(row1, row2);
    }
    if (col1 > col2) {
        std::swap(col1, col2);
    }
    return {std::max(row1, 0), std::max(col1, 0), std::min(row2, rows() - 1),
            std::min(col2, cols() - 1)};
}

template <typename Edit>
void CellStore::editCells(SheetColumn& column, int row1, int row2, const Edit& edit) {
    // Neighbouring cells mostly come out alike: intern a style only when it
    // differs from the one before. The bar percent goes to the column.
    CellProps last;
    uint32_t lastId = 0;
    for (int row = row1; row <= row2; ++row) {
        const uint32_t id = physical(row);
        CellProps cell = styles_.get(column.styleId(id));
        cell.barPercent = column.barPercent(id);
        edit(row, cell);
        column.setBarPercent(id, cell.barPercent == 0 ? 0.0 : cell.barPercent, physicalRows_);
        cell.barPercent = 0;
        if (cell != last) {
            last = cell;
            lastId = styles_.intern(cell);
        }
        column.setStyleId(id, lastId, physicalRows_);
    }
}

void CellStore::editProps(int row1, int col1, int row2, int col2,
                          const std::function<void(CellProps&)>& edit) {
    std::tie(row1, col1, row2, col2) = clip(row1, col1, row2, col2);
    for (int col = col1; col <= col2; ++col) {
        editCells(*columns_[col], row1, row2, [&edit](int, CellProps& cell) { edit(cell); });
    }
}

void CellStore::editColumnProps(int col, int row1, int row2,
                                const std::function<void(int row, CellProps&)>& edit) {
    if (col < 0 || col >= cols()) {
        return;
    }
    editCells(*columns_[col], std::max(row1, 0), std::min(row2, rows() - 1), edit);
}

std::size_t CellStore::writtenSizeEstimate() const {
    std::size_t bytes = std::size_t(rows()) * std::size_t(cols());
    for (const auto& column : columns_) {
        bytes += column->texts.textBytes() + column->values.size() * sizeof(double);
    }
    return bytes;
}

void CellStore::moveColumn(int from, int to) {
    if (from < 0 || to < 0 || from >= cols() || to >= cols() || from == to) {
        return;
    }
    auto moving = std::move(columns_[from]);
    columns_.erase(columns_.begin() + from);
    columns_.insert(columns_.begin() + to, std::move(moving));
}

void CellStore::moveRow(int from, int to) {
    if (from < 0 || to < 0 || from >= rows() || to >= rows() || from == to) {
        return;
    }
    if (from < to) {
        std::rotate(order_.begin() + from, order_.begin() + from + 1, order_.begin() + to + 1);
    } else {
        std::rotate(order_.begin() + to, order_.begin() + from, order_.begin() + from + 1);
    }
}

void CellStore::removeRow(int row) {
    if (row < 0 || row >= rows()) {
        return;
    }
    order_.erase(order_.begin() + row);
    compactIfSparse();
}

void CellStore::insertRows(std::span<const int> ascending) {
    // Positions are clipped so that each lies inside the grown sheet.
    std::vector<std::size_t> at;
    for (const int position : ascending) {
        const std::size_t limit = order_.size() + at.size();
        if (limit >= std::size_t{kMaxRows}) {
            break;
        }
        const std::size_t clipped = std::min<std::size_t>(std::max(position, 0), limit);
        if (at.empty() || clipped > at.back()) {
            at.push_back(clipped);
        }
    }
    // One sweep from the back, so no row is moved twice.
    const std::size_t oldSize = order_.size();
    order_.resize(oldSize + at.size());
    std::size_t from = oldSize, next = at.size();
    for (std::size_t to = order_.size(); to-- > 0 && next > 0;) {
        if (at[next - 1] == to) {
            order_[to] = physicalRows_++;
            --next;
        } else {
            order_[to] = order_[--from];
        }
    }
}

void CellStore::removeRows(std::span<const int> ascending) {
    // One sweep over the order vector: erasing row by row would move the
    // rows below each removed one again and again.
    std::size_t next = 0, kept = 0;
    for (std::size_t row = 0; row < order_.size(); ++row) {
        if (next < ascending.size() && std::size_t(ascending[next]) == row) {
            ++next;
            continue;
        }
        order_[kept++] = order_[row];
    }
    order_.resize(kept);
    compactIfSparse();
}

void CellStore::setHidden(int first, const std::vector<bool>& hide) {
    hidden_.assign(physicalRows_, 0);
    bool any = false;
    for (std::size_t i = 0; i < hide.size(); ++i) {
        const int row = first + static_cast<int>(i);
        if (hide[i] && row >= 0 && row < rows()) {
            hidden_[physical(row)] = 1;
            any = true;
        }
    }
    if (!any) {
        hidden_ = {};
    }
}

void CellStore::clearCells() {
    for (auto& column : columns_) {
        column->clearCells();
    }
    styles_.clear();
}

void CellStore::sortRows(int col, int first, bool descending) {
    if (col < 0 || col >= cols() || first < 0 || first >= rows() - 1) {
        return;
    }
    const SheetColumn& column = *columns_[col];
    const auto compare = column.dataType == SheetColumn::kTextType ? RowSorter::Compare::AsText
                                                                   : RowSorter::Compare::Generic;
    RowSorter sorter(column.texts, column.values, compare);
    sorter.sort(std::span<uint32_t>(order_).subspan(first), descending);
}

void CellStore::beginFill(int cols, std::size_t expectedRows) {
    columns_.clear();
    order_ = {};
    hidden_ = {};
    physicalRows_ = 0;
    setCols(cols);
    // The guess comes from the file and may be stale or hostile: cap what it
    // reserves (a reference and a value per cell) to a fixed budget.
    constexpr std::size_t kReserveBudget = std::size_t{1} << 30;
    const std::size_t perRow = std::max<std::size_t>(1, columns_.size()) * 16;
    fillRows_ = std::min({expectedRows, std::size_t{kMaxRows}, kReserveBudget / perRow});
    order_.reserve(fillRows_);
    for (auto& column : columns_) {
        column->texts.reserve(fillRows_);
    }
}

void CellStore::appendRow(std::span<const CellInput> cells) {
    if (rows() >= kMaxRows) {
        return;
    }
    const uint32_t id = physicalRows_++;
    order_.push_back(id);
    const std::size_t count = std::min<std::size_t>(cells.size(), columns_.size());
    for (std::size_t c = 0; c < count; ++c) {
        columns_[c]->texts.append(id, cells[c].text);
        if (cells[c].hasValue) {
            SheetColumn& column = *columns_[c];
            if (column.values.capacity() < fillRows_) {
                column.values.reserve(fillRows_);  // only columns that hold numbers
            }
            column.setValue(id, cells[c].value);
        }
        if (cells[c].payload) {
            columns_[c]->setPayload(id, cells[c].payload);
        }
    }
}

void CellStore::appendTextRow(std::span<const std::string_view> texts) {
    if (rows() >= kMaxRows) {
        return;
    }
    const uint32_t id = physicalRows_++;
    order_.push_back(id);
    const std::size_t count = std::min<std::size_t>(texts.size(), columns_.size());
    for (std::size_t c = 0; c < count; ++c) {
        columns_[c]->texts.append(id, texts[c]);
    }
}

void CellStore::compactIfSparse() {
    // Removed rows leave their physical slots behind; rebuild once they
    // outnumber the live rows so memory follows the sheet's size.
    if (physicalRows_ < 4096 || physicalRows_ <= 2 * order_.size()) {
        return;
    }
    for (auto& column : columns_) {
        column->rebuild(order_);
    }
    if (!hidden_.empty()) {
        BulkVector<uint8_t> moved(order_.size(), 0);
        for (std::size_t i = 0; i < order_.size(); ++i) {
            moved[i] = order_[i] < hidden_.size() ? hidden_[order_[i]] : 0;
        }
        hidden_ = std::move(moved);
    }
    std::iota(order_.begin(), order_.end(), 0u);
    physicalRows_ = static_cast<uint32_t>(order_.size());
}

}  // namespace sheet
