#include "sqlite_export.h"

#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "jet/portable_query.h"
#include "sqlite_schema.h"
#include "table_rows_copy.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using jet::ErrorCode;
using jet::Status;

constexpr uint64_t kProgressEvery = 1 << 14;
// From this size of Access file on, the copy uses SQLite's largest pages.
constexpr uintmax_t kLargeSource = uintmax_t{64} << 20;

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

class Exporter {
  public:
    Exporter(const jet::Database& db, sqlite3* out, const SqliteExportProgress& progress)
        : db_(db), out_(out), progress_(progress) {}

    Status run(SqliteExportSummary& summary);

  private:
    Status exec(const std::string& sql);
    std::string error() const { return sqlite3_errmsg(out_); }
    // The last SQLite error as a Status; one that means the file itself
    // cannot be written (a full disk) is kept, for it ends the whole copy.
    Status failure(const std::string& context = {});
    void copyTable(const jet::TableDef& table, SqliteExportSummary& summary);
    Status copyRows(const jet::TableDef& table, uint64_t& rows);
    bool goOn(const jet::TableDef& table, uint64_t rows, uint64_t expected) {
        stopped_ = stopped_ || (progress_ && !progress_(table.name, rows, expected));
        return !stopped_;
    }
    void createIndexes(const jet::TableDef& table, SqliteExportSummary& summary);
    void createView(const jet::QueryDef& query, SqliteExportSummary& summary);

    const jet::Database& db_;
    sqlite3* out_;
    const SqliteExportProgress& progress_;
    std::set<std::string> usedNames_;
    std::string feedName_;  // the table the rows are read from: no table's name
    bool stopped_ = false;
    Status outputFailure_;
};

Status Exporter::failure(const std::string& context) {
    Status st(ErrorCode::Io, error() + context);
    switch (sqlite3_errcode(out_)) {
        case SQLITE_FULL:
        case SQLITE_IOERR:
        case SQLITE_CORRUPT:
        case SQLITE_NOMEM:
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_NOTADB:
            if (outputFailure_)
                outputFailure_ = st;
            break;
        default:
            break;
    }
    return st;
}

Status Exporter::exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(out_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return Status::ok();
    sqlite3_free(message);  // the same text as sqlite3_errmsg
    return failure();
}

Status Exporter::run(SqliteExportSummary& summary) {
    // The file is new and replaces the target only when complete, so
    // SQLite's crash protection buys nothing here but time. A table that
    // fails part way is rolled back, which needs a journal: kept in memory,
    // it holds next to nothing, for SQLite journals only the pages that
    // existed before a transaction and a table's rows go onto new ones.
    // Two helper threads sort the keys of each new index.
    //
    // Large pages cost SQLite less for each row stored (fewer pages to
    // split, fetch and write), but every table and index takes at least
    // one, so a small file keeps the 4 KB default and stays small.
    std::error_code ec;
    if (fs::file_size(db_.path(), ec) >= kLargeSource && !ec)
        if (Status st = exec("PRAGMA page_size=65536"); !st)
            return st;
    if (Status st =
            exec("PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; "
                 "PRAGMA locking_mode=EXCLUSIVE; PRAGMA cache_size=-32768; PRAGMA threads=2");
        !st)
        return st;
    std::vector<const jet::TableDef*> tables;
    for (const jet::TableDef& t : db_.tables()) {
        if (t.isSystem())
            continue;
        usedNames_.insert(foldedName(t.name));
        if (t.isLinked())
            summary.skipped.push_back(
                "table '" + t.name + "': it is linked to " +
                (t.linkedDatabase.empty() ? "an ODBC source" : "'" + t.linkedDatabase + "'"));
        else
            tables.push_back(&t);
    }
    for (const jet::QueryDef& q : db_.queries())
        usedNames_.insert(foldedName(q.name));
    feedName_ = "access_rows";
    for (int n = 2; usedNames_.count(feedName_); ++n)
        feedName_ = "access_rows_" + std::to_string(n);
    for (const jet::TableDef* t : tables) {
        copyTable(*t, summary);
        if (stopped_)
            return Status(ErrorCode::Io, "stopped while copying table '" + t->name + "'");
        if (!outputFailure_)
            return outputFailure_;
    }
    for (const jet::QueryDef& q : db_.queries())
        if (!q.isHidden())
            createView(q, summary);
    return outputFailure_;
}

void Exporter::copyTable(const jet::TableDef& table, SqliteExportSummary& summary) {
    const bool jet3 = db_.format() == jet::FileFormat::Jet3;
    for (const jet::Column& c : table.columns)
        if (!isCopied(c))
            summary.skipped.push_back("column '" + table.name + "." + c.name +
                                      "': attachments and multi-valued fields are not copied");
    uint64_t rows = 0;
    Status st = exec("BEGIN");
    if (st)
        st = exec(createTable(table, jet3));
    if (st)
        st = copyRows(table, rows);
    if (st)
        st = exec("COMMIT");
    if (!st) {
        (void)exec("ROLLBACK");
        if (stopped_)
            return;
        summary.skipped.push_back("table '" + table.name + "': " + st.message());
        return;
    }
    ++summary.tables;
    summary.rows += rows;
    if (primaryKey(table))
        ++summary.indexes;
    createIndexes(table, summary);
}

