#include "row_batch.h"

namespace cli {
namespace {

// Small enough to stay in the CPU caches between the two threads, big
// enough that handing a batch over costs nothing next to its rows.
constexpr size_t kBatchValues = 8192;
constexpr size_t kBatchBytes = 256 * 1024;

}  // namespace

void RowBatch::clear() {
    rows_ = 0;
    values_.clear();
    offsets_.clear();
    bytes_.clear();
}

RowBatch::RowBatch(size_t columns) : columns_(columns) {
    values_.reserve(kBatchValues + columns);
    offsets_.reserve(kBatchValues + columns);
    bytes_.reserve(kBatchBytes);
}

void RowBatch::append(const jet::ValueRef& v) {
    offsets_.push_back(bytes_.size());
    if (!v.data.empty())
        bytes_.append(v.data);
    values_.push_back(v);
    values_.back().data = {};  // the cursor's bytes, gone once it moves
}

void RowBatch::dropPartialRow() {
    const size_t kept = rows_ * columns_;
    if (values_.size() <= kept)
        return;
    bytes_.resize(offsets_[kept]);
    values_.resize(kept);
    offsets_.resize(kept);
}

bool RowBatch::full() const {
    return values_.size() >= kBatchValues || bytes_.size() >= kBatchBytes;
}

void RowBatch::appendValues(jet::TableCursor& cursor, const std::vector<size_t>& columns) {
    for (const size_t column : columns)
        append(cursor.get(column));
}

}  // namespace cli
