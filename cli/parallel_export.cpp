#include "parallel_export.h"

#include <algorithm>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

namespace cli {
namespace {

// Parts a worker may run ahead of the one going out: enough that neither
// worker waits for the other, few enough to bound the texts held.
constexpr size_t kPartsAhead = 4;
// A part whose text grows past this (long memos, big OLE objects) is
// written as it goes once its turn has come, so memory stays bounded.
constexpr size_t kSpillAt = 1 << 20;

}  // namespace

ParallelExport::ParallelExport(jet::TableCursor& cursor, RowWriter& writer)
    : writer_(writer),
      table_(cursor.table().name),
      pages_(cursor.pageCount()),
      parts_((pages_ + kPartPages - 1) / kPartPages),
      endPart_(parts_) {}

jet::Status ParallelExport::write(jet::TableCursor& cursor, RowWriter& writer) {
    ParallelExport e(cursor, writer);
    std::unique_ptr<jet::TableCursor> twin;
    if (e.parts_ > 1 && std::thread::hardware_concurrency() >= 2)
        twin = cursor.twin();
    RowFormatter first = writer.formatter();
    std::thread second;
    if (twin) {
        try {
            second = std::thread([&e, &twin, formatter = writer.formatter()]() mutable {
                e.work(*twin, std::move(formatter));
            });
        } catch (const std::system_error&) {
            // No second thread to be had: this one reads every part.
        }
    }
    e.work(cursor, std::move(first));
    if (second.joinable())
        second.join();
    return e.status_;
}

void ParallelExport::work(jet::TableCursor& cursor, RowFormatter formatter) {
    size_t part = 0;
    while (take(part)) {
        cursor.readPages(part * kPartPages, std::min(pages_, (part + 1) * kPartPages));
        uint64_t errorsWritten = formatter.errorValues();
        jet::Status status;
        if (!formatPart(cursor, part, formatter, errorsWritten, status))
            return;
        finish(part, formatter, formatter.errorValues() - errorsWritten, status);
        if (!status.isOk())
            return;
    }
}

bool ParallelExport::formatPart(jet::TableCursor& cursor, size_t part, RowFormatter& formatter,
                                uint64_t& errorsWritten, jet::Status& status) {
    const size_t columns = cursor.columnCount();
    TextBuffer& text = formatter.text();
    size_t rowStart = 0;
    try {
        while (true) {
            rowStart = text.size();
            if (!cursor.next())
                break;
            formatter.beginRow();
            for (size_t i = 0; i < columns; ++i)
                formatter.value(cursor.get(i));
            formatter.endRow();
            if (!cursor.status().isOk())
                break;
            if (text.size() >= kSpillAt) {
                if (!spill(part, text, formatter.errorValues() - errorsWritten))
                    return false;
                errorsWritten = formatter.errorValues();
            }
        }
        status = cursor.status();
    } catch (const std::bad_alloc&) {
        // Too big a value for the memory left: the rows end before it, as
        // the cursor's own failures end them.
        text.truncate(rowStart);
        status =
            jet::Status(jet::ErrorCode::Io, "not enough memory to read table '" + table_ + "'");
    }
    return true;
}

bool ParallelExport::take(size_t& part) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] {
        return stopped_ || nextPart_ >= endPart_ || nextPart_ < turn_ + kPartsAhead;
    });
    if (stopped_ || nextPart_ >= endPart_)
        return false;
    part = nextPart_++;
    return true;
}

bool ParallelExport::spill(size_t part, TextBuffer& text, uint64_t errorValues) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || part >= endPart_ || turn_ == part; });
    if (stopped_ || part >= endPart_)
        return false;
    return writeTurn(lock, text, errorValues);
}

void ParallelExport::finish(size_t part, RowFormatter& formatter, uint64_t errorValues,
                            const jet::Status& status) {
    std::unique_lock lock(mutex_);
    if (!status.isOk() && part < endPart_) {
        endPart_ = part + 1;
        status_ = status;
        changed_.notify_all();
    }
    TextBuffer& text = formatter.text();
    if (stopped_ || part >= endPart_) {
        text.clear();  // a part before this one failed: these rows never go out
        return;
    }
    if (part != turn_) {
        ready_[part] = Ready{std::move(text), errorValues};
        text = TextBuffer();
        if (!spare_.empty()) {
            text = std::move(spare_.back());
            spare_.pop_back();
        }
        return;
    }
    if (!writeTurn(lock, text, errorValues))
        return;
    // The turn passes on; the parts already waiting for it go out now.
    while (true) {
        ++turn_;
        changed_.notify_all();
        const auto next = ready_.find(turn_);
        if (turn_ >= endPart_ || next == ready_.end())
            return;
        Ready waiting = std::move(next->second);
        ready_.erase(next);
        if (!writeTurn(lock, waiting.text, waiting.errorValues))
            return;
        spare_.push_back(std::move(waiting.text));
    }
}

bool ParallelExport::writeTurn(std::unique_lock<std::mutex>& lock, TextBuffer& text,
                               uint64_t errorValues) {
    // Only the worker holding the turn writes, so the writing needs no lock.
    lock.unlock();
    const bool written = writer_.write(text.view(), errorValues);
    text.clear();
    lock.lock();
    if (!written) {
        stopped_ = true;
        changed_.notify_all();
    }
    return written;
}

}  // namespace cli
