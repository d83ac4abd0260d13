#include "db/cell_chunk_reader.h"

#include <algorithm>
#include <new>

#include "jet/sql_value_text.h"

namespace db {

namespace {

// The number a cell keeps beside its text so that sorting compares values.
bool numericValue(const jet::ValueRef& v, double* out) {
    using T = jet::ValueType;
    switch (v.type) {
        case T::Boolean:
            *out = v.i ? -1.0 : 0.0;
            return true;
        case T::Byte:
        case T::Integer:
        case T::Long:
        case T::BigInt:
            *out = double(v.i);
            return true;
        case T::Currency:
            *out = double(v.i) / 10000.0;
            return true;
        case T::Single:
        case T::Double:
        case T::DateTime:
            *out = v.d;
            return true;
        case T::Decimal:
            *out = v.dec.toDouble();
            return true;
        default:
            return false;
    }
}

}  // namespace

std::size_t CellChunkReader::defaultWorkers() {
    return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

CellChunkReader::CellChunkReader(jet::Recordset& records, CellPayloads payloads,
                                 std::size_t workers, std::size_t partPages)
    : records_(records),
      columns_(records.fields().size()),
      payloads_(std::move(payloads)),
      partPages_(std::max<std::size_t>(partPages, 1)) {
    const bool binary =
        std::any_of(records.fields().begin(), records.fields().end(),
                    [](const jet::RecordsetField& f) { return f.type == jet::ValueType::Binary; });
    if (workers > 1 && !binary) {
        pages_ = records.pageCount();
        parts_ = (pages_ + partPages_ - 1) / partPages_;
        for (std::size_t i = 1; i < std::min(workers, parts_); ++i) {
            if (std::unique_ptr<jet::Recordset> twin = records.twin()) {
                twins_.push_back(std::move(twin));
            }
        }
        if (twins_.empty()) {
            pages_ = parts_ = 0;  // one worker reads on from the first row
        } else {
            endPart_ = parts_;
        }
    }
    // Chunks in flight: one being filled per worker, one being shown, one
    // waiting per worker.
    chunks_.resize(1 + 2 * (1 + twins_.size()));
    for (CellChunk& chunk : chunks_) {
        free_.push_back(&chunk);
    }
    threads_.emplace_back([this](std::stop_token stop) { run(records_, stop); });
    for (const std::unique_ptr<jet::Recordset>& twin : twins_) {
        threads_.emplace_back([this, &twin](std::stop_token stop) { run(*twin, stop); });
    }
}

CellChunkReader::~CellChunkReader() {
    for (std::jthread& thread : threads_) {
        thread.request_stop();
    }
    changed_.notify_all();
    threads_.clear();  // joins before the twins and chunks go
}

const CellChunk* CellChunkReader::next() {
    std::unique_lock lock(mutex_);
    if (handedOut_) {
        free_.push_back(handedOut_);
        handedOut_ = nullptr;
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return ready_.contains(wanted_) || wanted_ >= endPart_; });
    const auto found = ready_.find(wanted_);
    if (wanted_ >= endPart_ || found == ready_.end()) {
        return nullptr;
    }
    handedOut_ = found->second;
    ready_.erase(found);
    ++wanted_;
    return handedOut_;
}

void CellChunkReader::run(jet::Recordset& records, const std::stop_token& stop) {
    bool more = true;  // unshared, the record set stands on its first row
    std::size_t part = 0;
    CellChunk* chunk = nullptr;
    while (takePart(stop, part, chunk)) {
        jet::Status status;
        try {
            readPart(records, part, *chunk, more);
            status = records.status();
        } catch (const std::bad_alloc&) {
            // A chunk left half filled has no texts in place: show none of it.
            chunk->rows = 0;
            chunk->cells.clear();
            more = false;
            status = jet::Status(jet::ErrorCode::Io, "Out of memory while reading the rows.");
        }
        if (stop.stop_requested()) {
            return;
        }
        const bool failed = !status.isOk();
        publish(part, chunk, failed || (shared() ? part + 1 == parts_ : !more), status);
        if (failed) {
            return;
        }
    }
}

void CellChunkReader::readPart(jet::Recordset& records, std::size_t part, CellChunk& chunk,
                               bool& more) {
    if (!shared()) {
        fill(records, chunk, kChunkRows, more);
        return;
    }
    records.readPages(part * partPages_, std::min(pages_, (part + 1) * partPages_));
    more = records.advance();
    fill(records, chunk, SIZE_MAX, more);
}

void CellChunkReader::fill(jet::Recordset& records, CellChunk& chunk, std::size_t maxRows,
                           bool& more) {
    const std::size_t columns = columns_;
    chunk.rows = 0;
    chunk.cells.clear();
    chunk.bytes.clear();
    chunk.offsets.clear();
    while (more && chunk.rows < maxRows) {
        const std::size_t rowBytes = chunk.bytes.size();
        for (std::size_t i = 0; i < columns; ++i) {
            addCell(records, chunk, i, records.cell(i));
        }
        if (!records.status().isOk()) {
            // A value failed to read: the row it is in is not shown.
            chunk.cells.resize(chunk.cells.size() - columns);
            chunk.offsets.resize(chunk.offsets.size() - columns);
            chunk.bytes.resize(rowBytes);
            more = false;
            break;
        }
        ++chunk.rows;
        more = records.advance();
    }
    // The bytes no longer move: point each cell's text into them.
    chunk.offsets.push_back(chunk.bytes.size());
    for (std::size_t k = 0; k < chunk.cells.size(); ++k) {
        chunk.cells[k].text =
            std::string_view(chunk.bytes)
                .substr(chunk.offsets[k], chunk.offsets[k + 1] - chunk.offsets[k]);
    }
}

// A binary cell shows its size and sorts by it; its bytes go with it as its
// payload, as do the files of an attachment cell.
void CellChunkReader::addCell(jet::Recordset& records, CellChunk& chunk, std::size_t field,
                              const jet::ValueRef& v) {
    sheet::CellInput& cell = chunk.cells.emplace_back();
    cell.hasValue = numericValue(v, &cell.value);
    chunk.offsets.push_back(chunk.bytes.size());
    if (v.isNull()) {
        return;  // no text
    }
    if (v.type == jet::ValueType::Text) {
        chunk.bytes += v.data;
        if (payloads_.readsAttachments()) {
            if (const jet::ComplexCell* complex = records.complexCell(field)) {
                cell.payload = payloads_.attachments(*complex);
            }
        }
    } else if (v.type == jet::ValueType::Binary) {
        chunk.bytes += sheet::binaryCellText(v.data.size());
        cell.hasValue = true;
        cell.value = double(v.data.size());
        cell.payload = payloads_.binary(v.data);
    } else {
        jet::appendDisplayText(chunk.bytes, v);
    }
}

bool CellChunkReader::takePart(const std::stop_token& stop, std::size_t& part, CellChunk*& chunk) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait(lock, stop, [this] { return nextPart_ >= endPart_ || !free_.empty(); }) ||
        nextPart_ >= endPart_) {
        return false;
    }
    part = nextPart_++;
    chunk = free_.front();
    free_.pop_front();
    return true;
}

void CellChunkReader::publish(std::size_t part, CellChunk* chunk, bool last,
                              const jet::Status& status) {
    std::lock_guard lock(mutex_);
    ready_.emplace(part, chunk);
    // Of two failures the one nearer the start ends the rows: the rows
    // before it are all shown, as when one thread reads them in order.
    if (last && part < endPart_) {
        endPart_ = part + 1;
        status_ = status;
    }
    changed_.notify_all();
}

}  // namespace db
