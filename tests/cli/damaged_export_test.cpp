// Exports of Big (bench.mdb) when one of its data pages three quarters of the
// way through is damaged: the rows are read on a thread of their own, and the
// command must still write every row before the page, in order, then fail
// naming the page; the SQLite copy leaves the table out and keeps the rest.
// Needs TABLESCOPE_BENCH_MDB, the unpacked bench.mdb.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "jet/database.h"
#include "test_files.h"

namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A copy of bench.mdb whose Big has a damaged data page late in its scan.
struct DamagedCopy {
    std::string dir;
    std::string path;
    uint32_t page = 0;        // the damaged page
    uint64_t rowsBefore = 0;  // rows the scan gives before reaching it
    uint64_t rowsOnPage = 0;  // rows stored on it
};

// Finds Big's pages in scan order and marks the one three quarters of the
// way through as an index page, which a table's page list never names.
DamagedCopy damageBig(const std::string& bench) {
    DamagedCopy copy;
    copy.dir = jettest::makeTempDir();
    copy.path = copy.dir + "/damaged.mdb";
    std::filesystem::copy_file(bench, copy.path);
    std::vector<std::pair<uint32_t, uint64_t>> pages;  // page, rows on it
    uint32_t pageSize = 0;
    {
        auto db = jet::Database::open(copy.path);
        EXPECT_TRUE(db.isOk()) << db.status().message();
        if (!db)
            return copy;
        pageSize = (*db)->format() == jet::FileFormat::Jet3 ? 2048 : 4096;
        auto cursor = (*db)->openTable("Big");
        EXPECT_TRUE(cursor.isOk());
        if (!cursor)
            return copy;
        while ((*cursor)->next()) {
            const auto page = static_cast<uint32_t>((*cursor)->rowId() >> 8);
            if (pages.empty() || pages.back().first != page)
                pages.emplace_back(page, 0);
            ++pages.back().second;
        }
    }
    const size_t chosen = pages.size() * 3 / 4;
    copy.page = pages[chosen].first;
    copy.rowsOnPage = pages[chosen].second;
    for (size_t i = 0; i < chosen; ++i)
        copy.rowsBefore += pages[i].second;
    std::fstream file(copy.path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(copy.page) * pageSize);
    file.put('\x04');
    return copy;
}

struct CliRun {
    int rc = 0;
    std::string out;
    std::string err;
};

CliRun cli(const std::string& args, const std::string& dir) {
    CliRun run;
    jettest::runCommand(
        std::string(TABLESCOPE_CLI) + " " + args + " >" + dir + "/out 2>" + dir + "/err", run.rc);
    run.out = fileBytes(dir + "/out");
    run.err = fileBytes(dir + "/err");
    return run;
}

size_t lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class DamagedExport : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* bench = std::getenv("TABLESCOPE_BENCH_MDB");
        ASSERT_TRUE(bench && *bench) << "TABLESCOPE_BENCH_MDB is not set";
        bench_ = bench;
        copy_ = damageBig(bench_);
        ASSERT_GT(copy_.rowsBefore, 500000u);
    }
    void TearDown() override { std::filesystem::remove_all(copy_.dir); }

    std::string bench_;
    DamagedCopy copy_;
};

TEST_F(DamagedExport, APageLateInTheScanEndsBothFormsAfterTheRowsBeforeIt) {
    const std::string damaged = jettest::shellQuote(copy_.path);
    const std::string sound = jettest::shellQuote(bench_);
    const std::string pageText = "page " + std::to_string(copy_.page);
    for (const std::string format : {"csv", "jsonl"}) {
        const CliRun whole = cli("export " + sound + " Big --format " + format, copy_.dir);
        ASSERT_EQ(whole.rc, 0) << whole.err;
        const CliRun cut = cli("export " + damaged + " Big --format " + format, copy_.dir);
        EXPECT_EQ(cut.rc, 3) << format;
        EXPECT_NE(cut.err.find("Table 'Big', " + pageText + ":"), std::string::npos) << cut.err;
        EXPECT_EQ(lines(cut.out), copy_.rowsBefore + (format == "csv" ? 1 : 0)) << format;
        EXPECT_TRUE(whole.out.starts_with(cut.out)) << format;
    }
}

TEST_F(DamagedExport, SalvageSkipsOnlyThatPage) {
    const CliRun salvaged =
        cli("export " + jettest::shellQuote(copy_.path) + " Big --salvage", copy_.dir);
    EXPECT_EQ(salvaged.rc, 3);
    EXPECT_NE(salvaged.err.find(std::to_string(copy_.page)), std::string::npos) << salvaged.err;
    EXPECT_EQ(lines(salvaged.out), 1 + 1000000 - copy_.rowsOnPage);
}

// With no journal at all, rolling back a table that failed after its first
// rows had reached the file spoilt the file ("file is not a database") and
// the whole copy failed; now only that table is left out.
TEST_F(DamagedExport, ToSqliteTableFailingPartWayIsLeftOutNotTheWholeCopy) {
    const std::string target = copy_.dir + "/copy.sqlite";
    const CliRun run =
        cli("to-sqlite " + jettest::shellQuote(copy_.path) + " " + jettest::shellQuote(target),
            copy_.dir);
    EXPECT_EQ(run.rc, 0) << run.err;
    EXPECT_NE(run.out.find("2 tables, 1100000 rows"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("table 'Big': Table 'Big', page " + std::to_string(copy_.page) + ":"),
              std::string::npos)
        << run.out;
    int rc = 0;
    const std::string tables =
        jettest::runCommand("sqlite3 " + jettest::shellQuote(target) + " .tables", rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(tables.find("Big"), std::string::npos) << tables;
    EXPECT_NE(tables.find("Orders"), std::string::npos) << tables;
    const std::string check = jettest::runCommand(
        "sqlite3 " + jettest::shellQuote(target) +
            " 'PRAGMA integrity_check; SELECT count(*), sum(OrderID) FROM Orders'",
        rc);
    EXPECT_EQ(check, "ok\n1000000|500000500000\n");
}

}  // namespace
