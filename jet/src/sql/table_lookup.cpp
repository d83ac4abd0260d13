#include "sql/table_lookup.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "sql/function_support.h"
#include "sql/like_pattern.h"
#include "sql/sql_scalar.h"

namespace jet::sql {

namespace {

TableLookup::Cell cellOf(const ValueRef& v, std::string& arena) {
    std::string scratch;
    const SqlScalar s = toSqlScalar(v, scratch);
    TableLookup::Cell c;
    c.kind = static_cast<uint8_t>(s.kind);
    c.i = s.i;
    c.d = s.d;
    if (s.kind == SQLITE_TEXT || s.kind == SQLITE_BLOB) {
        c.offset = static_cast<uint32_t>(arena.size());
        c.length = static_cast<uint32_t>(s.bytes.size());
        arena.append(s.bytes);
    }
    return c;
}

}  // namespace

void resultFromValue(sqlite3_context* ctx, const ValueRef& v) {
    std::string scratch;
    resultScalar(ctx, toSqlScalar(v, scratch));
}

namespace {

// One key for 0 and -0.
uint64_t numberBits(double n) {
    return std::bit_cast<uint64_t>(n == 0 ? 0.0 : n);
}

std::string textKey(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    std::string key;
    std::size_t i = 0;
    while (i < end) {
        const char32_t c = foldCase(nextCodePoint(text.substr(0, end), i));
        key.append(reinterpret_cast<const char*>(&c), sizeof c);
    }
    return key;
}

std::size_t slotOf(uint64_t bits, std::size_t capacity) {
    // Fibonacci hashing spreads consecutive numbers (the usual keys) and the
    // low-bit-free bits of doubles alike.
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >>
                                    (64 - std::countr_zero(capacity)));
}

}  // namespace

const TableLookup::Chain* TableLookup::findNumber(uint64_t bits) const {
    if (numbers_.empty())
        return nullptr;
    const std::size_t mask = numbers_.size() - 1;
    for (std::size_t s = slotOf(bits, numbers_.size());; s = (s + 1) & mask) {
        const NumberSlot& slot = numbers_[s];
        if (slot.chain.first < 0)
            return nullptr;
        if (slot.bits == bits)
            return &slot.chain;
    }
}

TableLookup::Chain& TableLookup::numberChain(uint64_t bits) {
    if (2 * (numberCount_ + 1) > numbers_.size())
        growNumbers();
    const std::size_t mask = numbers_.size() - 1;
    for (std::size_t s = slotOf(bits, numbers_.size());; s = (s + 1) & mask) {
        NumberSlot& slot = numbers_[s];
        if (slot.chain.first < 0) {
            slot.bits = bits;
            ++numberCount_;
            return slot.chain;
        }
        if (slot.bits == bits)
            return slot.chain;
    }
}

void TableLookup::growNumbers() {
    std::vector<NumberSlot> old(std::max<std::size_t>(16, numbers_.size() * 2));
    old.swap(numbers_);
    const std::size_t mask = numbers_.size() - 1;
    for (const NumberSlot& slot : old) {
        if (slot.chain.first < 0)
            continue;
        std::size_t s = slotOf(slot.bits, numbers_.size());
        while (numbers_[s].chain.first >= 0)
            s = (s + 1) & mask;
        numbers_[s] = slot;
    }
}

void TableLookup::append(Chain& chain, int64_t row) {
    if (chain.first < 0)
        chain.first = row;
    else
        next_[static_cast<std::size_t>(chain.last)] = row;
    chain.last = row;
}

bool TableLookup::build(TableCursor& cursor, int keyColumn, uint64_t columns, bool numericKey) {
    keyColumn_ = keyColumn;
    numericKey_ = numericKey;
    const int count = static_cast<int>(cursor.columnCount());
    columns_ = columns | (uint64_t{1} << std::min(keyColumn, 63));
    slot_.assign(static_cast<std::size_t>(count), -1);
    width_ = 0;
    for (int c = 0; c < count; ++c) {
        if (has(c) || c >= 63)
            slot_[static_cast<std::size_t>(c)] = static_cast<int>(width_++);
    }
    cursor.rewind();
    while (cursor.next()) {
        const int64_t row = static_cast<int64_t>(rowIds_.size());
        for (int c = 0; c < count; ++c) {
            if (slot_[static_cast<std::size_t>(c)] >= 0)
                cells_.push_back(cellOf(cursor.get(static_cast<std::size_t>(c)), arena_));
        }
        rowIds_.push_back(static_cast<int64_t>(cursor.rowId()));
        next_.push_back(-1);
        const Cell& key =
            cells_[static_cast<std::size_t>(row) * width_ +
                   static_cast<std::size_t>(slot_[static_cast<std::size_t>(keyColumn)])];
        if (key.kind == SQLITE_INTEGER)
            append(numberChain(numberBits(static_cast<double>(key.i))), row);
        else if (key.kind == SQLITE_FLOAT)
            append(numberChain(numberBits(key.d)), row);
        else if (key.kind == SQLITE_TEXT)
            append(texts_[textKey(std::string_view(arena_).substr(key.offset, key.length))], row);
        else if (key.kind == SQLITE_BLOB)
            append(blobs_[arena_.substr(key.offset, key.length)], row);
        const std::size_t used = cells_.capacity() * sizeof(Cell) + arena_.capacity() +
                                 numbers_.capacity() * sizeof(NumberSlot) +
                                 (texts_.size() + blobs_.size()) * 64 + next_.capacity() * 16;
        if (used > kMemoryBudget) {
            *this = TableLookup();
            return false;
        }
    }
    return cursor.status().isOk();
}

// Numbers find numbers, texts texts and bytes bytes, as SQLite compares
// them; a number column compares numbers only, so a text probe is read as one.
int64_t TableLookup::first(sqlite3_value* value) const {
    const int t = sqlite3_value_type(value);
    if (t == SQLITE_NULL)
        return -1;
    if (numericKey_ || t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        const auto n = numberOf(value);
        const Chain* chain = n ? findNumber(numberBits(*n)) : nullptr;
        return chain ? chain->first : -1;
    }
    const auto& keys = t == SQLITE_BLOB ? blobs_ : texts_;
    const auto it =
        keys.find(t == SQLITE_BLOB ? std::string(textView(value)) : textKey(textOf(value)));
    return it == keys.end() ? -1 : it->second.first;
}

void TableLookup::result(sqlite3_context* ctx, int64_t row, int column) const {
    const int s = slot_[static_cast<std::size_t>(column)];
    const Cell& c = cells_[static_cast<std::size_t>(row) * width_ + static_cast<std::size_t>(s)];
    const std::string_view bytes(arena_.data() + c.offset, c.length);
    resultScalar(ctx, SqlScalar{c.kind, c.i, c.d, bytes});
}

}  // namespace jet::sql
