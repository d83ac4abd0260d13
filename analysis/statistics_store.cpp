#include "analysis/statistics_store.h"

#include <cstddef>

namespace analysis {

const ColumnStatistics* StatisticsStore::entry(int column) const {
    if (column < 0 || column >= size())
        return nullptr;
    return &entries_[static_cast<std::size_t>(column)];
}

ColumnStatistics& StatisticsStore::prepare(int column) {
    resize(column + 1);
    return entries_.back();
}

void StatisticsStore::resize(int count) {
    entries_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
}

void StatisticsStore::insertColumn(int column) {
    if (column >= 0 && column < size()) {
        entries_.insert(entries_.begin() + column, ColumnStatistics{});
    }
}

void StatisticsStore::removeColumn(int column) {
    if (column >= 0 && column < size()) {
        entries_.erase(entries_.begin() + column);
    }
}

}  // namespace analysis
