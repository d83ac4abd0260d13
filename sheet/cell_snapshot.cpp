#include "sheet/cell_snapshot.h"

#include <algorithm>

#include "sheet/cell_store.h"

namespace sheet {

void CellSnapshot::clear() {
    *this = CellSnapshot();
}

std::size_t CellSnapshot::bytes() const {
    return sizeof(*this) + rows_.capacity() * sizeof(int) + texts_.capacity() +
           ends_.capacity() * sizeof(uint32_t) + values_.capacity() * sizeof(values_[0]) +
           props_.capacity() * sizeof(props_[0]) + payloads_.capacity() * sizeof(payloads_[0]);
}

bool CellSnapshot::capture(const CellStore& store, std::vector<int> rows, int col1, int col2,
                           std::size_t budget) {
    clear();
    col1 = std::max(col1, 0);
    col2 = std::min(col2, store.cols() - 1);
    // A first pass sizes the copy, so a change too big for the budget is
    // refused before anything is copied and the buffers are allocated once.
    std::size_t textBytes = 0, typedCells = 0;
    for (const int row : rows) {
        for (int col = col1; col <= col2; ++col) {
            textBytes += store.text(row, col).size();
            double value = 0;
            typedCells += store.value(row, col, &value) ? 1 : 0;
        }
    }
    const std::size_t cells = rows.size() * static_cast<std::size_t>(std::max(0, col2 - col1 + 1));
    const std::size_t needed = textBytes + cells * sizeof(uint32_t) + rows.size() * sizeof(int) +
                               typedCells * sizeof(values_[0]);
    if (needed > budget || textBytes >= UINT32_MAX || cells >= UINT32_MAX) {
        return false;
    }
    rows_ = std::move(rows);
    col1_ = col1;
    col2_ = col2;
    texts_.reserve(textBytes);
    ends_.reserve(cells);
    values_.reserve(typedCells);
    uint32_t cell = 0;
    for (const int row : rows_) {
        for (int col = col1_; col <= col2_; ++col, ++cell) {
            texts_.append(store.text(row, col));
            ends_.push_back(static_cast<uint32_t>(texts_.size()));
            double value = 0;
            if (store.value(row, col, &value)) {
                values_.emplace_back(cell, value);
            }
            const CellProps props = store.props(row, col);
            if (!props.isDefault()) {
                props_.emplace_back(cell, props);
            }
            if (const auto& payload = store.payload(row, col)) {
                payloads_.emplace_back(cell, payload);
            }
        }
    }
    if (bytes() > budget) {
        clear();  // formats made it bigger than its texts
        return false;
    }
    return true;
}

void CellSnapshot::restore(CellStore& store) const {
    const int width = std::max(0, col2_ - col1_ + 1);
    auto value = values_.begin();
    auto props = props_.begin();
    auto payload = payloads_.begin();
    uint32_t cell = 0, start = 0;
    for (const int row : rows_) {
        for (int col = col1_; col < col1_ + width; ++col, ++cell) {
            const uint32_t end = ends_[cell];
            const std::string_view text = std::string_view(texts_).substr(start, end - start);
            start = end;
            store.setText(row, col, text);
            if (payload != payloads_.end() && payload->first == cell) {
                store.setPayload(row, col, payload->second);
                ++payload;
            } else {
                store.setPayload(row, col, nullptr);
            }
            if (value != values_.end() && value->first == cell) {
                store.setValue(row, col, value->second);
                ++value;
            }
            CellProps saved;
            if (props != props_.end() && props->first == cell) {
                saved = props->second;
                ++props;
            }
            if (store.contains(row, col) && store.props(row, col) != saved) {
                store.editProps(row, col, [&saved](CellProps& p) { p = saved; });
            }
        }
    }
}

}  // namespace sheet
