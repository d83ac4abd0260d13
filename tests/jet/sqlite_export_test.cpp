// Copying Access files into SQLite: every table's rows match the engine's
// export text (count and an order-free checksum), keys and indexes arrive,
// saved select queries become views that plain sqlite3 runs, and the target
// file is only ever complete or untouched.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "jet/database.h"
#include "jet/sql_session.h"
#include "jet/value_format.h"
#include "row_writer.h"
#include "sqlite_export.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

struct Checksum {
    uint64_t rows = 0;
    uint64_t sum = 0;  // sum of row hashes: independent of row order
    bool operator==(const Checksum&) const = default;
};

void addRow(Checksum& c, const std::string& line) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char ch : line)
        h = (h ^ ch) * 1099511628211ull;
    ++c.rows;
    c.sum += h;
}

// Each row as the command-line export writes its values, fields separated by \x1f.
Checksum engineChecksum(const jet::Database& db, const jet::TableDef& t) {
    Checksum c;
    auto cursor = db.openTable(t);
    EXPECT_TRUE(cursor) << cursor.status().message();
    if (!cursor)
        return c;
    std::string line;
    while ((*cursor)->next()) {
        line.clear();
        for (size_t i = 0; i < t.columns.size(); ++i) {
            if (t.columns[i].type() == jet::ColumnType::Complex)
                continue;
            cli::appendPlainValue((*cursor)->get(i), line);
            line += '\x1f';
        }
        addRow(c, line);
    }
    EXPECT_TRUE((*cursor)->status()) << (*cursor)->status().message();
    return c;
}

// The stored SQLite value in the export's text form for its Access column.
void appendStored(sqlite3_stmt* s, int i, const jet::Column& col, std::string& out) {
    using T = jet::ColumnType;
    if (sqlite3_column_type(s, i) == SQLITE_NULL)
        return;
    const auto text = [&] {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                           sqlite3_column_bytes(s, i));
    };
    switch (col.type()) {
        case T::Boolean:
            out += sqlite3_column_int(s, i) ? "true" : "false";
            break;
        case T::Single:
            out += jet::formatSingle(static_cast<float>(sqlite3_column_double(s, i)));
            break;
        case T::Double:
            out += jet::formatDouble(sqlite3_column_double(s, i));
            break;
        case T::DateTime:
        case T::DateTimeExtended: {
            std::string d = text();
            if (d.size() > 10 && d[10] == ' ')
                d[10] = 'T';
            out += d;
            break;
        }
        case T::Binary:
        case T::Ole:
            out += jet::hexString(std::string_view(
                static_cast<const char*>(sqlite3_column_blob(s, i)), sqlite3_column_bytes(s, i)));
            break;
        default:
            if (sqlite3_column_type(s, i) == SQLITE_BLOB && col.valueType() != jet::ValueType::Text)
                out += jet::hexString(text());
            else
                out += text();
    }
}

Checksum sqliteChecksum(sqlite3* out, const jet::TableDef& t) {
    Checksum c;
    std::vector<const jet::Column*> columns;
    std::string list;
    for (const jet::Column& col : t.columns) {
        if (col.type() == jet::ColumnType::Complex)
            continue;
        columns.push_back(&col);
        list += (list.empty() ? "\"" : ", \"") + col.name + "\"";
    }
    const std::string sql = "SELECT " + list + " FROM \"" + t.name + "\"";
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(out, sql.c_str(), -1, &s, nullptr), SQLITE_OK)
        << sql << ": " << sqlite3_errmsg(out);
    std::string line;
    while (s && sqlite3_step(s) == SQLITE_ROW) {
        line.clear();
        for (size_t i = 0; i < columns.size(); ++i) {
            appendStored(s, static_cast<int>(i), *columns[i], line);
            line += '\x1f';
        }
        addRow(c, line);
    }
    sqlite3_finalize(s);
    return c;
}

struct Converted {
    std::string dir, path;
    cli::SqliteExportSummary summary;
};

Converted convert(const jet::Database& db) {
    Converted c;
    c.dir = jettest::makeTempDir();
    c.path = c.dir + "/out.sqlite";
    auto summary = cli::exportToSqlite(db, c.path, false);
    EXPECT_TRUE(summary) << summary.status().message();
    if (summary)
        c.summary = *summary;
    return c;
}

void expectTablesMatch(const jet::Database& db, const std::string& path, const std::string& what) {
    sqlite3* out = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &out, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    for (const jet::TableDef& t : db.tables()) {
        if (t.isSystem() || t.isLinked())
            continue;
        const Checksum engine = engineChecksum(db, t);
        const Checksum stored = sqliteChecksum(out, t);
        EXPECT_EQ(stored.rows, engine.rows) << what << " " << t.name;
        EXPECT_EQ(stored.sum, engine.sum) << what << " " << t.name;
    }
    sqlite3_close(out);
}

std::string sqlite3Cli(const std::string& path, const std::string& sql, int& rc) {
    return jettest::runCommand(
        "sqlite3 -batch " + jettest::shellQuote(path) + " " + jettest::shellQuote(sql) + " 2>&1",
        rc);
}

