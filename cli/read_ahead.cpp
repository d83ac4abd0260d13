#include "read_ahead.h"

#include <algorithm>
#include <new>

namespace cli {
namespace {

// One batch being filled, one being written and one waiting between them
// keep both threads busy; more would only hold memory.
constexpr size_t kBatches = 3;

}  // namespace

ReadAhead::ReadAhead(jet::TableCursor& cursor, std::vector<size_t> columns, FailedRow failedRow,
                     Shape shape)
    : cursor_(cursor), columns_(std::move(columns)), failedRow_(failedRow), shape_(shape) {
    for (size_t i = 0; i < kBatches; ++i) {
        batches_.push_back(std::make_unique<RowBatch>(columns_.size()));
        empty_.push_back(batches_.back().get());
    }
    thread_ = std::thread([this] { read(); });
}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

const RowBatch* ReadAhead::next() {
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

RowBatch* ReadAhead::handOver(RowBatch* filled, bool wantEmpty) {
    std::unique_lock lock(mutex_);
    if (filled && filled->rows() > 0) {
        filled->seal();
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
    RowBatch* batch = empty_.back();
    empty_.pop_back();
    return batch;
}

void ReadAhead::read() {
    RowBatch* batch = handOver(nullptr, true);
    std::string scratch;
    try {
        while (batch && cursor_.next()) {
            for (size_t column : columns_)
                batch->append(shape_ ? shape_(cursor_.get(column), scratch) : cursor_.get(column));
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

void ReadAhead::finish() {
    std::lock_guard lock(mutex_);
    if (status_.isOk())
        status_ = cursor_.status();
    readerDone_ = true;
    changed_.notify_all();
}

}  // namespace cli
