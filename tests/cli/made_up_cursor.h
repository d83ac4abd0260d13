// A table cursor over made-up rows, for the tests of what reads tables on a
// thread of its own.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "jet/table_cursor.h"

namespace clitest {

// A cursor over made-up rows: column 0 the row number, column 1 a text whose
// length varies (one of a megabyte), column 2 Null on odd rows. Row
// `failAt` fails in column `failColumn` when set.
class MadeUpCursor final : public jet::TableCursor {
  public:
    MadeUpCursor(uint64_t rows, std::optional<uint64_t> failAt = {}, size_t failColumn = 1)
        : rows_(rows), failAt_(failAt), failColumn_(failColumn) {
        table_.name = "MadeUp";
        table_.columns.resize(3);
    }

    static std::string textOf(uint64_t row) {
        const size_t length = row == 777 ? 1 << 20 : row % 97;
        return std::string(length, static_cast<char>('a' + row % 26));
    }

    const jet::TableDef& table() const override { return table_; }
    bool next() override {
        if (!status_.isOk() || row_ >= rows_)
            return false;
        ++row_;
        ++reads;
        text_ = textOf(row_);
        return true;
    }
    void rewind() override { row_ = 0; }
    const jet::Status& status() const override { return status_; }
    jet::ValueRef get(size_t index) override {
        jet::ValueRef v;
        if (failAt_ && row_ == *failAt_ && index == failColumn_) {
            status_ =
                jet::Status(jet::ErrorCode::Corrupt, "row " + std::to_string(row_) + " is bad");
            return v;
        }
        if (index == 0) {
            v.type = jet::ValueType::Long;
            v.i = static_cast<int64_t>(row_);
        } else if (index == 1) {
            v.type = jet::ValueType::Text;
            v.data = text_;
        } else if (row_ % 2 == 0) {
            v.type = jet::ValueType::Double;
            v.d = static_cast<double>(row_) / 4;
        }
        return v;
    }
    uint64_t rowId() const override { return row_; }
    uint64_t estimatedRowCount() const override { return rows_; }

    std::atomic<uint64_t> reads = 0;

  private:
    jet::TableDef table_;
    uint64_t rows_;
    std::optional<uint64_t> failAt_;
    size_t failColumn_;
    uint64_t row_ = 0;  // 1-based once next() has moved
    std::string text_;
    jet::Status status_;
};

}  // namespace clitest