TEST(SqliteExport, EveryTableOfEveryTestFileMatchesTheExport) {
    for (const std::string& rel : jettest::allTestFiles()) {
        auto db = jet::Database::open(jettest::testFile(rel), jettest::passwordFor(rel));
        ASSERT_TRUE(db) << rel;
        Converted c = convert(**db);
        expectTablesMatch(**db, c.path, rel);
        fs::remove_all(c.dir);
    }
}

TEST(SqliteExport, BenchDatabaseMatchesTheExport) {
    const char* bench = std::getenv("TABLESCOPE_BENCH_MDB");
    ASSERT_TRUE(bench && *bench) << "TABLESCOPE_BENCH_MDB is not set";
    auto db = jet::Database::open(bench);
    ASSERT_TRUE(db) << db.status().message();
    Converted c = convert(**db);
    EXPECT_EQ(c.summary.tables, 3);
    EXPECT_GT(c.summary.rows, 1000000u);
    expectTablesMatch(**db, c.path, "bench.mdb");
    int rc = 0;
    EXPECT_EQ(sqlite3Cli(c.path, "PRAGMA page_size", rc), "65536\n");
    fs::remove_all(c.dir);
}

std::string dumpOf(const std::string& path) {
    int rc = 0;
    std::string dump = sqlite3Cli(path, ".dump", rc);
    EXPECT_EQ(rc, 0) << dump;
    return dump;
}

// Temporary files of an export to `target` in its folder: the work file and,
// while a table is copied beside the others, that table's own file.
size_t workFiles(const std::string& target) {
    const std::string prefix = "." + fs::path(target).filename().string() + ".";
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(target).parent_path()))
        n += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

// A table copied on a connection of its own and moved in afterwards must
// leave the same file behind as one copied in its turn: the same schema in
// the same order, the same rows, the same summary.
TEST(SqliteExport, ATableCopiedBesideTheOthersGivesTheSameFile) {
    int besideUsed = 0;
    for (const std::string& rel : jettest::allTestFiles()) {
        auto db = jet::Database::open(jettest::testFile(rel), jettest::passwordFor(rel));
        ASSERT_TRUE(db) << rel;
        const std::string dir = jettest::makeTempDir();
        cli::SqliteExportTuning inTurn;
        inTurn.besideFromRows = UINT64_MAX;
        auto plain = cli::exportToSqlite(**db, dir + "/plain.sqlite", false, {}, inTurn);
        ASSERT_TRUE(plain) << rel << ": " << plain.status().message();
        cli::SqliteExportTuning beside;
        beside.besideFromRows = 0;
        beside.besideEvenAlone = true;
        const std::string target = dir + "/beside.sqlite";
        bool sawSideFile = false;
        auto both = cli::exportToSqlite(
            **db, target, false,
            [&](const std::string&, uint64_t, uint64_t) {
                sawSideFile = sawSideFile || workFiles(target) == 2;
                return true;
            },
            beside);
        ASSERT_TRUE(both) << rel << ": " << both.status().message();
        besideUsed += sawSideFile ? 1 : 0;
        EXPECT_EQ(dumpOf(target), dumpOf(dir + "/plain.sqlite")) << rel;
        EXPECT_EQ(both->tables, plain->tables) << rel;
        EXPECT_EQ(both->rows, plain->rows) << rel;
        EXPECT_EQ(both->indexes, plain->indexes) << rel;
        EXPECT_EQ(both->views, plain->views) << rel;
        EXPECT_EQ(both->skipped, plain->skipped) << rel;
        EXPECT_EQ(workFiles(target), 0u) << rel << ": the work files are gone";
        fs::remove_all(dir);
    }
    EXPECT_GE(besideUsed, 10) << "files with a table copied beside the others";
}

