// A table written by two workers reading parts of its data pages: the text
// is the one a single cursor read in order gives, a failing row ends it as
// there (of two failures the earlier), a part too large to hold goes out as
// it is read, and a failed write stops the reading.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "jet/sql_value_text.h"
#include "parallel_export.h"

namespace {

using cli::ExportFormat;

// The made-up table: `pages` data pages, some of them empty; column 0 the
// row number (from 1, in page order), column 1 a text (one of 3 MB at row
// `bigRow`), column 2 an #Error every 100th row and a number otherwise.
// Rows in `failAt` fail in column 1.
struct Plan {
    size_t pages = 0;
    uint64_t bigRow = 0;
    std::set<uint64_t> failAt;
    std::vector<uint64_t> firstRow;  // per page, and the row count last
    std::atomic<uint64_t> reads = 0;

    explicit Plan(size_t pageCount) : pages(pageCount) {
        uint64_t row = 1;
        for (size_t p = 0; p < pages; ++p) {
            firstRow.push_back(row);
            row += p % 7 == 3 ? 0 : 5 + p % 11;
        }
        firstRow.push_back(row);
    }
    uint64_t rows() const { return firstRow.back() - 1; }
    std::string textOf(uint64_t row) const {
        const size_t length = row == bigRow ? 3 << 20 : row % 23;
        return std::string(length, static_cast<char>(row % 5 == 0 ? '"' : 'a' + row % 26));
    }
};

class PagedCursor final : public jet::TableCursor {
  public:
    explicit PagedCursor(Plan& plan) : plan_(plan) {
        table_.name = "Paged";
        table_.columns.resize(3);
        rewind();
    }

    const jet::TableDef& table() const override { return table_; }
    bool next() override {
        if (!status_.isOk() || row_ + 1 >= end_)
            return false;
        ++row_;
        ++plan_.reads;
        text_ = plan_.textOf(row_);
        return true;
    }
    void rewind() override { readPages(0, SIZE_MAX); }
    const jet::Status& status() const override { return status_; }
    jet::ValueRef get(size_t index) override {
        jet::ValueRef v;
        if (index == 1 && plan_.failAt.contains(row_)) {
            status_ =
                jet::Status(jet::ErrorCode::Corrupt, "row " + std::to_string(row_) + " is bad");
            return v;
        }
        if (!status_.isOk())
            return v;
        if (index == 0) {
            v.type = jet::ValueType::Long;
            v.i = static_cast<int64_t>(row_);
        } else if (index == 1) {
            v.type = jet::ValueType::Text;
            v.data = text_;
        } else if (row_ % 100 == 0) {
            error_ = jet::errorValue();
            return error_.ref();
        } else {
            v.type = jet::ValueType::Double;
            v.d = static_cast<double>(row_) / 8;
        }
        return v;
    }
    uint64_t rowId() const override { return row_; }
    uint64_t estimatedRowCount() const override { return plan_.rows(); }
    size_t pageCount() const override { return plan_.pages; }
    std::unique_ptr<jet::TableCursor> twin() const override {
        return std::make_unique<PagedCursor>(plan_);
    }
    void readPages(size_t first, size_t end) override {
        row_ = plan_.firstRow[std::min(first, plan_.pages)] - 1;
        end_ = plan_.firstRow[std::min(end, plan_.pages)];
        status_ = jet::Status::ok();
    }

  private:
    Plan& plan_;
    jet::TableDef table_;
    uint64_t row_ = 0;
    uint64_t end_ = 0;  // the first row not read
    std::string text_;
    jet::Value error_;
    jet::Status status_;
};

struct Output {
    std::string text;
    std::string status;  // the rows' failure, empty when none
    uint64_t errorValues = 0;
};

const std::vector<std::string> kNames = {"n", "text", "x"};

// The rows as one cursor read in order writes them.
Output inOrder(Plan& plan, ExportFormat format) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    Output o;
    {
        PagedCursor cursor(plan);
        cli::RowWriter writer(out, format, kNames);
        while (cursor.next()) {
            writer.beginRow();
            for (size_t i = 0; i < 3; ++i)
                writer.value(cursor.get(i));
            writer.endRow();
            if (!cursor.status().isOk())
                break;
        }
        o.status = cursor.status().isOk() ? "" : cursor.status().message();
        o.errorValues = writer.errorValues();
    }
    std::fclose(out);
    o.text.assign(buffer, size);
    std::free(buffer);
    return o;
}

