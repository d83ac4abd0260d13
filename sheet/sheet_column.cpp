#include "sheet/sheet_column.h"

#include <algorithm>

namespace sheet {

namespace {
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t kMinMapLimit = 4096;
}  // namespace

void SheetColumn::setValue(uint32_t row, double value) {
    if (row == values.size()) {
        values.push_back(value);  // a fill, row after row
        return;
    }
    if (row > values.size()) {
        values.resize(std::size_t{row} + 1, kNoValue);
    }
    values[row] = value;
}

void SheetColumn::dropValue(uint32_t row) {
    if (row < values.size()) {
        values[row] = kNoValue;
    }
}

const std::shared_ptr<const CellPayload>& SheetColumn::payload(uint32_t row) const {
    static const std::shared_ptr<const CellPayload> kNone;
    if (payloads_.empty()) {
        return kNone;
    }
    const auto found = payloads_.find(row);
    return found == payloads_.end() ? kNone : found->second;
}

void SheetColumn::setPayload(uint32_t row, std::shared_ptr<const CellPayload> payload) {
    if (payload) {
        payloads_[row] = std::move(payload);
    } else {
        dropPayload(row);
    }
}

uint32_t SheetColumn::styleId(uint32_t row) const {
    if (!denseStyles_.empty()) {
        return row < denseStyles_.size() ? denseStyles_[row] : 0;
    }
    if (sparseStyles_.empty()) {
        return 0;
    }
    const auto found = sparseStyles_.find(row);
    return found == sparseStyles_.end() ? 0 : found->second;
}

void SheetColumn::setStyleId(uint32_t row, uint32_t id, std::size_t physicalRows) {
    if (!denseStyles_.empty()) {
        if (row >= denseStyles_.size()) {
            if (id == 0) {
                return;
            }
            denseStyles_.resize(std::max<std::size_t>(physicalRows, std::size_t{row} + 1), 0);
        }
        denseStyles_[row] = id;
        return;
    }
    if (id == 0) {
        sparseStyles_.erase(row);
        return;
    }
    sparseStyles_[row] = id;
    // A map entry costs about ten times an array slot: switch once it is fuller.
    if (sparseStyles_.size() > std::max(kMinMapLimit, physicalRows / 10)) {
        denseStyles_.assign(std::max<std::size_t>(physicalRows, std::size_t{row} + 1), 0);
        for (const auto& [r, styled] : sparseStyles_) {
            if (r >= denseStyles_.size()) {
                denseStyles_.resize(std::size_t{r} + 1, 0);
            }
            denseStyles_[r] = styled;
        }
        sparseStyles_ = {};
    }
}

void SheetColumn::setBarPercent(uint32_t row, double percent, std::size_t physicalRows) {
    if (row >= bars_.size()) {
        if (percent == 0) {
            return;
        }
        bars_.resize(std::max<std::size_t>(physicalRows, std::size_t{row} + 1), 0.0);
    }
    bars_[row] = percent;
}

void SheetColumn::clearCells() {
    texts.clear();
    values = {};
    payloads_ = {};
    sparseStyles_ = {};
    denseStyles_ = {};
    bars_ = {};
}

void SheetColumn::rebuild(std::span<const uint32_t> order) {
    texts.rebuild(order);
    if (!values.empty()) {
        BulkVector<double> moved(order.size(), kNoValue);
        for (std::size_t i = 0; i < order.size(); ++i) {
            moved[i] = hasValue(order[i]) ? values[order[i]] : kNoValue;
        }
        values = std::move(moved);
    }
    if (!bars_.empty()) {
        BulkVector<double> moved(order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            moved[i] = barPercent(order[i]);
        }
        bars_ = std::move(moved);
    }
    if (!payloads_.empty()) {
        std::unordered_map<uint32_t, std::shared_ptr<const CellPayload>> moved;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (const auto found = payloads_.find(order[i]); found != payloads_.end()) {
                moved.emplace(uint32_t(i), found->second);
            }
        }
        payloads_ = std::move(moved);
    }
    if (sparseStyles_.empty() && denseStyles_.empty()) {
        return;
    }
    std::vector<uint32_t> ids(order.size(), 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        ids[i] = styleId(order[i]);
    }
    sparseStyles_ = {};
    denseStyles_ = {};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] != 0) {
            setStyleId(uint32_t(i), ids[i], ids.size());
        }
    }
}

}  // namespace sheet
