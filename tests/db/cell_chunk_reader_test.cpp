// A table shared out between two workers by its data pages must reach the
// sheet exactly as one worker reads it: the same cells in the same order,
// the same failure at the same row, and a load stopped half way must end
// cleanly whichever worker is where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

#include "db/cell_chunk_reader.h"
#include "db/database.h"
#include "jet/database.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

struct Cell {
    std::string text;
    bool hasValue = false;
    double value = 0;
    bool operator==(const Cell&) const = default;
};

struct Load {
    std::vector<Cell> cells;  // row after row
    std::size_t rows = 0;
    std::string status;  // empty when the rows ended without a failure
    std::size_t workers = 0;
};

std::string describe(const jet::Status& status) {
    return status.isOk() ? std::string() : std::to_string(int(status.code())) + status.message();
}

// Reads `table` through a chunk reader as a sheet load does. An open that
// fails, or a table failing on its first row, shows as the status alone.
Load load(db::Database& database, const std::string& table, std::size_t workers,
          std::size_t partPages = 1) {
    Load out;
    auto records = database.openRecordset(table);
    if (!records) {
        out.status = describe(records.status());
        return out;
    }
    jet::Recordset& set = **records;
    if (!set.next()) {
        out.status = describe(set.status());
        return out;
    }
    db::CellChunkReader reader(set, db::CellPayloads({}, set.complexDatabase()), workers,
                               partPages);
    out.workers = reader.workers();
    while (const db::CellChunk* chunk = reader.next()) {
        out.rows += chunk->rows;
        for (const sheet::CellInput& cell : chunk->cells) {
            out.cells.push_back({std::string(cell.text), cell.hasValue, cell.value});
        }
    }
    out.status = describe(reader.status());
    return out;
}

std::shared_ptr<db::Database> open(const std::string& path, const std::string& connect = {}) {
    auto opened = db::Database::open(path, 2, connect);
    EXPECT_TRUE(opened.isOk()) << path << ": " << opened.status().message();
    return opened.isOk() ? opened.value() : nullptr;
}

std::vector<std::string> sharedFiles() {
    std::vector<std::string> files;
    const fs::path root(TABLESCOPE_TESTDATA);
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".mdb" || ext == ".accdb")) {
            files.push_back(e.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string connectFor(const std::string& path) {
    return path.find("_with-password") != std::string::npos ? "ODBC;PWD=password;" : "";
}

void expectSameLoad(const Load& one, const Load& two, const std::string& where) {
    EXPECT_EQ(one.rows, two.rows) << where;
    EXPECT_EQ(one.status, two.status) << where;
    ASSERT_EQ(one.cells.size(), two.cells.size()) << where;
    const auto differ = std::mismatch(one.cells.begin(), one.cells.end(), two.cells.begin());
    EXPECT_TRUE(differ.first == one.cells.end())
        << where << ": cell " << (differ.first - one.cells.begin()) << " '" << differ.first->text
        << "' against '" << differ.second->text << "'";
}

// The listed data pages of `table`, in the order a scan reads them.
std::vector<uint32_t> dataPages(const std::string& path, const std::string& table) {
    std::vector<uint32_t> pages;
    auto engine = jet::Database::open(path);
    EXPECT_TRUE(engine.isOk()) << path;
    auto cursor = engine ? (*engine)->openTable(table) : engine.status();
    EXPECT_TRUE(cursor.isOk()) << table;
    while (cursor && (*cursor)->next()) {
        const auto page = uint32_t((*cursor)->rowId() >> 8);
        if (pages.empty() || pages.back() != page) {
            pages.push_back(page);
        }
    }
    return pages;
}

// Overwrites the type byte of page `page` so that it no longer reads as a
// data page: the scan fails there, naming the page.
void damagePage(const std::string& path, uint32_t page) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    // The header's version byte: 0 for Jet 3, whose pages are 2 KB.
    file.seekg(0x14);
    const std::streamoff pageSize = file.get() == 0 ? 2048 : 4096;
    file.seekp(std::streamoff(page) * pageSize);
    file.put(char(0x04));
    ASSERT_TRUE(file.good());
}

// The unpacked benchmark database: the shared test files hold no table of
// more than a page or two of rows.
std::string benchFile() {
    const char* bench = std::getenv("TABLESCOPE_BENCH_MDB");
    EXPECT_TRUE(bench && *bench) << "TABLESCOPE_BENCH_MDB is not set (scripts/test.sh sets it)";
    return bench ? bench : "";
}

// 100,000 rows on some 2,000 data pages.
constexpr const char* kManyPages = "Customers";

}  // namespace

