// Tables copied into a file of their own on a thread of their own: each in
// its own transaction, so a table whose rows fail leaves the others whole;
// an index the rows cannot take is named while the rows stay; a stop ends
// the copy; the file goes with the copy.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "made_up_cursor.h"
#include "side_copy.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;
using cli::SideCopy;
using clitest::MadeUpCursor;

SideCopy::Table madeUpTable(const std::string& name, uint64_t rows,
                            std::optional<uint64_t> failAt = {}) {
    SideCopy::Table t;
    t.cursor = std::make_unique<MadeUpCursor>(rows, failAt);
    t.createTable = "CREATE TABLE \"" + name + "\" (n INTEGER, s TEXT, d REAL)";
    t.target = "\"" + name + "\"";
    t.columns = {0, 1, 2};
    return t;
}

SideCopy::Setup setupIn(const std::string& dir) {
    SideCopy::Setup setup;
    setup.path = dir + "/side.sqlite";
    std::ofstream(setup.path).flush();  // made empty, as by mkstemp
    setup.pragmas = "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF";
    setup.indexPragmas = "PRAGMA cache_size=-1024";
    setup.feedName = "made_up_rows";
    setup.progressEvery = 100;
    return setup;
}

// What the file holds, by `sql`'s first column of its first row, read
// while the copy (and its file) still exists.
std::string single(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW && sqlite3_column_text(s, 0))
        out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    else
        out = std::string("error: ") + sqlite3_errmsg(db);
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

TEST(SideCopy, AFailingTableLeavesTheOthersWholeAndAnIndexTheRowsCannotTakeIsNamed) {
    const std::string dir = jettest::makeTempDir();
    SideCopy::Setup setup = setupIn(dir);
    setup.tables.push_back(madeUpTable("Failing", 1000, 500));
    SideCopy::Table kept = madeUpTable("Kept", 300);
    // Rows 97, 194 and 291 have the same empty text.
    kept.indexes = {"CREATE UNIQUE INDEX kept_s ON \"Kept\" (s)",
                    "CREATE INDEX kept_n ON \"Kept\" (n DESC)"};
    setup.tables.push_back(std::move(kept));
    const std::string path = setup.path;
    {
        SideCopy copy(std::move(setup));
        const std::vector<SideCopy::Outcome>& outcomes = copy.wait();
        ASSERT_EQ(outcomes.size(), 2u);
        EXPECT_FALSE(outcomes[0].status);
        EXPECT_NE(outcomes[0].status.message().find("row 500 is bad"), std::string::npos)
            << outcomes[0].status.message();
        EXPECT_FALSE(outcomes[0].stopped);
        ASSERT_TRUE(outcomes[1].status) << outcomes[1].status.message();
        EXPECT_EQ(outcomes[1].rows, 300u);
        ASSERT_EQ(outcomes[1].indexes.size(), 2u);
        EXPECT_EQ(outcomes[1].indexes[0].message(), "UNIQUE constraint failed: Kept.s");
        EXPECT_TRUE(outcomes[1].indexes[1]);

        EXPECT_EQ(single(path, "SELECT count(*) || ' ' || sum(n) FROM Kept"), "300 45150");
        EXPECT_EQ(single(path, "SELECT group_concat(name) FROM sqlite_schema"), "Kept,kept_n");
        EXPECT_EQ(single(path, "PRAGMA integrity_check"), "ok");
    }
    EXPECT_FALSE(fs::exists(path)) << "the file goes with the copy";
    fs::remove_all(dir);
}

TEST(SideCopy, AStopEndsTheCopyWithTheTablesAfterItNotCopied) {
    const std::string dir = jettest::makeTempDir();
    SideCopy::Setup setup = setupIn(dir);
    SideCopy::Table stopped = madeUpTable("Stopped", 1000);
    stopped.progress = [](uint64_t rows) { return rows < 300; };
    setup.tables.push_back(std::move(stopped));
    setup.tables.push_back(madeUpTable("After", 10));
    SideCopy copy(std::move(setup));
    const std::vector<SideCopy::Outcome>& outcomes = copy.wait();
    EXPECT_TRUE(copy.finished());
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].stopped);
    EXPECT_EQ(outcomes[0].rows, 300u);
    EXPECT_FALSE(outcomes[1].status);
    EXPECT_EQ(outcomes[1].rows, 0u);
    EXPECT_EQ(single(copy.path(), "SELECT count(*) FROM sqlite_schema"), "0");
    fs::remove_all(dir);
}

TEST(SideCopy, ACopyStillRunningStopsWithItsObject) {
    const std::string dir = jettest::makeTempDir();
    SideCopy::Setup setup = setupIn(dir);
    setup.tables.push_back(madeUpTable("Long", 50'000'000));
    const std::string path = setup.path;
    { SideCopy copy(std::move(setup)); }  // must not read fifty million rows first
    EXPECT_FALSE(fs::exists(path));
    fs::remove_all(dir);
}

}  // namespace
