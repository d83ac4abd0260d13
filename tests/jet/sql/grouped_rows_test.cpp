// The rows a grouped scan yields, from a cursor over rows held in memory:
// texts that the collation holds equal ("east", "East", "EAST ") fall in one
// group yet keep their own spelling, accents make groups of their own, Nulls
// make one group that comes first, and rows keep their stored order within
// a group.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
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
    if (s.kind == SQLITE_FLOAT) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", s.d);
        return text;
    }
    return std::string(s.bytes);
}

std::vector<std::string> readAll(GroupedRows& rows) {
    std::vector<std::string> seen;
    for (; !rows.atEnd(); rows.next())
        seen.push_back(shown(rows.value(0)) + "," + shown(rows.value(1)) + "," +
                       std::to_string(rows.rowId()));
    return seen;
}

// Bytes the heap holds, in small blocks and mapped ones.
// Groups `input` by its first column and expects each row as `expected`
// shows it: groups in the order of their numbers, stored order within.
void expectGroupedAs(std::vector<std::vector<Value>> input,
                     std::vector<std::pair<int, std::string>> expected) {
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    RowsInMemory cursor(regionsAndAmounts(), std::move(input));
    GroupedRows rows(cursor.table(), {0}, 0b11);
    ScanFilter everyRow;
    ASSERT_TRUE(rows.collect(cursor, everyRow).isOk());
    const std::vector<std::string> seen = readAll(rows);
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t r = 0; r < seen.size(); ++r)
        ASSERT_EQ(seen[r], expected[r].second) << "row " << r;
}

std::size_t heapBytes() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
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

// The groups of a table grouped by a key, each of a single row, once took
// a page apiece and then a few hundred bytes in maps and vectors per row.
TEST(GroupedRowsTest, AGroupPerRowKeepsMemoryNearTheRowsOwnSize) {
    constexpr int64_t kRows = 200000;
    std::vector<std::vector<Value>> input;
    input.reserve(kRows);
    for (int64_t i = 0; i < kRows; ++i)
        input.push_back({Value::integer(ValueType::Long, (i * 7919) % kRows),
                         Value::integer(ValueType::Long, i)});
    RowsInMemory cursor(regionsAndAmounts(), std::move(input));
    const std::size_t before = heapBytes();
    GroupedRows rows(cursor.table(), {0}, 0b11);
    ScanFilter everyRow;
    ASSERT_TRUE(rows.collect(cursor, everyRow).isOk());
    // A row holds two numbers (18 bytes) and a row id; its group, its key
    // and its place in the order may add as much again, and growth some.
    EXPECT_LT(heapBytes() - before, 80 * kRows);
    int64_t key = 0;
    for (; !rows.atEnd(); rows.next(), ++key) {
        ASSERT_EQ(rows.value(0).i, key);
        ASSERT_EQ(rows.value(1).i * 7919 % kRows, key);
        ASSERT_EQ(rows.rowId(), static_cast<uint64_t>(100 + rows.value(1).i * 7));
    }
    EXPECT_EQ(key, kRows);
}

// Three spellings of each of 3,000 names, mixed through 9,000 rows: every
// name is one group, in the collation's order, its rows in stored order and
// each row as it was written.
TEST(GroupedRowsTest, ManyGroupsOfSeveralSpellingsKeepEachRowAsStored) {
    constexpr int kGroups = 3000, kRows = 9000;
    std::vector<std::vector<Value>> input;
    std::vector<std::pair<int, std::string>> expected;
    for (int i = 0; i < kRows; ++i) {
        const int group = (i * 7919) % kGroups;
        char name[32];
        std::snprintf(name, sizeof name,
                      i % 3 == 0   ? "name%05d"
                      : i % 3 == 1 ? "NAME%05d"
                                   : "Name%05d ",
                      group);
        input.push_back({Value::text(name), Value::integer(ValueType::Long, i)});
        expected.emplace_back(
            group, std::string(name) + "," + std::to_string(i) + "," + std::to_string(100 + i * 7));
    }
    expectGroupedAs(std::move(input), std::move(expected));
}

// Rows in key order need no hashing until one comes out of order; from then
// on the groups already made are found as well as new ones.
TEST(GroupedRowsTest, RowsInKeyOrderThenOutOfOrderGroupAsSorted) {
    constexpr int kInOrder = 4000;
    std::vector<std::vector<Value>> input;
    std::vector<std::pair<int, std::string>> expected;
    const auto add = [&](int key, const char* format) {
        char name[32];
        std::snprintf(name, sizeof name, format, key);
        const auto i = static_cast<int64_t>(input.size());
        input.push_back({Value::text(name), Value::integer(ValueType::Long, i)});
        expected.emplace_back(
            key, std::string(name) + "," + std::to_string(i) + "," + std::to_string(100 + i * 7));
    };
    for (int key = 1; key <= kInOrder; ++key) {
        add(key, "k%05d");
        if (key % 3 == 0)
            add(key, "K%05d");
    }
    for (const int key : {17, 0, 3999, 17, 4001})
        add(key, key % 2 ? "K%05d " : "k%05d");
    expectGroupedAs(std::move(input), std::move(expected));
}

// A few groups of many rows each, first in key order and then mixed: the
// rows a group held before the mix are moved into place, those after go on
// in chunks of the group's own, and all still come in stored order.
TEST(GroupedRowsTest, FewGroupsOfManyRowsKeepStoredOrder) {
    const char* names[] = {"beta", "ALPHA", "Gamma", "alpha ", "BETA", "gamma"};
    std::vector<std::vector<Value>> input;
    std::vector<std::pair<int, std::string>> expected;
    const auto add = [&](int name) {
        const auto i = static_cast<int64_t>(input.size());
        input.push_back({Value::text(names[name]), Value::integer(ValueType::Long, i)});
        const int group = name == 1 || name == 3 ? 0 : name == 0 || name == 4 ? 1 : 2;
        expected.emplace_back(group, std::string(names[name]) + "," + std::to_string(i) + "," +
                                         std::to_string(100 + i * 7));
    };
    for (int i = 0; i < 3000; ++i)
        add(i % 2 ? 1 : 3);
    for (int i = 0; i < 30000; ++i)
        add((i * 7 + i / 5) % 6);
    expectGroupedAs(std::move(input), std::move(expected));
}

// SQLite holds 3 and 3.0 equal; as two groups of the scan they came one
// after the other and SQLite joined them, out of stored order.
TEST(GroupedRowsTest, AnIntegerAndARealOfEqualValueShareAGroupInStoredOrder) {
    const auto n = [](int64_t i) { return Value::integer(ValueType::Long, i); };
    const auto real = [](double d) { return Value::real(ValueType::Double, d); };
    RowsInMemory cursor(regionsAndAmounts(), {{n(3), n(1)},
                                              {real(3.0), n(2)},
                                              {real(2.5), n(3)},
                                              {n(3), n(4)},
                                              {real(-0.0), n(5)},
                                              {n(0), n(6)},
                                              {real(3.0), n(7)}});
    GroupedRows rows(cursor.table(), {0}, 0b11);
    ScanFilter everyRow;
    ASSERT_TRUE(rows.collect(cursor, everyRow).isOk());
    EXPECT_EQ(readAll(rows),
              (std::vector<std::string>{"-0.0,5,128", "0,6,135", "2.5,3,114", "3,1,100",
                                        "3.0,2,107", "3,4,121", "3.0,7,142"}));
}

}  // namespace
}  // namespace jet::sql
