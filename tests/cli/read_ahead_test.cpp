// Rows read on a second thread: every row arrives in order with its bytes,
// a failed value ends the rows as the cursor's own loop would, and a caller
// that stops early is never left waiting.
#include <gtest/gtest.h>

#include <string>

#include "made_up_cursor.h"
#include "read_ahead.h"
#include "row_batch.h"

namespace {

using cli::FailedRow;
using ReadAhead = cli::ReadAhead<cli::RowBatch>;
using clitest::MadeUpCursor;

// Reads every batch; returns the rows seen and checks each against the cursor's.
uint64_t readAll(ReadAhead& rows, uint64_t expectedFailRow = 0) {
    uint64_t seen = 0;
    while (const cli::RowBatch* batch = rows.next()) {
        for (size_t r = 0; r < batch->rows(); ++r) {
            ++seen;
            const jet::ValueRef number = batch->value(r, 0);
            EXPECT_EQ(number.i, static_cast<int64_t>(seen));
            const jet::ValueRef text = batch->value(r, 1);
            if (seen == expectedFailRow) {
                EXPECT_TRUE(text.isNull());
                continue;
            }
            EXPECT_EQ(text.type, jet::ValueType::Text);
            EXPECT_EQ(text.data, MadeUpCursor::textOf(seen)) << "row " << seen;
            const jet::ValueRef third = batch->value(r, 2);
            EXPECT_EQ(third.isNull(), seen % 2 == 1);
        }
    }
    return seen;
}

TEST(ReadAhead, EveryRowArrivesInOrderWithItsOwnBytes) {
    MadeUpCursor cursor(50000);
    ReadAhead rows(cursor, {0, 1, 2}, FailedRow::Keep);
    EXPECT_EQ(readAll(rows), 50000u);
    EXPECT_TRUE(rows.status().isOk());
    EXPECT_EQ(rows.next(), nullptr);  // stays at the end
}

TEST(ReadAhead, ColumnsComeInTheOrderAsked) {
    MadeUpCursor cursor(3000);
    ReadAhead rows(cursor, {2, 0}, FailedRow::Keep);
    uint64_t seen = 0;
    while (const cli::RowBatch* batch = rows.next())
        for (size_t r = 0; r < batch->rows(); ++r) {
            ++seen;
            EXPECT_EQ(batch->value(r, 0).isNull(), seen % 2 == 1);
            EXPECT_EQ(batch->value(r, 1).i, static_cast<int64_t>(seen));
        }
    EXPECT_EQ(seen, 3000u);
}

// The export writes the failing row as far as it was read (as its loop over
// the cursor did); the SQLite copy stores no part of it.
TEST(ReadAhead, AFailedValueEndsTheRowsKeepingOrDroppingItsRow) {
    for (const uint64_t failAt : {1u, 777u, 20000u}) {
        MadeUpCursor kept(50000, failAt);
        ReadAhead keep(kept, {0, 1, 2}, FailedRow::Keep);
        EXPECT_EQ(readAll(keep, failAt), failAt);
        EXPECT_EQ(keep.status().code(), jet::ErrorCode::Corrupt);
        EXPECT_EQ(keep.status().message(), "row " + std::to_string(failAt) + " is bad");

        MadeUpCursor dropped(50000, failAt);
        ReadAhead drop(dropped, {0, 1, 2}, FailedRow::Drop);
        EXPECT_EQ(readAll(drop), failAt - 1);
        EXPECT_EQ(drop.status().message(), "row " + std::to_string(failAt) + " is bad");
    }
}

TEST(ReadAhead, AnEmptyTableGivesNoBatch) {
    MadeUpCursor cursor(0);
    ReadAhead rows(cursor, {0, 1, 2}, FailedRow::Keep);
    EXPECT_EQ(rows.next(), nullptr);
    EXPECT_TRUE(rows.status().isOk());
}

// A caller that stops after one batch (a stopped copy, a failed insert)
// ends the reading at once instead of waiting for the whole table.
TEST(ReadAhead, StoppingAfterTheFirstBatchEndsTheReading) {
    MadeUpCursor cursor(2000000);
    {
        ReadAhead rows(cursor, {0, 1, 2}, FailedRow::Keep);
        const cli::RowBatch* first = rows.next();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->value(0, 0).i, 1);
    }
    EXPECT_LT(cursor.reads.load(), 100000u);
}

}  // namespace
