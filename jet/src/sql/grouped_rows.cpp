#include "sql/grouped_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sql/access_collation.h"
#include "sql/sql_type.h"

namespace jet::sql {

namespace {

bool isRead(uint64_t columnsUsed, std::size_t column) {
    return (columnsUsed >> std::min<std::size_t>(column, 63)) & 1;
}

void putNumber(std::string& out, uint64_t n) {
    while (n >= 0x80) {
        out += static_cast<char>(n | 0x80);
        n >>= 7;
    }
    out += static_cast<char>(n);
}

uint64_t takeNumber(const std::string& in, std::size_t& at) {
    uint64_t n = 0;
    for (int shift = 0; at < in.size() && shift < 64; shift += 7) {
        const auto byte = static_cast<unsigned char>(in[at++]);
        n |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80)
            break;
    }
    return n;
}

void put8(std::string& out, const void* eight) {
    out.append(static_cast<const char*>(eight), 8);
}

// A value as kind, then eight bytes for a number or the length and bytes.
void putScalar(std::string& out, const SqlScalar& s) {
    out += static_cast<char>(s.kind);
    if (s.kind == SQLITE_INTEGER) {
        put8(out, &s.i);
    } else if (s.kind == SQLITE_FLOAT) {
        put8(out, &s.d);
    } else if (s.kind == SQLITE_TEXT || s.kind == SQLITE_BLOB) {
        putNumber(out, s.bytes.size());
        out += s.bytes;
    }
}

SqlScalar takeScalar(const std::string& in, std::size_t& at) {
    SqlScalar s;
    s.kind = static_cast<unsigned char>(in[at++]);
    if (s.kind == SQLITE_INTEGER) {
        std::memcpy(&s.i, in.data() + at, 8);
        at += 8;
    } else if (s.kind == SQLITE_FLOAT) {
        std::memcpy(&s.d, in.data() + at, 8);
        at += 8;
    } else if (s.kind == SQLITE_TEXT || s.kind == SQLITE_BLOB) {
        const auto size = static_cast<std::size_t>(takeNumber(in, at));
        s.bytes = std::string_view(in).substr(at, size);
        at += size;
    }
    return s;
}

// Bytes equal exactly when SQLite's GROUP BY puts the values in one group:
// text by the ACCESS collation, integers and reals of equal value alike.
void putGroupKey(std::string& out, const SqlScalar& s, bool accessText) {
    double whole = 0;
    if (s.kind == SQLITE_FLOAT && std::modf(s.d, &whole) == 0.0 && whole >= -9.2e18 &&
        whole <= 9.2e18) {
        const auto i = static_cast<int64_t>(whole);
        out += 'I';
        put8(out, &i);
    } else if (s.kind == SQLITE_TEXT && accessText) {
        const std::size_t lengthAt = out.size();
        out += "T0000";
        appendAccessSortKey(s.bytes, out);
        const auto length = static_cast<uint32_t>(out.size() - lengthAt - 5);
        std::memcpy(out.data() + lengthAt + 1, &length, 4);
    } else {
        putScalar(out, s);
    }
}

}  // namespace

GroupedRows::GroupedRows(const TableDef& table, std::vector<int> groupColumns, uint64_t columnsUsed)
    : groupColumns_(std::move(groupColumns)) {
    keyIndex_.assign(table.columns.size(), -1);
    for (std::size_t k = 0; k < groupColumns_.size(); ++k) {
        const auto column = static_cast<std::size_t>(groupColumns_[k]);
        keyIndex_[column] = static_cast<int>(k);
        accessText_.push_back(isTextType(typeOfColumn(table.columns[column].typeCode)));
    }
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (isRead(columnsUsed, c) && keyIndex_[c] < 0)
            keptColumns_.push_back(static_cast<int>(c));
    }
    key_.resize(groupColumns_.size());
    keyScratch_.resize(groupColumns_.size());
    values_.resize(table.columns.size());
}

uint32_t GroupedRows::spellingOf() {
    keyBytes_.clear();
    for (const SqlScalar& s : key_)
        putScalar(keyBytes_, s);
    auto found = spellingIds_.find(keyBytes_);
    if (found != spellingIds_.end())
        return found->second;
    const auto id = static_cast<uint32_t>(spellings_.size());
    spellings_.push_back({spellingValues_.size(), 0});
    spellingValues_ += keyBytes_;
    spellingIds_.emplace(keyBytes_, id);
    spellings_[id].group = groupOf(key_);
    if (groups_[spellings_[id].group].chunks.empty() && spellings_[id].group + 1 == groups_.size())
        groups_.back().firstSpelling = id;
    return id;
}

