#include "side_table_copy.h"

#include <sqlite3.h>

#include <cstdio>
#include <utility>

#include "table_rows_copy.h"

namespace cli {

SideTableCopy::SideTableCopy(Setup setup, std::unique_ptr<jet::TableCursor> cursor)
    : setup_(std::move(setup)), cursor_(std::move(cursor)) {
    thread_ = std::thread([this] { run(); });
}

SideTableCopy::~SideTableCopy() {
    cancelled_ = true;
    if (thread_.joinable())
        thread_.join();
    std::remove(setup_.path.c_str());
}

const SideTableCopy::Outcome& SideTableCopy::wait() {
    if (thread_.joinable())
        thread_.join();
    return outcome_;
}

void SideTableCopy::run() {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(setup_.path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    auto failed = [&](jet::Status why) {
        outcome_.status = std::move(why);
        outcome_.sqliteCode = db ? sqlite3_errcode(db) : SQLITE_NOMEM;
    };
    auto exec = [&](const std::string& sql) {
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            failed(jet::Status(jet::ErrorCode::Io, sqlite3_errmsg(db)));
        return rc == SQLITE_OK;
    };
    if (rc != SQLITE_OK)
        failed(jet::Status(jet::ErrorCode::Io, db ? sqlite3_errmsg(db) : "out of memory"));
    else if (exec(setup_.pragmas) && exec("BEGIN") && exec(setup_.createTable)) {
        const RowFeed::Progress progress = [this](uint64_t stored) {
            return !cancelled_ && (!setup_.progress || setup_.progress(stored));
        };
        const TableRowsCopy copy = copyTableRows(db, *cursor_, setup_.columns, setup_.target,
                                                 setup_.feedName, setup_.progressEvery, progress);
        outcome_.rows = copy.rows;
        outcome_.stopped = copy.end == TableRowsCopy::End::Stopped;
        if (copy.end == TableRowsCopy::End::Done)
            (void)exec("COMMIT");
        else if (copy.end == TableRowsCopy::End::SqliteFailed)
            failed(rowsCopyStatus(copy, db));
        else
            outcome_.status = rowsCopyStatus(copy, db);
    }
    if (sqlite3_close(db) != SQLITE_OK) {
        sqlite3_close_v2(db);
        if (outcome_.status) {
            outcome_.status = jet::Status(jet::ErrorCode::Io, "cannot finish the SQLite file");
            outcome_.sqliteCode = SQLITE_IOERR;
        }
    }
    cursor_.reset();
}

}  // namespace cli
