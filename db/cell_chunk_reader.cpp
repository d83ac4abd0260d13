#include "db/cell_chunk_reader.h"

#include <new>

#include "jet/sql_value_text.h"

namespace db {

namespace {

// Chunks in flight: one being filled, one being shown, one waiting.
constexpr std::size_t kChunks = 3;

// The number a cell keeps beside its text so that sorting compares values.
bool numericValue(const jet::Value& v, double* out) {
    using T = jet::ValueType;
    switch (v.type()) {
        case T::Boolean:
            *out = v.i() ? -1.0 : 0.0;
            return true;
        case T::Byte:
        case T::Integer:
        case T::Long:
        case T::BigInt:
            *out = double(v.i());
            return true;
        case T::Currency:
            *out = double(v.i()) / 10000.0;
            return true;
        case T::Single:
        case T::Double:
        case T::DateTime:
            *out = v.d();
            return true;
        case T::Decimal:
            *out = v.dec().toDouble();
            return true;
        default:
            return false;
    }
}

}  // namespace

CellChunkReader::CellChunkReader(jet::Recordset& records, CellPayloads payloads)
    : records_(records),
      columns_(records.fields().size()),
      payloads_(std::move(payloads)),
      chunks_(kChunks) {
    for (CellChunk& chunk : chunks_) {
        free_.push_back(&chunk);
    }
    worker_ = std::jthread([this](std::stop_token stop) { run(stop); });
}

CellChunkReader::~CellChunkReader() {
    worker_.request_stop();
    changed_.notify_all();
}

const CellChunk* CellChunkReader::next() {
    std::unique_lock lock(mutex_);
    if (handedOut_) {
        free_.push_back(handedOut_);
        handedOut_ = nullptr;
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return !full_.empty() || finished_; });
    if (full_.empty()) {
        return nullptr;
    }
    handedOut_ = full_.front();
    full_.pop_front();
    return handedOut_;
}

void CellChunkReader::run(std::stop_token stop) {
    bool more = true;  // the record set stands on its first row
    while (more) {
        CellChunk* chunk = takeFree(stop);
        if (!chunk) {
            return;
        }
        try {
            fill(*chunk, more);
        } catch (const std::bad_alloc&) {
            std::lock_guard lock(mutex_);
            status_ = jet::Status(jet::ErrorCode::Io, "Out of memory while reading the rows.");
            finished_ = true;
            changed_.notify_all();
            return;
        }
        if (stop.stop_requested()) {
            return;
        }
        publish(chunk, !more);
    }
}

void CellChunkReader::fill(CellChunk& chunk, bool& more) {
    const std::size_t columns = columns_;
    chunk.rows = 0;
    chunk.cells.clear();
    chunk.bytes.clear();
    chunk.offsets.clear();
    while (more && chunk.rows < kChunkRows) {
        const std::vector<jet::Value>& row = records_.row();
        for (std::size_t i = 0; i < columns; ++i) {
            addCell(chunk, i, row[i]);
        }
        ++chunk.rows;
        more = records_.next();
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
void CellChunkReader::addCell(CellChunk& chunk, std::size_t field, const jet::Value& v) {
    sheet::CellInput& cell = chunk.cells.emplace_back();
    cell.hasValue = numericValue(v, &cell.value);
    chunk.offsets.push_back(chunk.bytes.size());
    if (v.isNull()) {
        return;  // no text
    }
    if (v.type() == jet::ValueType::Text) {
        chunk.bytes += v.data();
        if (payloads_.readsAttachments()) {
            if (const jet::ComplexCell* complex = records_.complexCell(field)) {
                cell.payload = payloads_.attachments(*complex);
            }
        }
    } else if (v.type() == jet::ValueType::Binary) {
        chunk.bytes += sheet::binaryCellText(v.data().size());
        cell.hasValue = true;
        cell.value = double(v.data().size());
        cell.payload = payloads_.binary(v.data());
    } else {
        jet::appendDisplayText(chunk.bytes, v);
    }
}

CellChunk* CellChunkReader::takeFree(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait(lock, stop, [this] { return !free_.empty(); })) {
        return nullptr;
    }
    CellChunk* chunk = free_.front();
    free_.pop_front();
    return chunk;
}

void CellChunkReader::publish(CellChunk* chunk, bool last) {
    std::lock_guard lock(mutex_);
    full_.push_back(chunk);
    if (last) {
        status_ = records_.status();
        finished_ = true;
    }
    changed_.notify_all();
}

}  // namespace db