uint32_t GroupedRows::groupOf(const std::vector<SqlScalar>& key) {
    std::string folded;
    for (std::size_t k = 0; k < key.size(); ++k)
        putGroupKey(folded, key[k], accessText_[k]);
    auto [it, added] = groupIds_.emplace(std::move(folded), static_cast<uint32_t>(groups_.size()));
    if (added)
        groups_.emplace_back();
    return it->second;
}

void GroupedRows::keepRow(TableCursor& cursor, uint32_t spelling) {
    Group& g = groups_[spellings_[spelling].group];
    const uint64_t rowId = cursor.rowId();
    row_.clear();
    putNumber(row_, spelling);
    // Rows come in stored order, so a row id is mostly a small step on.
    putNumber(row_, rowId - g.lastRowId);
    g.lastRowId = rowId;
    for (const int column : keptColumns_)
        putScalar(row_, toSqlScalar(cursor.get(static_cast<std::size_t>(column)), scratch_));
    if (g.chunks.empty() || g.chunks.back().size() + row_.size() > g.chunks.back().capacity()) {
        // A group's chunks double from a small first one up to 64 KB, so a
        // group of one row (a GROUP BY on a key) costs bytes, not a page.
        constexpr std::size_t kFirstChunkBytes = 64, kChunkBytes = 64 * 1024;
        const std::size_t bytes = g.chunks.empty()
                                      ? kFirstChunkBytes
                                      : std::min(kChunkBytes, 2 * g.chunks.back().capacity());
        g.chunks.emplace_back().reserve(std::max(bytes, row_.size()));
    }
    g.chunks.back() += row_;
}

Status GroupedRows::collect(TableCursor& cursor, ScanFilter& filter) {
    cursor.rewind();
    while (cursor.next()) {
        if (!filter.admits(cursor))
            continue;
        for (std::size_t k = 0; k < groupColumns_.size(); ++k)
            key_[k] =
                toSqlScalar(cursor.get(static_cast<std::size_t>(groupColumns_[k])), keyScratch_[k]);
        if (!cursor.status().isOk())
            break;
        keepRow(cursor, spellingOf());
    }
    if (!cursor.status().isOk())
        return cursor.status();
    spellingIds_.clear();
    groupIds_.clear();
    sortGroups();
    group_ = 0;
    chunk_ = 0;
    at_ = 0;
    rowId_ = 0;
    if (!atEnd())
        readRow();
    return Status::ok();
}

void GroupedRows::spellingValues(uint32_t spelling, SqlScalar* out) const {
    std::size_t at = spellings_[spelling].at;
    for (std::size_t k = 0; k < groupColumns_.size(); ++k)
        out[k] = takeScalar(spellingValues_, at);
}

void GroupedRows::sortGroups() {
    // Each group's key is read once; the comparisons then only look.
    const std::size_t width = groupColumns_.size();
    std::vector<SqlScalar> keys(groups_.size() * width);
    for (std::size_t g = 0; g < groups_.size(); ++g)
        spellingValues(groups_[g].firstSpelling, keys.data() + g * width);
    order_.resize(groups_.size());
    for (std::size_t g = 0; g < order_.size(); ++g)
        order_[g] = static_cast<uint32_t>(g);
    std::sort(order_.begin(), order_.end(), [&](uint32_t x, uint32_t y) {
        const SqlScalar* a = keys.data() + x * width;
        const SqlScalar* b = keys.data() + y * width;
        for (std::size_t k = 0; k < width; ++k) {
            if (const int c = compareScalars(a[k], b[k], accessText_[k]); c != 0)
                return c < 0;
        }
        return false;
    });
}

void GroupedRows::readRow() {
    const std::string& rows = groups_[order_[group_]].chunks[chunk_];
    const bool first = chunk_ == 0 && at_ == 0;
    const auto spelling = static_cast<uint32_t>(takeNumber(rows, at_));
    rowId_ = (first ? 0 : rowId_) + takeNumber(rows, at_);
    if (first || spelling != spelling_)
        spellingValues(spelling, key_.data());
    spelling_ = spelling;
    for (const int column : keptColumns_)
        values_[static_cast<std::size_t>(column)] = takeScalar(rows, at_);
}

void GroupedRows::next() {
    if (atEnd())
        return;
    std::vector<std::string>& chunks = groups_[order_[group_]].chunks;
    if (at_ >= chunks[chunk_].size()) {
        chunks[chunk_] = std::string();  // read: give the memory back
        at_ = 0;
        if (++chunk_ == chunks.size()) {
            chunk_ = 0;
            if (++group_ == order_.size())
                return;
        }
    }
    readRow();
}

SqlScalar GroupedRows::value(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= values_.size())
        return {};
    if (const int k = keyIndex_[static_cast<std::size_t>(column)]; k >= 0)
        return key_[static_cast<std::size_t>(k)];
    return values_[static_cast<std::size_t>(column)];
}

}  // namespace jet::sql
