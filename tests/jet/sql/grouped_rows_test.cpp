// The rows a grouped scan yields, from a cursor over rows held in memory:
// texts that the collation holds equal ("east", "East", "EAST ") fall in one
// group yet keep their own spelling, accents make groups of their own, Nulls
// make one group that comes first, and rows keep their stored order within
// a group.
#include <gtest/gtest.h>

#include <vector>

#include "sql/grouped_rows.h"

namespace jet::sql {
namespace {

class RowsInMemory final : public TableCursor {
  public:
    RowsInMemory(TableDef def, std::vector<std::vector<Value>> rows)
        : def_(std::move(def)), rows_(std::move(rows)) {}
    const TableDef& table() const override { return def_; }
    bool next() override { return ++at_ < rows_.size(); }
    void rewind() override { at_ = static_cast<std::size_t>(-1); }
    const Status& status() const override { return status_; }
    ValueRef get(std::size_t index) override { return rows_[at_][index].ref(); }
    uint64_t rowId() const override { return 100 + at_ * 7; }
    uint64_t estimatedRowCount() const override { return rows_.size(); }

  private:
    TableDef def_;
    std::vector<std::vector<Value>> rows_;
    std::size_t at_ = static_cast<std::size_t>(-1);
    Status status_;
};

TableDef regionsAndAmounts() {
    TableDef def;
    def.name = "Orders";
    Column region;
    region.name = "Region";
    region.typeCode = 0x0A;  // Text
    region.length = 20;
    Column amount;
    amount.name = "Amount";
    amount.typeCode = 0x04;  // Long
    amount.length = 4;
    def.columns = {region, amount};
    return def;
}

std::string shown(const SqlScalar& s) {
    if (s.kind == SQLITE_NULL)
        return "Null";
    if (s.kind == SQLITE_INTEGER)
        return std::to_string(s.i);
    return std::string(s.bytes);
}

TEST(GroupedRowsTest, TextsTheCollationHoldsEqualShareAGroupAndKeepTheirSpelling) {
    const auto text = [](const char* t) { return Value::text(t); };
    const auto n = [](int64_t i) { return Value::integer(ValueType::Long, i); };
    RowsInMemory cursor(regionsAndAmounts(), {{text("east"), n(1)},
                                              {Value::null(), n(2)},
                                              {text("West"), n(3)},
                                              {text("East"), n(4)},
                                              {text("\xC3\x89"
                                                    "ast"),
                                               n(5)},
                                              {text("EAST "), n(6)},
                                              {Value::null(), n(7)},
                                              {text("west"), Value::null()},
                                              {text("east"), n(8)}});
    GroupedRows rows(cursor.table(), {0}, 0b11);
    ScanFilter everyRow;
    ASSERT_TRUE(rows.collect(cursor, everyRow).isOk());
    std::vector<std::string> seen;
    for (; !rows.atEnd(); rows.next())
        seen.push_back(shown(rows.value(0)) + "," + shown(rows.value(1)) + "," +
                       std::to_string(rows.rowId()));
    EXPECT_EQ(seen, (std::vector<std::string>{"Null,2,107", "Null,7,142", "east,1,100",
                                              "East,4,121", "EAST ,6,135", "east,8,156",
                                              "\xC3\x89"
                                              "ast,5,128",
                                              "West,3,114", "west,Null,149"}));
}

TEST(GroupedRowsTest, ColumnsTheStatementDoesNotReadAreNull) {
    RowsInMemory cursor(regionsAndAmounts(),
                        {{Value::text("a"), Value::integer(ValueType::Long, 9)}});
    GroupedRows rows(cursor.table(), {0}, 0b01);
    ScanFilter everyRow;
    ASSERT_TRUE(rows.collect(cursor, everyRow).isOk());
    ASSERT_FALSE(rows.atEnd());
    EXPECT_EQ(shown(rows.value(1)), "Null");
    EXPECT_EQ(shown(rows.value(0)), "a");
    rows.next();
    EXPECT_TRUE(rows.atEnd());
}

}  // namespace
}  // namespace jet::sql
