#include "sqlite_export.h"

#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "jet/portable_query.h"
#include "side_copy.h"
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
// SQLite's page cache while rows are stored, and while an index is built.
constexpr int kCacheKiB = 32 * 1024;
constexpr int kSortRunKiB = 4 * 1024;

// The settings a connection builds indexes with. SQLite sorts a new index's
// keys in runs as large as the page cache: runs of a few MB stay in the CPU's
// caches, where one run of the whole index is sorted by chasing pointers
// through memory. Its helper threads sort runs while the table is still
// being read, which shortens an index built alone but costs more work in
// all; while tables are being copied beside, the cores have no time to spare.
std::string indexPragmas(bool copyingBeside) {
    return "PRAGMA cache_size=-" + std::to_string(kSortRunKiB) +
           "; PRAGMA threads=" + (copyingBeside ? "0" : "2");
}

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

class Exporter {
  public:
    // `outPath` is the file `out` writes: a table copied beside the others
    // goes to a file of its own in the same folder.
    Exporter(const jet::Database& db, sqlite3* out, std::string outPath,
             const SqliteExportProgress& progress, const SqliteExportTuning& tuning)
        : db_(db), out_(out), outPath_(std::move(outPath)), progress_(progress), tuning_(tuning) {}

    Status run(SqliteExportSummary& summary);

  private:
    Status exec(const std::string& sql);
    std::string error() const { return sqlite3_errmsg(out_); }
    // The last SQLite error as a Status; one that means the file itself
    // cannot be written (a full disk) is kept, for it ends the whole copy.
    Status failure(const std::string& context = {});
    void noteColumnsLeftOut(const jet::TableDef& table, SqliteExportSummary& summary);
    void copyTable(const jet::TableDef& table, SqliteExportSummary& summary);
    Status copyRows(const jet::TableDef& table, uint64_t& rows);
    // Called from the thread copying beside, too.
    bool goOn(const jet::TableDef& table, uint64_t rows, uint64_t expected) {
        std::lock_guard lock(progressMutex_);
        if (!stopped_ && progress_ && !progress_(table.name, rows, expected)) {
            stopped_ = true;
            stoppedIn_ = table.name;
        }
        return !stopped_;
    }
    // Why the copy stopped, naming the table, once the progress call said stop.
    Status stopStatus() {
        std::lock_guard lock(progressMutex_);
        return stopped_ ? Status(ErrorCode::Io, "stopped while copying table '" + stoppedIn_ + "'")
                        : Status::ok();
    }
    // An index of a table copied beside, made on the empty table in its
    // turn (unless that failed), and where its line of the summary goes
    // should building it over the rows fail.
    struct SideIndex {
        const jet::IndexDef* index = nullptr;
        std::string name;  // quoted; empty when not made
        size_t summarySlot = 0;
    };
    // A table copied beside the others, and the lines of the summary its
    // turn gave ([summarySlot, summaryEnd)), which one line replaces should
    // its copy fail.
    struct SideTable {
        const jet::TableDef* table = nullptr;
        bool created = false;  // made empty in its turn
        size_t summarySlot = 0;
        size_t summaryEnd = 0;
        std::vector<SideIndex> indexes;
    };
    std::vector<const jet::TableDef*> sideCandidates(
        const std::vector<const jet::TableDef*>& tables) const;
    void startSideCopy(const std::vector<const jet::TableDef*>& tables, const std::string& pragmas);
    SideTable* sideTable(const jet::TableDef& table);
    void createSideTable(SideTable& side, SqliteExportSummary& summary);
    Status finishSideTables(SqliteExportSummary& summary);
    // With `made`, for a table whose rows come later: each index is listed
    // there and counted once its keys have arrived.
    void createIndexes(const jet::TableDef& table, SqliteExportSummary& summary,
                       std::vector<SideIndex>* made = nullptr);
    void createView(const jet::QueryDef& query, SqliteExportSummary& summary);

    const jet::Database& db_;
    sqlite3* out_;
    std::string outPath_;
    const SqliteExportProgress& progress_;
    SqliteExportTuning tuning_;
    std::set<std::string> usedNames_;
    std::string feedName_;  // the table the rows are read from: no table's name
    std::mutex progressMutex_;
    bool stopped_ = false;  // guarded by progressMutex_, as is stoppedIn_
    std::string stoppedIn_;
    Status outputFailure_;
    std::vector<SideTable> sideTables_;
    std::unique_ptr<SideCopy> side_;
};