Status Exporter::copyRows(const jet::TableDef& table, uint64_t& rows) {
    std::vector<size_t> copied;
    for (size_t i = 0; i < table.columns.size(); ++i)
        if (isCopied(table.columns[i]))
            copied.push_back(i);
    auto cursor = db_.openTable(table);
    if (!cursor)
        return cursor.status();
    const uint64_t expected = (*cursor)->estimatedRowCount();
    const TableRowsCopy copy =
        copyTableRows(out_, **cursor, copied, sqliteName(table.name), feedName_, kProgressEvery,
                      [&](uint64_t stored) { return goOn(table, stored, expected); });
    rows = copy.rows;
    switch (copy.end) {
        case TableRowsCopy::End::Stopped:
            return Status(ErrorCode::Io, "stopped");
        case TableRowsCopy::End::ReadFailed:
            return copy.readStatus;
        case TableRowsCopy::End::SqliteFailed:
            return failure(copy.failedRow > 0 ? " (row " + std::to_string(copy.failedRow) + ")"
                                              : std::string());
        case TableRowsCopy::End::Done:
            break;
    }
    if (!goOn(table, rows, expected))
        return Status(ErrorCode::Io, "stopped");
    return Status::ok();
}

void Exporter::createIndexes(const jet::TableDef& table, SqliteExportSummary& summary) {
    if (!table.indexError.empty())
        summary.skipped.push_back("indexes of '" + table.name + "': " + table.indexError);
    for (const jet::IndexDef& index : table.indexes) {
        if (index.primaryKey || index.foreignKey)
            continue;  // the key is part of the table; relationships are not copied
        const std::string sql = cli::createIndex(table, index, usedNames_);
        Status st =
            sql.empty() ? Status(ErrorCode::Corrupt, "it names a deleted column") : exec(sql);
        if (st)
            ++summary.indexes;
        else
            summary.skipped.push_back("index '" + table.name + "." + index.name +
                                      "': " + st.message());
    }
}

void Exporter::createView(const jet::QueryDef& query, SqliteExportSummary& summary) {
    auto portable = jet::portableQuery(db_, query, engineFormSource);
    if (!portable) {
        summary.skipped.push_back("query '" + query.name + "': " + portable.status().message());
        return;
    }
    Status st = exec(cli::createView(query.name, *portable));
    if (st) {
        // A view compiles only when used: preparing it finds what plain
        // SQLite lacks (the engine's functions, for one).
        sqlite3_stmt* probe = nullptr;
        const std::string use = "SELECT * FROM " + sqliteName(query.name);
        if (sqlite3_prepare_v2(out_, use.c_str(), -1, &probe, nullptr) != SQLITE_OK) {
            st = Status(ErrorCode::Unsupported, "plain SQLite cannot run it (" + error() + ")");
            (void)exec("DROP VIEW " + sqliteName(query.name));
        }
        sqlite3_finalize(probe);
    }
    if (st)
        ++summary.views;
    else
        summary.skipped.push_back("query '" + query.name + "': " + st.message());
}

Status refuseSource(const std::string& outPath) {
    return Status(ErrorCode::Io, "'" + outPath +
                                     "' is the database being copied; choose another name "
                                     "for the SQLite file");
}

}  // namespace

jet::Result<SqliteExportSummary> exportToSqlite(const jet::Database& db, const std::string& outPath,
                                                bool replace,
                                                const SqliteExportProgress& progress) {
    std::error_code ec;
    if (db.isFile(outPath))
        return refuseSource(outPath);
    // A device, pipe or folder in the name's place is never replaced, even
    // with --force: renaming over /dev/full would remove the device.
    if (fs::exists(outPath, ec) && !fs::is_regular_file(outPath, ec))
        return Status(ErrorCode::Io, "'" + outPath + "' is not a regular file");
    if (!replace && fs::exists(outPath, ec))
        return Status(ErrorCode::Io,
                      "'" + outPath + "' exists; choose another name or use --force");
    const fs::path target = fs::absolute(outPath, ec);
    std::string temp =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return Status(ErrorCode::Io, "cannot write in the folder of '" + outPath + "'");
    // mkstemp makes the file private; give it the mode any new file gets.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    SqliteExportSummary summary;
    Status st;
    {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(temp.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        Connection out(raw);
        st = rc == SQLITE_OK ? Exporter(db, out.get(), progress).run(summary)
                             : Status(ErrorCode::Io, sqlite3_errmsg(raw));
        if (st && sqlite3_close(out.release()) != SQLITE_OK)
            st = Status(ErrorCode::Io, "cannot finish the SQLite file");
    }
    if (st && db.isFile(outPath))
        st = refuseSource(outPath);  // made the source meanwhile
    if (st && std::rename(temp.c_str(), target.c_str()) != 0)
        st = Status(ErrorCode::Io, "cannot create '" + outPath + "'");
    if (!st) {
        fs::remove(temp, ec);
        return Status(st.code(), "cannot write '" + outPath + "': " + st.message());
    }
    return summary;
}

}  // namespace cli