TEST(CellChunkReader, TwoWorkersLoadEveryTableOfTheTestFilesAsOneDoes) {
    std::size_t tables = 0;
    std::size_t sharedOut = 0;
    for (const std::string& path : sharedFiles()) {
        auto database = open(path, connectFor(path));
        if (!database) {
            continue;
        }
        for (int i = 0; i < database->tableDefCount(); ++i) {
            const std::string table = database->tableDef(i).name;
            const Load one = load(*database, table, 1);
            const Load two = load(*database, table, 2);
            expectSameLoad(one, two, path + " " + table);
            EXPECT_LE(one.workers, 1u) << path << " " << table;
            ++tables;
            sharedOut += two.workers == 2 ? 1 : 0;
        }
    }
    EXPECT_GT(tables, 300u);
    // Tables of two or more data pages go on both workers; the rest, and
    // tables with complex or binary columns, on one. Few of the test files'
    // tables are that big.
    EXPECT_GE(sharedOut, 6u);
}

TEST(CellChunkReader, TwoWorkersLoadTheBenchTablesAsOneDoes) {
    auto database = open(benchFile());
    ASSERT_TRUE(database);
    for (int i = 0; i < database->tableDefCount(); ++i) {
        const std::string table = database->tableDef(i).name;
        const bool big = table == "Big";
        const Load one = load(*database, table, 1);
        const Load two = load(*database, table, 2, big ? db::CellChunkReader::kPartPages : 1);
        expectSameLoad(one, two, table);
        if (big) {
            EXPECT_EQ(two.workers, 2u);
            EXPECT_EQ(one.rows, 1000000u);
        }
    }
}

// A stop while both workers read, or while one waits for the sheet to take a
// chunk, ends the load without a hang; the chunks handed over until then are
// the table's first rows.
TEST(CellChunkReader, StoppedTwoWorkerLoadEndsCleanly) {
    auto database = open(benchFile());
    ASSERT_TRUE(database);
    const Load whole = load(*database, kManyPages, 1);
    for (std::size_t taken : {0, 1, 3, 50}) {
        auto records = database->openRecordset(kManyPages);
        ASSERT_TRUE(records.isOk());
        ASSERT_TRUE((*records)->next());
        std::vector<Cell> cells;
        {
            db::CellChunkReader reader(**records, db::CellPayloads({}, nullptr), 2, 1);
            EXPECT_EQ(reader.workers(), 2u);
            for (std::size_t k = 0; k < taken; ++k) {
                const db::CellChunk* chunk = reader.next();
                ASSERT_TRUE(chunk);
                for (const sheet::CellInput& cell : chunk->cells) {
                    cells.push_back({std::string(cell.text), cell.hasValue, cell.value});
                }
            }
        }
        ASSERT_LT(cells.size(), whole.cells.size());
        EXPECT_TRUE(std::equal(cells.begin(), cells.end(), whole.cells.begin())) << taken;
    }
}

// Damage late in the table fails the part that reads it; the rows before it
// still come, in order, and the failure is the one a single worker meets.
// With damage early as well, the early one is reported, once.
TEST(CellChunkReader, DamagedPageInTheSecondHalfFailsAsOneWorkerDoes) {
    const std::vector<uint32_t> pages = dataPages(benchFile(), kManyPages);
    ASSERT_GE(pages.size(), 100u);
    const fs::path copy = fs::temp_directory_path() /
                          ("tablescope-chunk-reader-" + std::to_string(::getpid()) + ".mdb");
    fs::copy_file(benchFile(), copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);

    for (const std::size_t damaged : {pages.size() * 3 / 4, pages.size() / 4}) {
        damagePage(copy, pages[damaged]);
        auto database = open(copy);
        ASSERT_TRUE(database);
        const Load one = load(*database, kManyPages, 1);
        for (std::size_t partPages : {1, 7, 32}) {
            const Load two = load(*database, kManyPages, 2, partPages);
            EXPECT_EQ(two.workers, 2u);
            expectSameLoad(one, two, "parts of " + std::to_string(partPages));
        }
        EXPECT_NE(one.status.find("page " + std::to_string(pages[damaged]) + ":"),
                  std::string::npos)
            << one.status;
        EXPECT_GT(one.rows, 0u);
        EXPECT_LT(one.rows, 100000u);
    }
    fs::remove(copy);
}
