#include "read_ahead.h"

#include <algorithm>
#include <new>

#include "row_batch.h"
#include "stored_row_batch.h"

namespace cli {
namespace {

// One batch being filled, one being written and one waiting between them
// keep both threads busy; more would only hold memory.
constexpr size_t kBatches = 3;

}  // namespace

template <typename Batch>
ReadAhead<Batch>::ReadAhead(jet::TableCursor& cursor, std::vector<size_t> columns,
                            FailedRow failedRow)
    : cursor_(cursor), columns_(std::move(columns)), failedRow_(failedRow) {
    for (size_t i = 0; i < kBatches; ++i) {
        batches_.push_back(std::make_unique<Batch>(columns_.size()));
        empty_.push_back(batches_.back().get());
    }
    thread_ = std::thread([this] { read(); });
}

template <typename Batch>
ReadAhead<Batch>::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

template <typename Batch>
const Batch* ReadAhead<Batch>::next() {
    std::unique_lock lock(mutex_);
    if (held_) {
        held_->clear();
        empty_.push_back(held_);
        held_ = nullptr;
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return !filled_.empty() || readerDone_; });
    if (filled_.empty()) {
        lock.unlock();
        if (thread_.joinable())
            thread_.join();
        return nullptr;
    }
    held_ = filled_.front();
    filled_.erase(filled_.begin());
    return held_;
}

template <typename Batch>
Batch* ReadAhead<Batch>::handOver(Batch* filled, bool wantEmpty) {
    std::unique_lock lock(mutex_);
    if (filled && filled->rows() > 0) {
        filled_.push_back(filled);
        changed_.notify_all();
    } else if (filled) {
        empty_.push_back(filled);
    }
    if (!wantEmpty)
        return nullptr;
    changed_.wait(lock, [this] { return !empty_.empty() || stopped_; });
    if (stopped_)
        return nullptr;
    Batch* batch = empty_.back();
    empty_.pop_back();
    return batch;
}

template <typename Batch>
void ReadAhead<Batch>::read() {
    Batch* batch = handOver(nullptr, true);
    try {
        while (batch && cursor_.next()) {
            batch->appendValues(cursor_, columns_);
            if (!cursor_.status().isOk()) {
                if (failedRow_ == FailedRow::Keep)
                    batch->endRow();
                break;
            }
            batch->endRow();
            if (batch->full())
                batch = handOver(batch, true);
        }
    } catch (const std::bad_alloc&) {
        // Too big a value for the memory left: the rows end here, as the
        // cursor's own failures end them.
        std::lock_guard lock(mutex_);
        status_ = jet::Status(jet::ErrorCode::Io,
                              "not enough memory to read table '" + cursor_.table().name + "'");
    }
    if (batch) {
        batch->dropPartialRow();
        handOver(batch, false);
    }
    finish();
}

template <typename Batch>
void ReadAhead<Batch>::finish() {
    std::lock_guard lock(mutex_);
    if (status_.isOk())
        status_ = cursor_.status();
    readerDone_ = true;
    changed_.notify_all();
}

template class ReadAhead<RowBatch>;
template class ReadAhead<StoredRowBatch>;

}  // namespace cli
