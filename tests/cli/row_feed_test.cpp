// Rows read on a second thread and stored by one INSERT ... SELECT: every
// row arrives once and in order, and a failed read, a stop or a failure in
// SQLite ends the statement with none of its rows stored.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// A cursor over given keys: column 0 the key (Null where none), column 1
// the row's place, from 1.
class KeyCursor final : public jet::TableCursor {
  public:
    explicit KeyCursor(std::vector<std::optional<int64_t>> keys) : keys_(std::move(keys)) {
        table_.name = "Keys";
        table_.columns.resize(2);
    }
    const jet::TableDef& table() const override { return table_; }
    bool next() override { return row_ < keys_.size() ? (++row_, true) : false; }
    void rewind() override { row_ = 0; }
    const jet::Status& status() const override { return status_; }
    jet::ValueRef get(size_t index) override {
        jet::ValueRef v;
        if (index == 1 || keys_[row_ - 1]) {
            v.type = jet::ValueType::BigInt;
            v.i = index == 1 ? static_cast<int64_t>(row_) : *keys_[row_ - 1];
        }
        return v;
    }
    uint64_t rowId() const override { return row_; }
    uint64_t estimatedRowCount() const override { return keys_.size(); }

  private:
    jet::TableDef table_;
    std::vector<std::optional<int64_t>> keys_;
    size_t row_ = 0;
    jet::Status status_;
};

class RowidFeedTest : public RowFeedTest {
  protected:
    void SetUp() override {
        RowFeedTest::SetUp();
        exec("CREATE TABLE k (key INTEGER, place INTEGER, PRIMARY KEY (key))");
    }
    // Stores `keys` through a feed that knows column 0 is the rowid; SQLite's
    // result code.
    int store(std::vector<std::optional<int64_t>> keys) {
        KeyCursor cursor(std::move(keys));
        ReadAhead reader(cursor, {0, 1}, FailedRow::Drop);
        RowFeed feed(db_.get(), kFeed, reader, 2, 4096, {}, 0);
        return step(std::string("INSERT INTO k SELECT * FROM ") + kFeed);
    }
    std::string stored() {
        return single(
            "SELECT group_concat(r || '=' || key, ' ') FROM (SELECT rowid AS r, key FROM k "
            "ORDER BY place)");
    }
};

// Keys one past the largest go to SQLite as NULL, for it to number the row
// itself: the rows must still get exactly their keys, in a run or out of it.
TEST_F(RowidFeedTest, EveryRowGetsItsOwnKeyInARunOrOutOfIt) {
    const int64_t top = INT64_MAX;
    ASSERT_EQ(store({1, 2, 3, 10, 5, 6, 11, 12, -7, -6, 13, top - 1, top}), SQLITE_DONE)
        << sqlite3_errmsg(db_.get());
    EXPECT_EQ(stored(), "1=1 2=2 3=3 10=10 5=5 6=6 11=11 12=12 -7=-7 -6=-6 13=13 " +
                            std::to_string(top - 1) + "=" + std::to_string(top - 1) + " " +
                            std::to_string(top) + "=" + std::to_string(top));
}

TEST_F(RowidFeedTest, ARunThatDoesNotStartAtOneKeepsItsKeys) {
    ASSERT_EQ(store({-3, -2, -1, 0, 1, 2}), SQLITE_DONE) << sqlite3_errmsg(db_.get());
    EXPECT_EQ(stored(), "-3=-3 -2=-2 -1=-1 0=0 1=1 2=2");
}

TEST_F(RowidFeedTest, AKeyWithoutValueIsNumberedBySqliteAndTheKeysAfterItKeepTheirs) {
    ASSERT_EQ(store({5, std::nullopt, 7, 8, std::nullopt, 3}), SQLITE_DONE)
        << sqlite3_errmsg(db_.get());
    EXPECT_EQ(stored(), "5=5 6=6 7=7 8=8 9=9 3=3");
}

TEST_F(RowidFeedTest, AKeyTakenStillFails) {
    EXPECT_EQ(store({1, 2, 3, 2}), SQLITE_CONSTRAINT);
    EXPECT_STREQ(sqlite3_errmsg(db_.get()), "UNIQUE constraint failed: k.key");
}

}  // namespace
