// Rows read on a second thread and stored by one INSERT ... SELECT: every
// row arrives once and in order, and a failed read, a stop or a failure in
// SQLite ends the statement with none of its rows stored.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <memory>
#include <string>

#include "made_up_cursor.h"
#include "read_ahead.h"
#include "row_feed.h"

namespace {

using cli::FailedRow;
using ReadAhead = cli::ReadAhead<cli::StoredRowBatch>;
using cli::RowFeed;
using clitest::MadeUpCursor;

constexpr const char* kFeed = "made_up_rows";

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

class RowFeedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
        db_.reset(raw);
        exec("CREATE TABLE t (n INTEGER, s TEXT, d REAL)");
    }

    void exec(const std::string& sql) {
        ASSERT_EQ(sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db_.get());
    }

    // The first column of the one row `sql` gives, as text.
    std::string single(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &s, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_.get());
        std::string out;
        if (sqlite3_step(s) == SQLITE_ROW && sqlite3_column_text(s, 0))
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        return out;
    }

    // Runs `sql` once; the step's result code.
    int step(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            return sqlite3_errcode(db_.get());
        const int rc = sqlite3_step(s);
        sqlite3_finalize(s);
        return rc;
    }

    int insertAll() { return step(std::string("INSERT INTO t SELECT * FROM ") + kFeed); }

    std::unique_ptr<sqlite3, Closer> db_;
};

TEST_F(RowFeedTest, EveryRowIsStoredOnceInOrder) {
    MadeUpCursor cursor(50000);
    ReadAhead reader(cursor, {0, 1, 2}, FailedRow::Drop);
    uint64_t calls = 0;
    {
        RowFeed feed(db_.get(), kFeed, reader, 3, 4096, [&](uint64_t rows) {
            EXPECT_EQ(rows, ++calls * 4096);
            return true;
        });
        ASSERT_TRUE(feed.registered());
        ASSERT_EQ(insertAll(), SQLITE_DONE) << sqlite3_errmsg(db_.get());
        EXPECT_EQ(feed.rowsStored(), 50000u);
        EXPECT_FALSE(feed.stopped());
        EXPECT_FALSE(feed.readFailed());
    }
    EXPECT_EQ(calls, 50000u / 4096);
    EXPECT_EQ(single("SELECT count(*) FROM t WHERE n = rowid"), "50000");
    EXPECT_EQ(single("SELECT count(*) FROM t WHERE (d IS NULL) = (n % 2 = 1)"), "50000");
    EXPECT_EQ(single("SELECT count(*) FROM t WHERE d = n / 4.0"), "25000");
    EXPECT_EQ(single("SELECT length(s) FROM t WHERE n = 777"), std::to_string(1 << 20));
    EXPECT_EQ(single("SELECT s FROM t WHERE n = 30000"), MadeUpCursor::textOf(30000));
    int64_t letters = 0;
    for (uint64_t row = 1; row <= 50000; ++row)
        letters += static_cast<int64_t>(MadeUpCursor::textOf(row).size());
    EXPECT_EQ(single("SELECT sum(length(s)) FROM t"), std::to_string(letters));
}

TEST_F(RowFeedTest, AFailedReadEndsTheStatementWithNoneOfItsRows) {
    MadeUpCursor cursor(50000, 20000);
    ReadAhead reader(cursor, {0, 1, 2}, FailedRow::Drop);
    {
        RowFeed feed(db_.get(), kFeed, reader, 3, 4096, {});
        EXPECT_EQ(insertAll(), SQLITE_ERROR);
        EXPECT_TRUE(feed.readFailed());
        EXPECT_EQ(feed.rowsStored(), 19999u);
    }
    EXPECT_EQ(reader.status().message(), "row 20000 is bad");
    EXPECT_EQ(single("SELECT count(*) FROM t"), "0");
}

TEST_F(RowFeedTest, ProgressCanStopTheRows) {
    MadeUpCursor cursor(50000);
    ReadAhead reader(cursor, {0, 1, 2}, FailedRow::Drop);
    {
        RowFeed feed(db_.get(), kFeed, reader, 3, 1000, [](uint64_t rows) { return rows < 5000; });
        EXPECT_EQ(insertAll(), SQLITE_ERROR);
        EXPECT_TRUE(feed.stopped());
        EXPECT_EQ(feed.rowsStored(), 5000u);
    }
    EXPECT_EQ(single("SELECT count(*) FROM t"), "0");
    EXPECT_LT(cursor.reads.load(), 50000u);
}

// Rows 97 and 194 have the same (empty) text: the second breaks the key.
TEST_F(RowFeedTest, ASqliteFailureLeavesTheFeedAtTheRowThatFailed) {
    exec("CREATE UNIQUE INDEX t_s ON t (s)");
    MadeUpCursor cursor(1000);
    ReadAhead reader(cursor, {0, 1, 2}, FailedRow::Drop);
    RowFeed feed(db_.get(), kFeed, reader, 3, 4096, {});
    EXPECT_EQ(insertAll(), SQLITE_CONSTRAINT);
    EXPECT_EQ(feed.rowsStored(), 193u);
    EXPECT_EQ(feed.rowNumber(), 194u);
    EXPECT_FALSE(feed.readFailed());
    EXPECT_FALSE(feed.stopped());
    EXPECT_EQ(single("SELECT count(*) FROM t"), "0");
}

// The rows cannot be read twice: a second pass would see none, or other rows.
TEST_F(RowFeedTest, ASecondPassIsAnError) {
    MadeUpCursor cursor(3000);
    ReadAhead reader(cursor, {0, 1, 2}, FailedRow::Drop);
    RowFeed feed(db_.get(), kFeed, reader, 3, 4096, {});
    EXPECT_EQ(step(std::string("SELECT count(*) FROM ") + kFeed + " AS a, " + kFeed + " AS b"),
              SQLITE_ERROR);
}

// The table points at the feed: once the feed is gone a statement naming
// it must not compile (it would read freed memory).
TEST_F(RowFeedTest, TheTableGoesWithTheFeed) {
    MadeUpCursor cursor(10);
    ReadAhead reader(cursor, {0, 1, 2}, FailedRow::Drop);
    { RowFeed feed(db_.get(), kFeed, reader, 3, 4096, {}); }
    sqlite3_stmt* s = nullptr;
    EXPECT_NE(sqlite3_prepare_v2(db_.get(), "SELECT * FROM made_up_rows", -1, &s, nullptr),
              SQLITE_OK);
    sqlite3_finalize(s);
}

}  // namespace
