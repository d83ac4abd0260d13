// The 1M-row benchmark database: every value of its three tables checked
// against the formulas that generated it (value = function of row number i).
// Needs TABLESCOPE_BENCH_MDB, the unpacked bench.mdb.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/value_format.h"
#include "test_files.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;

std::unique_ptr<jet::Database> openBench() {
    const char* path = std::getenv("TABLESCOPE_BENCH_MDB");
    if (!path || !*path) {
        ADD_FAILURE() << "TABLESCOPE_BENCH_MDB is not set: unpack bench.mdb.xz (scripts/test.sh "
                         "does) and point the variable at it";
        return nullptr;
    }
    auto db = jet::Database::open(path);
    if (!db) {
        ADD_FAILURE() << path << ": " << db.status().message();
        return nullptr;
    }
    return std::move(db.value());
}

double day(int y, int m, int d) {
    return jet::accessDate(jet::DateTimeParts{y, m, d, 0, 0, 0, 0});
}

// Scans `table` and hands each row to `check` with i = ID - 1; checks that the
// IDs are exactly 1..expectedRows, each once.
template <typename Check>
void scanAll(jet::Database& db, const std::string& table, int64_t expectedRows, Check check) {
    auto cursor = db.openTable(table);
    ASSERT_TRUE(cursor.isOk()) << cursor.status().message();
    jet::TableCursor& c = **cursor;
    std::vector<bool> seen(static_cast<size_t>(expectedRows), false);
    int64_t rows = 0, failures = 0;
    const auto start = std::chrono::steady_clock::now();
    while (c.next()) {
        const int64_t i = c.get(0).i - 1;
        ASSERT_TRUE(i >= 0 && i < expectedRows && !seen[static_cast<size_t>(i)]) << "ID " << i + 1;
        seen[static_cast<size_t>(i)] = true;
        ++rows;
        if (!check(c, i) && ++failures >= 5)
            FAIL() << "too many wrong rows in " << table;
    }
    ASSERT_TRUE(c.status().isOk()) << c.status().message();
    EXPECT_EQ(rows, expectedRows);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %lld rows checked in %.2f s\n", table.c_str(), static_cast<long long>(rows),
                seconds);
}

bool near(double a, double b) {
    return std::fabs(a - b) < 0.001 * kSecond;
}

TEST(BenchDatabase, BigMatchesItsFormulas) {
    auto db = openBench();
    ASSERT_TRUE(db);
    const double start = day(2000, 1, 1);
    std::string expected;
    scanAll(*db, "Big", 1000000, [&](jet::TableCursor& c, int64_t i) {
        const std::string n = std::to_string(i);
        bool ok = c.get(1).data == "name-" + n && c.get(2).d == static_cast<double>(i) * 0.25 &&
                  c.get(3).i == i * 100 &&
                  near(c.get(4).d, start + static_cast<double>(i) * kSecond) &&
                  c.get(5).i == (i % 3 == 0 ? 1 : 0);
        const jet::ValueRef notes = c.get(6);
        if (i % 10 == 9) {
            ok = ok && notes.isNull();
        } else {
            expected = "memo " + n + " " + std::string(static_cast<size_t>(i % 50), 'x');
            ok = ok && notes.type == jet::ValueType::Text && notes.data == expected;
        }
        EXPECT_TRUE(ok) << "Big row with ID " << i + 1;
        return ok;
    });
}

TEST(BenchDatabase, CustomersMatchItsFormulas) {
    auto db = openBench();
    ASSERT_TRUE(db);
    static const char* cities[] = {"Berlin", "London", "Paris",    "Madrid", "Rome",
                                   "Vienna", "Oslo",   "Lisbon",   "Prague", "Warsaw",
                                   "Dublin", "Athens", "Helsinki", "Zürich", "Brussels",
                                   "Bern",   "Riga",   "Tallinn",  "Kraków", "São Paulo"};
    static const char* countries[] = {"Germany", "UK",      "France", "Spain",
                                      "Italy",   "Austria", "Norway"};
    const double start = day(2000, 1, 1);
    scanAll(*db, "Customers", 100000, [&](jet::TableCursor& c, int64_t i) {
        const bool ok = c.get(1).data == "Company " + std::to_string(i) &&
                        c.get(2).data == cities[i % 20] && c.get(3).data == countries[i % 7] &&
                        near(c.get(4).d, start + static_cast<double>(i) * 60 * kSecond);
        EXPECT_TRUE(ok) << "Customers row with ID " << i + 1;
        return ok;
    });
}

TEST(BenchDatabase, OrdersMatchItsFormulas) {
    auto db = openBench();
    ASSERT_TRUE(db);
    static const char* regions[] = {"North", "South", "East", "West", "Central"};
    const double start = day(2010, 1, 1);
    scanAll(*db, "Orders", 1000000, [&](jet::TableCursor& c, int64_t i) {
        const double date =
            start + static_cast<double>(i % 5000) + static_cast<double>(i % 86400) * kSecond;
        const bool ok = c.get(1).i == (i * 7919 % 100000) + 1 && near(c.get(2).d, date) &&
                        c.get(3).i == (i * 37 % 100000) * 100 &&
                        c.get(4).i == (i % 4 != 0 ? 1 : 0) && c.get(5).data == regions[i % 5];
        EXPECT_TRUE(ok) << "Orders row with ID " << i + 1;
        return ok;
    });
}

TEST(BenchDatabase, RowCountsComeFromThePages) {
    auto db = openBench();
    ASSERT_TRUE(db);
    for (auto [name, rows] : {std::pair<const char*, uint64_t>{"Big", 1000000},
                              {"Customers", 100000},
                              {"Orders", 1000000}}) {
        const jet::TableDef* t = db->findTable(name);
        ASSERT_NE(t, nullptr) << name;
        auto count = db->countRows(*t);
        ASSERT_TRUE(count.isOk()) << count.status().message();
        EXPECT_EQ(*count, rows) << name;
    }
}

// The reader takes data pages in runs of many pages: a file cut short while
// a scan is under way must still end the scan with an error once it reaches
// the missing pages, never with fewer rows and no word (nor a crash).
TEST(BenchDatabase, FileCutDuringAScanEndsItWithAnError) {
    const char* path = std::getenv("TABLESCOPE_BENCH_MDB");
    ASSERT_TRUE(path && *path) << "TABLESCOPE_BENCH_MDB is not set";
    const std::string dir = jettest::makeTempDir();
    ASSERT_FALSE(dir.empty());
    const std::string copy = dir + "/cut.mdb";
    std::filesystem::copy_file(path, copy);
    auto db = jet::Database::open(copy);
    ASSERT_TRUE(db.isOk()) << db.status().message();
    auto cursor = (*db)->openTable("Big");
    ASSERT_TRUE(cursor.isOk()) << cursor.status().message();
    jet::TableCursor& c = **cursor;
    int64_t rows = 0;
    while (rows < 100000 && c.next())
        ++rows;
    ASSERT_EQ(rows, 100000);
    std::filesystem::resize_file(copy, std::filesystem::file_size(copy) / 2);
    while (c.next())
        ++rows;
    EXPECT_LT(rows, 1000000);
    EXPECT_EQ(c.status().code(), jet::ErrorCode::Corrupt) << c.status().message();
    EXPECT_NE(c.status().message().find("truncated"), std::string::npos) << c.status().message();
    std::filesystem::remove_all(dir);
}

}  // namespace
