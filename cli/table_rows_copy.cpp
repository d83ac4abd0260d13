#include "table_rows_copy.h"

#include <memory>

#include "read_ahead.h"
#include "sqlite_schema.h"
#include "stored_row_batch.h"

namespace cli {
namespace {

struct Finalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

}  // namespace

TableRowsCopy copyTableRows(sqlite3* out, jet::TableCursor& cursor,
                            const std::vector<size_t>& columns, const std::string& target,
                            const std::string& feedName, uint64_t progressEvery,
                            const RowFeed::Progress& progress, std::optional<size_t> rowidColumn) {
    TableRowsCopy result;
    // The rows are decoded, and put in the form SQLite stores, on a second
    // thread while SQLite stores the batch before; a row whose value fails
    // is not stored. One statement takes them all.
    ReadAhead<StoredRowBatch> reader(cursor, columns, FailedRow::Drop);
    RowFeed feed(out, feedName, reader, columns.size(), progressEvery, progress, rowidColumn);
    if (!feed.registered()) {
        result.end = TableRowsCopy::End::SqliteFailed;
        return result;
    }
    const std::string sql = "INSERT INTO " + target + " SELECT * FROM " + sqliteName(feedName);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(out, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        result.end = TableRowsCopy::End::SqliteFailed;
        return result;
    }
    Statement insert(raw);
    const int rc = sqlite3_step(insert.get());
    result.rows = feed.rowsStored();
    if (feed.stopped()) {
        result.end = TableRowsCopy::End::Stopped;
    } else if (feed.readFailed()) {
        result.end = TableRowsCopy::End::ReadFailed;
        result.readStatus = reader.status();
    } else if (rc != SQLITE_DONE) {
        result.end = TableRowsCopy::End::SqliteFailed;
        result.failedRow = feed.rowNumber();
    }
    return result;
}

jet::Status rowsCopyStatus(const TableRowsCopy& copy, sqlite3* out) {
    switch (copy.end) {
        case TableRowsCopy::End::Done:
            break;
        case TableRowsCopy::End::Stopped:
            return jet::Status(jet::ErrorCode::Io, "stopped");
        case TableRowsCopy::End::ReadFailed:
            return copy.readStatus;
        case TableRowsCopy::End::SqliteFailed:
            return jet::Status(
                jet::ErrorCode::Io,
                sqlite3_errmsg(out) + (copy.failedRow > 0
                                           ? " (row " + std::to_string(copy.failedRow) + ")"
                                           : std::string()));
    }
    return jet::Status::ok();
}

bool endsTheCopy(int code) {
    switch (code) {
        case SQLITE_FULL:
        case SQLITE_IOERR:
        case SQLITE_CORRUPT:
        case SQLITE_NOMEM:
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_NOTADB:
            return true;
        default:
            return false;
    }
}

}  // namespace cli
