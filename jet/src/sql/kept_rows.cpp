#include "sql/kept_rows.h"

#include <algorithm>

#include "sql/sql_type.h"

namespace jet::sql {

namespace {

bool isRead(uint64_t columnsUsed, std::size_t column) {
    return (columnsUsed >> std::min<std::size_t>(column, 63)) & 1;
}

}  // namespace

void KeptRows::Owned::assign(const SqlScalar& s) {
    kind = s.kind;
    i = s.i;
    d = s.d;
    bytes.assign(s.bytes);
}

KeptRows::KeptRows(const TableDef& table, std::vector<ScanPlan::OrderKey> order, long long limit,
                   uint64_t columnsUsed)
    : order_(std::move(order)), limit_(static_cast<std::size_t>(std::max(0LL, limit))) {
    for (const ScanPlan::OrderKey& k : order_) {
        const Column& c = table.columns[static_cast<std::size_t>(k.column)];
        // Text columns are declared with the ACCESS collation, which their
        // ORDER BY uses.
        accessText_.push_back(isTextType(typeOfColumn(c.typeCode)));
    }
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        copied_.push_back(isRead(columnsUsed, c));
    current_.resize(order_.size());
    scratch_.resize(order_.size());
}

int KeptRows::compare(const SqlScalar* keys, uint64_t sequence, const Candidate& b) const {
    for (std::size_t k = 0; k < order_.size(); ++k) {
        const int c = compareScalars(keys[k], keys_[b.keyAt + k].view(), accessText_[k]);
        if (c != 0)
            return order_[k].descending ? -c : c;
    }
    return sequence < b.sequence ? -1 : sequence > b.sequence ? 1 : 0;
}

int KeptRows::compare(const Candidate& a, const Candidate& b) const {
    for (std::size_t k = 0; k < order_.size(); ++k) {
        const int c =
            compareScalars(keys_[a.keyAt + k].view(), keys_[b.keyAt + k].view(), accessText_[k]);
        if (c != 0)
            return order_[k].descending ? -c : c;
    }
    return a.sequence < b.sequence ? -1 : a.sequence > b.sequence ? 1 : 0;
}

bool KeptRows::readKeys(TableCursor& cursor) {
    for (std::size_t k = 0; k < order_.size(); ++k) {
        const ValueRef v = cursor.get(static_cast<std::size_t>(order_[k].column));
        current_[k] = toSqlScalar(v, scratch_[k]);
    }
    return cursor.status().isOk();
}

void KeptRows::add(uint64_t sequence, uint64_t rowId) {
    candidates_.push_back({sequence, rowId, keys_.size()});
    for (const SqlScalar& key : current_)
        keys_.emplace_back().assign(key);
}

void KeptRows::cut() {
    auto before = [this](const Candidate& a, const Candidate& b) { return compare(a, b) < 0; };
    if (candidates_.size() > limit_) {
        std::nth_element(candidates_.begin(), candidates_.begin() + (limit_ - 1), candidates_.end(),
                         before);
        candidates_.resize(limit_);
    }
    // The last kept row goes to the end of the kept ones: new rows, added
    // after it, are measured against it.
    std::iter_swap(std::max_element(candidates_.begin(), candidates_.end(), before),
                   candidates_.end() - 1);
    std::vector<Owned> keys;
    keys.reserve(candidates_.size() * order_.size());
    for (Candidate& c : candidates_) {
        const std::size_t at = keys.size();
        for (std::size_t k = 0; k < order_.size(); ++k)
            keys.push_back(std::move(keys_[c.keyAt + k]));
        c.keyAt = at;
    }
    keys_ = std::move(keys);
    full_ = candidates_.size() == limit_;
}

Status KeptRows::collect(TableCursor& cursor, ScanFilter& filter) {
    candidates_.clear();
    keys_.clear();
    rows_.clear();
    full_ = false;
    if (limit_ == 0)
        return Status::ok();
    const std::size_t capacity = std::max<std::size_t>(2 * limit_, limit_ + 1024);
    uint64_t sequence = 0;
    cursor.rewind();
    while (cursor.next()) {
        ++sequence;
        if (!filter.admits(cursor) || !readKeys(cursor))
            continue;
        if (full_ && compare(current_.data(), sequence, candidates_[limit_ - 1]) >= 0)
            continue;
        add(sequence, cursor.rowId());
        if (candidates_.size() >= capacity)
            cut();
    }
    if (!cursor.status().isOk())
        return cursor.status();
    std::sort(candidates_.begin(), candidates_.end(),
              [this](const Candidate& a, const Candidate& b) { return compare(a, b) < 0; });
    if (candidates_.size() > limit_)
        candidates_.resize(limit_);
    return copyRows(cursor);
}

// The second pass: the same scan again, copying the kept rows by position.
Status KeptRows::copyRows(TableCursor& cursor) {
    std::vector<std::size_t> byPosition(candidates_.size());
    for (std::size_t i = 0; i < byPosition.size(); ++i)
        byPosition[i] = i;
    std::sort(byPosition.begin(), byPosition.end(), [this](std::size_t a, std::size_t b) {
        return candidates_[a].sequence < candidates_[b].sequence;
    });
    rows_.assign(candidates_.size(), Row{});
    cursor.rewind();
    uint64_t sequence = 0;
    std::size_t next = 0;
    std::string scratch;
    while (next < byPosition.size() && cursor.next()) {
        const Candidate& wanted = candidates_[byPosition[next]];
        if (++sequence != wanted.sequence)
            continue;
        if (cursor.rowId() != wanted.rowId)
            break;
        Row& row = rows_[byPosition[next++]];
        row.sequence = wanted.sequence;
        row.rowId = wanted.rowId;
        row.cells.resize(copied_.size());
        for (std::size_t c = 0; c < copied_.size(); ++c) {
            if (copied_[c])
                row.cells[c].assign(toSqlScalar(cursor.get(c), scratch));
        }
    }
    if (!cursor.status().isOk())
        return cursor.status();
    if (next < byPosition.size()) {
        return Status(ErrorCode::Corrupt,
                      "The table '" + cursor.table().name + "' changed while it was read.");
    }
    return Status::ok();
}

void KeptRows::result(sqlite3_context* ctx, std::size_t row, int column) const {
    const auto& cells = rows_[row].cells;
    if (column < 0 || static_cast<std::size_t>(column) >= cells.size()) {
        sqlite3_result_null(ctx);
        return;
    }
    resultScalar(ctx, cells[static_cast<std::size_t>(column)].view());
}

}  // namespace jet::sql