Status Exporter::failure(const std::string& context) {
    Status st(ErrorCode::Io, error() + context);
    if (endsTheCopy(sqlite3_errcode(out_)) && outputFailure_)
        outputFailure_ = st;
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
    // SQLite as Debian builds it overwrites deleted content (secure_delete),
    // which clears every new page of a table or index a second time; a file
    // that only gains rows has nothing deleted worth overwriting.
    //
    // Large pages cost SQLite less for each row stored (fewer pages to
    // split, fetch and write), but every table and index takes at least
    // one, so a small file keeps the 4 KB default and stays small.
    std::error_code ec;
    const bool large = fs::file_size(db_.path(), ec) >= kLargeSource && !ec;
    const std::string pragmas =
        std::string(large ? "PRAGMA page_size=65536; " : "") +
        "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; "
        "PRAGMA locking_mode=EXCLUSIVE; PRAGMA secure_delete=OFF; PRAGMA cache_size=-" +
        std::to_string(kCacheKiB) + "; PRAGMA threads=2";
    if (Status st = exec(pragmas); !st)
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
    if (const auto side = sideCandidates(tables); !side.empty())
        startSideCopy(side, pragmas);
    for (const jet::TableDef* t : tables) {
        if (SideTable* side = sideTable(*t))
            createSideTable(*side, summary);
        else
            copyTable(*t, summary);
        if (Status st = stopStatus(); !st)
            return st;
        if (!outputFailure_)
            return outputFailure_;
    }
    if (Status st = finishSideTables(summary); !st)
        return st;
    if (Status st = stopStatus(); !st)
        return st;
    for (const jet::QueryDef& q : db_.queries())
        if (!q.isHidden())
            createView(q, summary);
    return outputFailure_;
}

void Exporter::noteColumnsLeftOut(const jet::TableDef& table, SqliteExportSummary& summary) {
    for (const jet::Column& c : table.columns)
        if (!isCopied(c))
            summary.skipped.push_back("column '" + table.name + "." + c.name +
                                      "': attachments and multi-valued fields are not copied");
}

