#include "sql/table_lookup.h"

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

std::string numberKey(double n) {
    if (n == 0)
        n = 0.0;  // one key for 0 and -0
    return "n" + std::string(reinterpret_cast<const char*>(&n), sizeof n);
}

std::string textKey(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    std::string key = "t";
    std::size_t i = 0;
    while (i < end) {
        const char32_t c = foldCase(nextCodePoint(text.substr(0, end), i));
        key.append(reinterpret_cast<const char*>(&c), sizeof c);
    }
    return key;
}

}  // namespace

std::optional<std::string> TableLookup::keyOf(sqlite3_value* value, bool numericKey) {
    const int t = sqlite3_value_type(value);
    if (t == SQLITE_NULL)
        return std::nullopt;
    if (numericKey || t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        auto d = numberOf(value);
        if (!d)
            return std::string("x");  // matches nothing numeric
        return numberKey(*d);
    }
    return textKey(textOf(value));
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
        std::optional<std::string> k;
        if (key.kind == SQLITE_INTEGER)
            k = numberKey(static_cast<double>(key.i));
        else if (key.kind == SQLITE_FLOAT)
            k = numberKey(key.d);
        else if (key.kind == SQLITE_TEXT)
            k = textKey(std::string_view(arena_).substr(key.offset, key.length));
        if (k) {
            auto [it, inserted] = heads_.try_emplace(*k, row, row);
            if (!inserted) {  // keep rows in stored order along the chain
                next_[static_cast<std::size_t>(it->second.second)] = row;
                it->second.second = row;
            }
        }
        const std::size_t used = cells_.capacity() * sizeof(Cell) + arena_.capacity() +
                                 heads_.size() * 64 + next_.capacity() * 16;
        if (used > kMemoryBudget) {
            *this = TableLookup();
            return false;
        }
    }
    return cursor.status().isOk();
}

int64_t TableLookup::first(sqlite3_value* value) const {
    auto k = keyOf(value, numericKey_);
    if (!k)
        return -1;
    auto it = heads_.find(*k);
    return it == heads_.end() ? -1 : it->second.first;
}

void TableLookup::result(sqlite3_context* ctx, int64_t row, int column) const {
    const int s = slot_[static_cast<std::size_t>(column)];
    const Cell& c = cells_[static_cast<std::size_t>(row) * width_ + static_cast<std::size_t>(s)];
    const std::string_view bytes(arena_.data() + c.offset, c.length);
    resultScalar(ctx, SqlScalar{c.kind, c.i, c.d, bytes});
}

}  // namespace jet::sql
