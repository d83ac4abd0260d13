#include "side_copy.h"

#include <sqlite3.h>

#include <cstdio>
#include <utility>

#include "table_rows_copy.h"

namespace cli {

SideCopy::SideCopy(Setup setup) : setup_(std::move(setup)), outcomes_(setup_.tables.size()) {
    thread_ = std::thread([this] { run(); });
}

SideCopy::~SideCopy() {
    cancelled_ = true;
    if (thread_.joinable())
        thread_.join();
    std::remove(setup_.path.c_str());
}

const std::vector<SideCopy::Outcome>& SideCopy::wait() {
    if (thread_.joinable())
        thread_.join();
    return outcomes_;
}

void SideCopy::run() {
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(setup_.path.c_str(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    auto exec = [&](const std::string& sql) {
        return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    };
    auto sqliteFailure = [&](Outcome& outcome, jet::Status why) {
        outcome.status = std::move(why);
        outcome.sqliteCode = db ? sqlite3_errcode(db) : SQLITE_NOMEM;
    };
    auto lastError = [&] { return jet::Status(jet::ErrorCode::Io, sqlite3_errmsg(db)); };
    bool goOn = opened == SQLITE_OK && exec(setup_.pragmas);
    if (!goOn && !outcomes_.empty())
        sqliteFailure(outcomes_.front(),
                      db ? lastError() : jet::Status(jet::ErrorCode::Io, "out of memory"));
    for (size_t i = 0; i < setup_.tables.size(); ++i) {
        Table& table = setup_.tables[i];
        Outcome& outcome = outcomes_[i];
        if (!goOn) {
            if (outcome.status)
                outcome.status = jet::Status(jet::ErrorCode::Io, "not copied");
            continue;
        }
        if (!exec("BEGIN") || !exec(table.createTable)) {
            sqliteFailure(outcome, lastError());
        } else {
            const RowFeed::Progress progress = [this, &table](uint64_t stored) {
                return !cancelled_ && (!table.progress || table.progress(stored));
            };
            const TableRowsCopy copy =
                copyTableRows(db, *table.cursor, table.columns, table.target, setup_.feedName,
                              setup_.progressEvery, progress, table.rowidColumn);
            outcome.rows = copy.rows;
            outcome.stopped = copy.end == TableRowsCopy::End::Stopped;
            if (copy.end == TableRowsCopy::End::SqliteFailed)
                sqliteFailure(outcome, rowsCopyStatus(copy, db));
            else if (copy.end != TableRowsCopy::End::Done)
                outcome.status = rowsCopyStatus(copy, db);
            else if (!exec("COMMIT"))
                sqliteFailure(outcome, lastError());
        }
        table.cursor.reset();
        if (outcome.status && !table.indexes.empty())
            (void)exec(setup_.indexPragmas);
        for (const std::string& index : table.indexes) {
            if (!outcome.status)
                break;
            if (exec(index)) {
                outcome.indexes.push_back(jet::Status::ok());
            } else if (endsTheCopy(sqlite3_errcode(db))) {
                sqliteFailure(outcome, lastError());
            } else {
                outcome.indexes.push_back(lastError());
            }
        }
        if (!outcome.status) {
            (void)exec("ROLLBACK");
            // A stop, or a file that cannot be written, ends the copy.
            goOn = !outcome.stopped && !endsTheCopy(outcome.sqliteCode);
        }
    }
    if (sqlite3_close(db) != SQLITE_OK) {
        sqlite3_close_v2(db);
        for (Outcome& outcome : outcomes_)
            if (outcome.status) {
                outcome.status = jet::Status(jet::ErrorCode::Io, "cannot finish the SQLite file");
                outcome.sqliteCode = SQLITE_IOERR;
            }
    }
    finished_ = true;
}

}  // namespace cli