Output inParts(Plan& plan, ExportFormat format) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    Output o;
    {
        PagedCursor cursor(plan);
        EXPECT_TRUE(cli::ParallelExport::possible(cursor));
        cli::RowWriter writer(out, format, kNames);
        const jet::Status status = cli::ParallelExport::write(cursor, writer);
        o.status = status.isOk() ? "" : status.message();
        o.errorValues = writer.errorValues();
    }
    std::fclose(out);
    o.text.assign(buffer, size);
    std::free(buffer);
    return o;
}

void expectSame(Plan& plan, const std::string& what) {
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::JsonLines}) {
        const Output expected = inOrder(plan, format);
        const Output parted = inParts(plan, format);
        EXPECT_EQ(parted.text.size(), expected.text.size()) << what;
        EXPECT_TRUE(parted.text == expected.text) << what;
        EXPECT_EQ(parted.status, expected.status) << what;
        EXPECT_EQ(parted.errorValues, expected.errorValues) << what;
    }
}

TEST(ParallelExport, RowsGoOutInStoredOrderAsOneCursorWritesThem) {
    for (const size_t pages : {1u, 31u, 32u, 33u, 200u, 1001u}) {
        Plan plan(pages);
        expectSame(plan, std::to_string(pages) + " pages");
    }
}

TEST(ParallelExport, APartTooLargeToHoldGoesOutAsItIsRead) {
    Plan plan(300);
    plan.bigRow = plan.firstRow[150] + 2;  // in the fifth part
    expectSame(plan, "a 3 MB text");
    const Output parted = inParts(plan, ExportFormat::Csv);
    EXPECT_NE(parted.text.find(std::string(3 << 20, plan.textOf(plan.bigRow)[0])),
              std::string::npos);
}

TEST(ParallelExport, AFailingRowEndsTheRowsAfterItsRowAsReadInOrder) {
    Plan probe(400);
    for (const uint64_t row : {uint64_t{1}, probe.firstRow[31], probe.firstRow[32],
                               probe.firstRow[200] + 3, probe.rows()}) {
        Plan plan(400);
        plan.failAt = {row};
        expectSame(plan, "failing row " + std::to_string(row));
        EXPECT_EQ(inParts(plan, ExportFormat::Csv).status,
                  "row " + std::to_string(row) + " is bad");
    }
}

TEST(ParallelExport, OfTwoFailingRowsTheEarlierEndsTheRows) {
    Plan plan(400);
    // The later one, in the second part, is met first by the second worker
    // while the first one reads the first part to its end.
    plan.failAt = {plan.firstRow[30], plan.firstRow[33]};
    for (int round = 0; round < 20; ++round)
        expectSame(plan, "round " + std::to_string(round));
}

TEST(ParallelExport, AFailedWriteStopsTheReading) {
    FILE* full = std::fopen("/dev/full", "w");
    if (!full)
        GTEST_SKIP() << "no /dev/full";
    Plan plan(20000);
    {
        PagedCursor cursor(plan);
        cli::RowWriter writer(full, ExportFormat::Csv, kNames);
        EXPECT_TRUE(cli::ParallelExport::write(cursor, writer).isOk());
        EXPECT_FALSE(writer.flush());
        EXPECT_EQ(writer.failure(), "cannot write the output: No space left on device");
    }
    std::fclose(full);
    EXPECT_LT(plan.reads.load(), plan.rows() / 2);
}

}  // namespace
