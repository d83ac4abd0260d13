#include "stored_row_batch.h"

#include <algorithm>
#include <new>

#include "jet/number_text.h"
#include "jet/value_format.h"

namespace cli {
namespace {

// Small enough to stay in the CPU caches between the two threads, big
// enough that handing a batch over costs nothing next to its rows.
constexpr size_t kBatchValues = 8192;
constexpr size_t kBatchBytes = 256 * 1024;
// A value's place in the buffer is two 32-bit halves of its payload.
constexpr uint64_t kMaxBytes = UINT32_MAX;

}  // namespace

StoredRowBatch::StoredRowBatch(size_t columns)
    : columns_(columns),
      kinds_(kBatchValues + columns),
      payloads_(kBatchValues + columns),
      bytes_(kBatchBytes + jet::kMaxNumberText, '\0') {}

void StoredRowBatch::clear() {
    rows_ = 0;
    values_ = 0;
    used_ = 0;
}

void StoredRowBatch::dropPartialRow() {
    const size_t kept = rows_ * columns_;
    for (size_t k = kept; k < values_; ++k) {
        if (kinds_[k] == Kind::Text || kinds_[k] == Kind::Blob) {
            used_ = payloads_[k] >> 32;  // the row's first bytes
            break;
        }
    }
    values_ = std::min(values_, kept);
}

bool StoredRowBatch::full() const {
    return values_ >= kBatchValues || used_ >= kBatchBytes;
}

// Out of line: a batch reaches its usual size after a few rows and keeps it.
void StoredRowBatch::growValues() {
    kinds_.resize(2 * kinds_.size());
    payloads_.resize(2 * payloads_.size());
}

// The buffer never passes kMaxBytes, so no value can end past it.
void StoredRowBatch::growBytes(size_t size) {
    if (size > kMaxBytes - used_)
        throw std::bad_alloc();
    bytes_.resize(std::min<uint64_t>(kMaxBytes, std::max(2 * bytes_.size(), used_ + size)));
}

void StoredRowBatch::putInteger(int64_t i) {
    const size_t k = nextSlot();
    kinds_[k] = Kind::Integer;
    payloads_[k] = static_cast<uint64_t>(i);
}

void StoredRowBatch::putReal(double d) {
    const size_t k = nextSlot();
    kinds_[k] = Kind::Real;
    std::memcpy(&payloads_[k], &d, sizeof d);
}

void StoredRowBatch::putBytes(Kind kind, size_t size) {
    const size_t k = nextSlot();
    kinds_[k] = kind;
    payloads_[k] = static_cast<uint64_t>(used_) << 32 | size;
    used_ += size;
}

void StoredRowBatch::putCopy(Kind kind, std::string_view bytes) {
    char* at = roomFor(bytes.size());
    if (!bytes.empty())
        std::memcpy(at, bytes.data(), bytes.size());
    putBytes(kind, bytes.size());
}

void StoredRowBatch::append(const jet::ValueRef& v) {
    using T = jet::ValueType;
    switch (v.type) {
        case T::Null: {
            const size_t k = nextSlot();
            kinds_[k] = Kind::Null;
            return;
        }
        case T::Boolean:
            putInteger(v.i ? 1 : 0);
            return;
        case T::Byte:
        case T::Integer:
        case T::Long:
        case T::BigInt:
            putInteger(v.i);
            return;
        case T::Double:
            putReal(v.d);
            return;
        case T::Single: {
            char text[jet::kMaxNumberText];
            const char* end = jet::writeSingle(text, static_cast<float>(v.d));
            putReal(jet::parseDouble(std::string_view(text, static_cast<size_t>(end - text)))
                        .value_or(v.d));
            return;
        }
        case T::DateTime: {
            char* at = roomFor(jet::kMaxNumberText);
            const char* end = jet::writeDateTimeIso(at, v.d);
            at[10] = ' ';  // SQLite's own date form
            putBytes(Kind::Text, static_cast<size_t>(end - at));
            return;
        }
        case T::Currency: {
            char* at = roomFor(jet::kMaxNumberText);
            putBytes(Kind::Text, static_cast<size_t>(jet::writeCurrency(at, v.i) - at));
            return;
        }
        case T::Text:
            putCopy(Kind::Text, v.data);
            return;
        case T::Guid:
            putCopy(Kind::Text, jet::formatGuid(v.data));
            return;
        case T::Decimal:
            putCopy(Kind::Text, v.dec.toString());
            return;
        case T::Binary:
        case T::Unsupported:
            putCopy(Kind::Blob, v.data);
            return;
    }
}

// Flattened: the per-value calls cost as much as the copying they do.
[[gnu::flatten]] void StoredRowBatch::appendValues(jet::TableCursor& cursor,
                                                   const std::vector<size_t>& columns) {
    for (const size_t column : columns)
        append(cursor.get(column));
}

}  // namespace cli