void Exporter::copyTable(const jet::TableDef& table, SqliteExportSummary& summary) {
    const bool jet3 = db_.format() == jet::FileFormat::Jet3;
    noteColumnsLeftOut(table, summary);
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
        if (!stopStatus())
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
    const CopiedColumns copied = copiedColumns(table);
    auto cursor = db_.openTable(table);
    if (!cursor)
        return cursor.status();
    const uint64_t expected = (*cursor)->estimatedRowCount();
    const TableRowsCopy copy = copyTableRows(
        out_, **cursor, copied.columns, sqliteName(table.name), feedName_, kProgressEvery,
        [&](uint64_t stored) { return goOn(table, stored, expected); }, copied.rowid);
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

// The tables to copy beside the others: those whose cursors may be read
// beside the database's other cursors, largest first (those without
// indexes of their own before those with, which cost more to move in),
// while the tables left in turn hold work enough to overlap with them;
// none unless the first is big enough to be worth a file of its own.
std::vector<const jet::TableDef*> Exporter::sideCandidates(
    const std::vector<const jet::TableDef*>& tables) const {
    std::vector<const jet::TableDef*> side;
    if (std::thread::hardware_concurrency() < 2)
        return side;
    uint64_t inTurn = 0;
    for (const jet::TableDef* t : tables)
        inTurn += t->storedRowCount;
    auto ownIndexes = [](const jet::TableDef* t) {
        return std::any_of(t->indexes.begin(), t->indexes.end(),
                           [](const jet::IndexDef& i) { return !i.primaryKey && !i.foreignKey; });
    };
    std::vector<const jet::TableDef*> eligible = tables;
    std::stable_sort(eligible.begin(), eligible.end(), [&](const auto* a, const auto* b) {
        if (ownIndexes(a) != ownIndexes(b))
            return !ownIndexes(a);
        return a->storedRowCount > b->storedRowCount;
    });
    if (eligible.empty() || eligible.front()->storedRowCount < tuning_.besideFromRows)
        return side;
    uint64_t beside = 0;
    for (const jet::TableDef* t : eligible) {
        const uint64_t rows = t->storedRowCount;
        if (!tuning_.besideEvenAlone && beside + rows > 3 * (inTurn - rows))
            continue;
        beside += rows;
        inTurn -= rows;
        side.push_back(t);
    }
    return side;
}

void Exporter::startSideCopy(const std::vector<const jet::TableDef*>& tables,
                             const std::string& pragmas) {
    SideCopy::Setup setup;
    std::vector<SideTable> chosen;
    // The indexes' names in the second file are its own: moving the rows
    // in matches indexes by what they hold.
    std::set<std::string> sideNames;
    for (const jet::TableDef* table : tables)
        sideNames.insert(foldedName(table->name));
    for (const jet::TableDef* table : tables) {
        auto cursor = db_.openTable(*table);
        if (!cursor || (*cursor)->pageCount() == 0)
            continue;  // copied in its turn, as any other table
        SideCopy::Table copy;
        copy.createTable = createTable(*table, db_.format() == jet::FileFormat::Jet3);
        copy.target = sqliteName(table->name);
        CopiedColumns copied = copiedColumns(*table);
        copy.columns = std::move(copied.columns);
        copy.rowidColumn = copied.rowid;
        for (const jet::IndexDef& index : table->indexes)
            if (!index.primaryKey && !index.foreignKey)
                copy.indexes.push_back(cli::createIndex(*table, index, sideNames));
        const uint64_t expected = (*cursor)->estimatedRowCount();
        copy.progress = [this, table, expected](uint64_t stored) {
            return goOn(*table, stored, expected);
        };
        copy.cursor = std::move(*cursor);
        setup.tables.push_back(std::move(copy));
        SideTable side;
        side.table = table;
        chosen.push_back(std::move(side));
    }
    if (chosen.empty())
        return;
    setup.path = outPath_ + ".XXXXXX";
    const int fd = mkstemp(setup.path.data());
    if (fd < 0)
        return;
    close(fd);
    setup.pragmas = pragmas;
    setup.indexPragmas = indexPragmas(true);
    setup.feedName = feedName_;
    setup.progressEvery = kProgressEvery;
    const std::string path = setup.path;
    try {
        side_ = std::make_unique<SideCopy>(std::move(setup));
        sideTables_ = std::move(chosen);
    } catch (const std::system_error&) {
        std::remove(path.c_str());  // no thread to spare: copied in their turns
    }
}

Exporter::SideTable* Exporter::sideTable(const jet::TableDef& table) {
    for (SideTable& s : sideTables_)
        if (s.table == &table)
            return &s;
    return nullptr;
}

// In the table's turn: the table made empty, so that the tables of the file
// keep the order of the Access file's; its rows come when copied.
void Exporter::createSideTable(SideTable& side, SqliteExportSummary& summary) {
    const jet::TableDef& table = *side.table;
    noteColumnsLeftOut(table, summary);
    Status st = exec("BEGIN");
    if (st)
        st = exec(createTable(table, db_.format() == jet::FileFormat::Jet3));
    if (st)
        st = exec("COMMIT");
    if (!st) {
        (void)exec("ROLLBACK");
        summary.skipped.push_back("table '" + table.name + "': " + st.message());
        return;  // left out as any other table would be; its copy beside is not used
    }
    side.created = true;
    side.summarySlot = summary.skipped.size();
    // The indexes are made now, on the empty table, so that they too keep
    // the order they have when copied in turn; their keys come with the rows.
    createIndexes(table, summary, &side.indexes);
    side.summaryEnd = summary.skipped.size();
    (void)goOn(table, 0, table.storedRowCount);  // its rows are on their way
}

// Moves the rows copied beside into the output, or leaves a table out with
// the reason when its copy failed.
Status Exporter::finishSideTables(SqliteExportSummary& summary) {
    if (!side_)
        return Status::ok();
    const std::vector<SideCopy::Outcome> outcomes = side_->wait();
    for (const SideCopy::Outcome& outcome : outcomes)
        if (!outcome.status && endsTheCopy(outcome.sqliteCode))
            return outcome.status;  // the disk the output is on is full
    char* attach = sqlite3_mprintf("ATTACH DATABASE %Q AS side_copy", side_->path().c_str());
    const Status attached = attach ? exec(attach) : Status(ErrorCode::Io, "out of memory");
    sqlite3_free(attach);
    // Backwards, so that the lines of the summary still to come keep their places.
    for (size_t i = sideTables_.size(); i-- > 0;) {
        const SideTable& side = sideTables_[i];
        const SideCopy::Outcome& outcome = outcomes[i];
        if (!side.created)
            continue;
        const jet::TableDef& table = *side.table;
        const std::string name = sqliteName(table.name);
        Status st = outcome.status;
        if (st)
            st = attached;
        // An index whose keys the rows beside could not take (a unique one
        // over duplicates) goes, as it would have failed in turn; rows move
        // in record by record only into indexes the second file has too.
        for (size_t k = 0; st && k < side.indexes.size(); ++k)
            if (!side.indexes[k].name.empty() && !outcome.indexes[k])
                st = exec("DROP INDEX main." + side.indexes[k].name);
        if (st)
            st = exec("BEGIN");
        if (st)
            st = exec("INSERT INTO main." + name + " SELECT * FROM side_copy." + name);
        if (st)
            st = exec("COMMIT");
        if (st) {
            if (!goOn(table, outcome.rows, outcome.rows))
                break;
            ++summary.tables;
            summary.rows += outcome.rows;
            if (primaryKey(table))
                ++summary.indexes;
            for (size_t k = side.indexes.size(); k-- > 0;) {
                const SideIndex& made = side.indexes[k];
                if (made.name.empty())
                    continue;
                if (outcome.indexes[k]) {
                    ++summary.indexes;
                    continue;
                }
                summary.skipped.insert(
                    summary.skipped.begin() + static_cast<std::ptrdiff_t>(made.summarySlot),
                    "index '" + table.name + "." + made.index->name +
                        "': " + outcome.indexes[k].message());
            }
            continue;
        }
        (void)exec("ROLLBACK");
        if (outcome.stopped || !outputFailure_)
            break;  // reported as such
        (void)exec("DROP TABLE main." + name);
        const auto begin = summary.skipped.begin();
        summary.skipped.erase(begin + static_cast<std::ptrdiff_t>(side.summarySlot),
                              begin + static_cast<std::ptrdiff_t>(side.summaryEnd));
        summary.skipped.insert(
            summary.skipped.begin() + static_cast<std::ptrdiff_t>(side.summarySlot),
            "table '" + table.name + "': " + st.message());
    }
    if (attached)
        (void)exec("DETACH DATABASE side_copy");
    side_.reset();
    return outputFailure_;
}

void Exporter::createIndexes(const jet::TableDef& table, SqliteExportSummary& summary,
                             std::vector<SideIndex>* made) {
    if (!table.indexError.empty())
        summary.skipped.push_back("indexes of '" + table.name + "': " + table.indexError);
    const bool anyIndex =
        std::any_of(table.indexes.begin(), table.indexes.end(),
                    [](const jet::IndexDef& i) { return !i.primaryKey && !i.foreignKey; });
    if (anyIndex)
        (void)exec(indexPragmas(side_ && !side_->finished()));
    for (const jet::IndexDef& index : table.indexes) {
        if (index.primaryKey || index.foreignKey)
            continue;  // the key is part of the table; relationships are not copied
        SideIndex side{&index, {}, summary.skipped.size()};
        std::string name;
        const std::string sql = cli::createIndex(table, index, usedNames_, &name);
        Status st =
            sql.empty() ? Status(ErrorCode::Corrupt, "it names a deleted column") : exec(sql);
        if (!st)
            summary.skipped.push_back("index '" + table.name + "." + index.name +
                                      "': " + st.message());
        else if (made)
            side.name = name;
        else
            ++summary.indexes;
        if (made)
            made->push_back(side);
    }
    if (anyIndex)
        (void)exec("PRAGMA cache_size=-" + std::to_string(kCacheKiB) + "; PRAGMA threads=2");
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
                                                bool replace, const SqliteExportProgress& progress,
                                                const SqliteExportTuning& tuning) {
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
        st = rc == SQLITE_OK ? Exporter(db, out.get(), temp, progress, tuning).run(summary)
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