// Stopped while the largest table is being copied beside the others: the
// stop names it, and neither the target nor a work file is left.
TEST(SqliteExport, StoppedWhileATableIsCopiedBesideLeavesNothing) {
    const char* bench = std::getenv("TABLESCOPE_BENCH_MDB");
    ASSERT_TRUE(bench && *bench) << "TABLESCOPE_BENCH_MDB is not set";
    auto db = jet::Database::open(bench);
    ASSERT_TRUE(db) << db.status().message();
    const std::string dir = jettest::makeTempDir();
    const std::string target = dir + "/out.sqlite";
    bool sawSideFile = false;
    auto stopped = cli::exportToSqlite(**db, target, false,
                                       [&](const std::string& table, uint64_t rows, uint64_t) {
                                           sawSideFile = sawSideFile || workFiles(target) == 2;
                                           return !(table == "Big" && rows >= 100'000);
                                       });
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.status().message(),
              "cannot write '" + target + "': stopped while copying table 'Big'");
    EXPECT_TRUE(sawSideFile);
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

TEST(SqliteExport, KeysAndIndexesArrive) {
    auto db = jet::Database::open(jettest::testFile("mdb-reader/V2000/test.mdb"));
    ASSERT_TRUE(db);
    Converted c = convert(**db);
    int rc = 0;
    // Table1: primary key on A, index "B" on B.
    EXPECT_EQ(sqlite3Cli(c.path, "SELECT name FROM pragma_table_info('Table1') WHERE pk > 0", rc),
              "A\n");
    EXPECT_EQ(sqlite3Cli(c.path,
                         "SELECT name FROM pragma_index_info("
                         "(SELECT name FROM sqlite_master WHERE type = 'index' AND "
                         "tbl_name = 'Table1' AND sql IS NOT NULL))",
                         rc),
              "B\n");
    EXPECT_EQ(rc, 0);
    // A small file has small pages: each table and index takes at least one.
    EXPECT_EQ(sqlite3Cli(c.path, "PRAGMA page_size", rc), "4096\n");
    fs::remove_all(c.dir);
}

// Every view runs in the sqlite3 program, which has none of our functions;
// the sample's views return what the engine returns for the same query.
TEST(SqliteExport, ViewsRunInPlainSqlite) {
    const std::string files[] = {
        jettest::testFile("jackcess/V1997/queryTestV1997.mdb"),
        jettest::testFile("jackcess/V2000/queryTestV2000.mdb"),
        std::string(TABLESCOPE_TEST_SOURCE_DIR) + "/../../samples/shop.mdb"};
    int views = 0;
    for (const std::string& file : files) {
        auto db = jet::Database::open(file);
        ASSERT_TRUE(db) << file;
        Converted c = convert(**db);
        auto session = jet::SqlSession::open(**db);
        ASSERT_TRUE(session);
        int rc = 0;
        const std::string names =
            sqlite3Cli(c.path, "SELECT name FROM sqlite_master WHERE type = 'view'", rc);
        std::istringstream lines(names);
        for (std::string name; std::getline(lines, name);) {
            ++views;
            const std::string count =
                sqlite3Cli(c.path, "SELECT count(*) FROM \"" + name + "\"", rc);
            EXPECT_EQ(rc, 0) << file << " view " << name << ": " << count;
            auto rs = (*session)->openRecordset(name);
            ASSERT_TRUE(rs) << name << ": " << rs.status().message();
            int rows = 0;
            while ((*rs)->next())
                ++rows;
            EXPECT_EQ(count, std::to_string(rows) + "\n") << file << " view " << name;
        }
        for (const std::string& line : c.summary.skipped)
            std::printf("%s: %s\n", fs::path(file).filename().c_str(), line.c_str());
        fs::remove_all(c.dir);
    }
    EXPECT_GE(views, 4);
}

TEST(SqliteExport, TargetIsCompleteOrUntouched) {
    auto db = jet::Database::open(jettest::testFile("mdb-reader/V2000/test.mdb"));
    ASSERT_TRUE(db);
    const std::string dir = jettest::makeTempDir();
    const std::string target = dir + "/keep.sqlite";
    std::ofstream(target) << "precious";
    auto refused = cli::exportToSqlite(**db, target, false);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.status().message().find("exists"), std::string::npos);
    std::ifstream kept(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "precious");

    auto replaced = cli::exportToSqlite(**db, target, true);
    ASSERT_TRUE(replaced) << replaced.status().message();
    EXPECT_EQ(replaced->tables, 4);

    // Stopped part way (as Ctrl-C stops the command): the earlier copy stays.
    const auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string complete = bytesOf(target);
    int calls = 0;
    auto stopped = cli::exportToSqlite(
        **db, target, true,
        [&calls](const std::string&, uint64_t, uint64_t) { return ++calls < 2; });
    ASSERT_FALSE(stopped);
    EXPECT_NE(stopped.status().message().find("stopped"), std::string::npos);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(bytesOf(target), complete);

    auto nowhere = cli::exportToSqlite(**db, dir + "/missing/out.sqlite", false);
    EXPECT_FALSE(nowhere);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "no temporary file left behind";
    fs::remove_all(dir);
}

TEST(SqliteExport, CommandLine) {
    const std::string dir = jettest::makeTempDir();
    const std::string file = jettest::shellQuote(jettest::testFile("mdb-reader/V2000/test.mdb"));
    const std::string out = jettest::shellQuote(dir + "/t.sqlite");
    int rc = 0;
    const std::string summary =
        jettest::runCommand(std::string(TABLESCOPE_CLI) + " to-sqlite " + file + " " + out, rc);
    EXPECT_EQ(rc, 0);
    EXPECT_NE(summary.find("4 tables"), std::string::npos) << summary;
    jettest::runCommand(std::string(TABLESCOPE_CLI) + " to-sqlite " + file + " " + out + " 2>&1",
                        rc);
    EXPECT_EQ(rc, 3) << "an existing target is refused";
    jettest::runCommand(std::string(TABLESCOPE_CLI) + " to-sqlite " + file + " 2>&1", rc);
    EXPECT_EQ(rc, 1);
    jettest::runCommand(
        std::string(TABLESCOPE_CLI) + " to-sqlite /nonexistent.mdb " + out + "x 2>&1", rc);
    EXPECT_EQ(rc, 2);
    fs::remove_all(dir);
}

}  // namespace
