#include "row_feed.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

namespace cli {
namespace {

struct FeedTable {
    sqlite3_vtab base{};
    RowFeed* feed = nullptr;
};

struct FeedCursor {
    sqlite3_vtab_cursor base{};
    RowFeed* feed = nullptr;
};

RowFeed* feedOf(sqlite3_vtab_cursor* cursor) {
    return reinterpret_cast<FeedCursor*>(cursor)->feed;
}

// Column names of our own: the statement reads them with *, in order.
std::string declaration(size_t columns) {
    std::string sql = "CREATE TABLE x(";
    for (size_t i = 0; i < columns; ++i)
        sql += (i == 0 ? "c" : ", c") + std::to_string(i);
    return sql + ")";
}

// No C++ exception may unwind through SQLite's frames: each callback that
// can allocate turns one into an error code here.
template <typename F>
int guarded(F&& f) noexcept {
    try {
        return std::forward<F>(f)();
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    } catch (...) {
        return SQLITE_ERROR;
    }
}

int connect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    return guarded([&] {
        auto* feed = static_cast<RowFeed*>(aux);
        const int rc = sqlite3_declare_vtab(db, declaration(feed->columns()).c_str());
        if (rc != SQLITE_OK)
            return rc;
        auto* table = new FeedTable;
        table->feed = feed;
        *out = &table->base;
        return SQLITE_OK;
    });
}

int disconnect(sqlite3_vtab* table) {
    delete reinterpret_cast<FeedTable*>(table);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
    info->estimatedCost = 1e9;  // one full pass is the only plan
    return SQLITE_OK;
}

int open(sqlite3_vtab* table, sqlite3_vtab_cursor** out) {
    auto* cursor = new (std::nothrow) FeedCursor;
    if (!cursor)
        return SQLITE_NOMEM;
    cursor->feed = reinterpret_cast<FeedTable*>(table)->feed;
    *out = &cursor->base;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cursor) {
    delete reinterpret_cast<FeedCursor*>(cursor);
    return SQLITE_OK;
}

// An error ends the statement; the owner of the feed knows what happened
// and says so in its own words.
int failed(sqlite3_vtab_cursor* cursor) {
    sqlite3_free(cursor->pVtab->zErrMsg);
    cursor->pVtab->zErrMsg = sqlite3_mprintf("the rows ended early");
    return SQLITE_ERROR;
}

int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**) {
    return guarded([&] { return feedOf(cursor)->start() ? SQLITE_OK : failed(cursor); });
}

int next(sqlite3_vtab_cursor* cursor) {
    return guarded([&] { return feedOf(cursor)->advance() ? SQLITE_OK : failed(cursor); });
}

int eof(sqlite3_vtab_cursor* cursor) {
    return feedOf(cursor)->atEnd() ? 1 : 0;
}

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* context, int index) {
    feedOf(cursor)->result(context, static_cast<size_t>(index));
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* out) {
    *out = static_cast<sqlite3_int64>(feedOf(cursor)->rowNumber());
    return SQLITE_OK;
}

// Without xCreate the table is eponymous only: it exists under the module's
// name, never in a schema.
sqlite3_module makeModule() {
    sqlite3_module m{};
    m.xConnect = connect;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xDestroy = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    return m;
}

}  // namespace

RowFeed::RowFeed(sqlite3* db, std::string name, ReadAhead<StoredRowBatch>& reader, size_t columns,
                 uint64_t progressEvery, Progress progress, std::optional<size_t> rowidColumn)
    : db_(db),
      name_(std::move(name)),
      reader_(reader),
      columns_(columns),
      progressEvery_(progressEvery),
      untilProgress_(progressEvery == 0 ? UINT64_MAX : progressEvery),  // 0: never
      progress_(std::move(progress)),
      rowidColumn_(rowidColumn) {
    static const sqlite3_module module = makeModule();
    registered_ = sqlite3_create_module(db_, name_.c_str(), &module, this) == SQLITE_OK;
}

RowFeed::~RowFeed() {
    if (registered_)
        sqlite3_create_module(db_, name_.c_str(), nullptr, nullptr);
}

bool RowFeed::start() {
    if (started_)
        return false;  // the rows go by once
    started_ = true;
    return takeBatch();
}

bool RowFeed::advance() {
    ++stored_;
    rowidStored();
    // A countdown, not stored_ % progressEvery_: a division on every row
    // is a cost SQLite's thread can feel.
    if (--untilProgress_ == 0) {
        untilProgress_ = progressEvery_;
        if (progress_ && !progress_(stored_)) {
            stopped_ = true;
            return false;
        }
    }
    if (++row_ < batch_->rows()) {
        values_ = batch_->row(row_);
        noteRowid();
        return true;
    }
    return takeBatch();
}

void RowFeed::noteRowid() {
    rowidAsNull_ = false;
    if (!rowidColumn_ || values_.kind(*rowidColumn_) != StoredRowBatch::Kind::Integer)
        return;
    const int64_t key = values_.integer(*rowidColumn_);
    // SQLite's own next rowid: one past the largest, 1 in an empty table.
    rowidAsNull_ = anyRowid_ ? largestRowid_ < INT64_MAX && key == largestRowid_ + 1 : key == 1;
}

void RowFeed::rowidStored() {
    if (!rowidColumn_)
        return;
    const StoredRowBatch::Kind kind = values_.kind(*rowidColumn_);
    if (kind != StoredRowBatch::Kind::Integer) {
        // SQLite made the rowid of its own (a NULL) or from a text or a
        // real: the largest is no longer known here.
        rowidColumn_.reset();
        rowidAsNull_ = false;
        return;
    }
    const int64_t key = values_.integer(*rowidColumn_);
    largestRowid_ = anyRowid_ ? std::max(largestRowid_, key) : key;
    anyRowid_ = true;
}

bool RowFeed::takeBatch() {
    do
        batch_ = reader_.next();
    while (batch_ && batch_->rows() == 0);
    row_ = 0;
    if (batch_) {
        values_ = batch_->row(0);
        noteRowid();
    }
    readFailed_ = !batch_ && !reader_.status();
    return !readFailed_;
}

void RowFeed::result(sqlite3_context* context, size_t column) const {
    using K = StoredRowBatch::Kind;
    // The batch keeps the bytes until the next row is asked for, and SQLite
    // has stored this row by then.
    switch (values_.kind(column)) {
        case K::Null:
            sqlite3_result_null(context);
            return;
        case K::Integer:
            if (rowidAsNull_ && column == *rowidColumn_)
                sqlite3_result_null(context);
            else
                sqlite3_result_int64(context, values_.integer(column));
            return;
        case K::Real:
            sqlite3_result_double(context, values_.real(column));
            return;
        case K::Text:
        case K::Blob: {
            const std::string_view bytes = values_.bytes(column);
            if (bytes.size() > INT_MAX)
                sqlite3_result_error_toobig(context);
            else if (values_.kind(column) == K::Text)
                sqlite3_result_text(context, bytes.data(), static_cast<int>(bytes.size()),
                                    SQLITE_STATIC);
            else
                sqlite3_result_blob(context, bytes.data(), static_cast<int>(bytes.size()),
                                    SQLITE_STATIC);
            return;
        }
    }
}

}  // namespace cli
