// The tests the table module makes inside its scans (comparisons, Like,
// ORDER BY ... LIMIT) against SQLite's own answers: each statement runs on
// the module's table and on a plain SQLite table holding the same rows with
// the same declarations, where SQLite does every test itself. Run over every
// table of the shared test files, so Nulls, accents and case, dates,
// currency and empty tables all meet each kind of test.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "jet/database.h"
#include "sql/function_registry.h"
#include "sql/scan_plan.h"
#include "sql/sql_type.h"
#include "sql/table_module.h"
#include "sql/translator.h"

namespace jet::sql {
namespace {

constexpr uint64_t kMostRows = 20000;  // keeps the sweep quick

std::string cellText(sqlite3_stmt* st, int i) {
    char buf[64];
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_NULL:
            return "NULL";
        case SQLITE_INTEGER:
            return "i" + std::to_string(sqlite3_column_int64(st, i));
        case SQLITE_FLOAT:
            std::snprintf(buf, sizeof buf, "r%.17g", sqlite3_column_double(st, i));
            return buf;
        case SQLITE_TEXT:
            return "t" + std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                     sqlite3_column_bytes(st, i));
        default:
            return "b" + std::string(static_cast<const char*>(sqlite3_column_blob(st, i)),
                                     sqlite3_column_bytes(st, i));
    }
}

// A value to bind: text, an integer or a real.
struct Bound {
    int kind = SQLITE_TEXT;
    std::string text;
    int64_t i = 0;
    double d = 0;
};

// One table of a file as the module's table "v" and its plain copy "p".
class TwinTable {
  public:
    TwinTable(const Database& db, const TableDef& table) : table_(table) {
        sqlite3_open(":memory:", &connection_);
        ok_ = registerAccessFunctions(connection_).isOk() &&
              registerTableModule(connection_, db).isOk() &&
              exec(createTableStatement("v", table)) && exec(plainTable()) &&
              exec("INSERT INTO p SELECT " + columnList() + " FROM v");
    }
    ~TwinTable() { sqlite3_close(connection_); }
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }

    // The rows of `sql` with "{T}" naming the module's table and then the
    // plain copy; `ordered` keeps their order, else both are sorted.
    void expectSame(const std::string& sql, const std::vector<Bound>& values, bool ordered) {
        auto fromModule = rows(named(sql, "v"), values);
        auto fromPlain = rows(named(sql, "p"), values);
        if (!ordered) {
            std::sort(fromModule.begin(), fromModule.end());
            std::sort(fromPlain.begin(), fromPlain.end());
        }
        EXPECT_EQ(fromModule, fromPlain) << table_.name << ": " << sql;
        ++compared_;
    }
    // SQLite's plan for `sql` on the module's table.
    std::string plan(const std::string& sql, const std::vector<Bound>& values) {
        std::string out;
        for (const std::string& row : rows("EXPLAIN QUERY PLAN " + named(sql, "v"), values))
            out += row + "\n";
        return out;
    }
    int compared() const { return compared_; }

    // Up to three non-Null values of `column` (first, middle and last stored).
    std::vector<Bound> samples(const std::string& column) {
        std::vector<Bound> all;
        sqlite3_stmt* st = nullptr;
        const std::string sql = "SELECT " + column + " FROM p WHERE " + column + " IS NOT NULL";
        if (sqlite3_prepare_v2(connection_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            return all;
        while (sqlite3_step(st) == SQLITE_ROW) {
            Bound b;
            b.kind = sqlite3_column_type(st, 0);
            if (b.kind == SQLITE_INTEGER)
                b.i = sqlite3_column_int64(st, 0);
            else if (b.kind == SQLITE_FLOAT)
                b.d = sqlite3_column_double(st, 0);
            else if (b.kind == SQLITE_TEXT)
                b.text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            else
                continue;  // blobs: compared as bytes, no collation to get wrong
            all.push_back(b);
        }
        sqlite3_finalize(st);
        if (all.size() <= 3)
            return all;
        return {all.front(), all[all.size() / 2], all.back()};
    }

  private:
    static std::string named(std::string sql, const std::string& name) {
        for (std::size_t at; (at = sql.find("{T}")) != std::string::npos;)
            sql.replace(at, 3, name);
        return sql;
    }
    std::string columnList() const {
        std::string out;
        for (const Column& c : table_.columns)
            out += (out.empty() ? "" : ", ") + quoteIdentifier(c.name);
        return out;
    }
    std::string plainTable() const {
        std::string out = "CREATE TABLE p(";
        for (std::size_t i = 0; i < table_.columns.size(); ++i) {
            out += (i ? ", " : "") + quoteIdentifier(table_.columns[i].name) + " " +
                   sqliteDeclaration(typeOfColumn(table_.columns[i].typeCode));
        }
        return out + ")";
    }
    bool exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(connection_, sql.c_str(), nullptr, nullptr, &err) == SQLITE_OK)
            return true;
        error_ = err ? err : "?";
        sqlite3_free(err);
        return false;
    }
    std::vector<std::string> rows(const std::string& sql, const std::vector<Bound>& values) {
        std::vector<std::string> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(connection_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(connection_);
            return out;
        }
        for (std::size_t k = 0; k < values.size(); ++k) {
            const Bound& b = values[k];
            const int at = static_cast<int>(k) + 1;
            if (b.kind == SQLITE_INTEGER)
                sqlite3_bind_int64(st, at, b.i);
            else if (b.kind == SQLITE_FLOAT)
                sqlite3_bind_double(st, at, b.d);
            else
                sqlite3_bind_text(st, at, b.text.data(), static_cast<int>(b.text.size()),
                                  SQLITE_TRANSIENT);
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                row += cellText(st, i) + "|";
            out.push_back(row);
        }
        // An error (a bad Like pattern, say) is a result both sides must give.
        if (rc != SQLITE_DONE)
            out.push_back(std::string("error: ") + sqlite3_errmsg(connection_));
        sqlite3_finalize(st);
        return out;
    }

    const TableDef& table_;
    sqlite3* connection_ = nullptr;
    bool ok_ = false;
    std::string error_;
    int compared_ = 0;
};

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return s;
}

bool testable(const Column& c) {
    return c.type() != ColumnType::Complex;
}

template <typename Fn>
int forEveryTable(Fn&& fn) {
    int tables = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TABLESCOPE_TESTDATA)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".mdb" && ext != ".accdb")
            continue;
        auto db = Database::open(entry.path().string());
        if (!db)
            continue;  // protected or deliberately broken files
        for (const TableDef& t : (*db)->tables()) {
            if (t.isLinked() || !t.definitionError.empty() || t.storedRowCount > kMostRows)
                continue;
            TwinTable twin(**db, t);
            if (!twin.ok())
                continue;  // tables the reader cannot read fail in their own tests
            fn(twin, t);
            ++tables;
        }
    }
    return tables;
}

Bound text(std::string s) {
    return {SQLITE_TEXT, std::move(s), 0, 0};
}

// The first `n` characters of UTF-8 text.
std::string firstChars(const std::string& s, std::size_t n) {
    std::size_t at = 0;
    for (std::size_t k = 0; k < n && at < s.size(); ++k) {
        ++at;
        while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80)
            ++at;
    }
    return s.substr(0, at);
}

TEST(ScanPushdownTest, ComparisonsAgreeWithSqliteOnEveryTable) {
    int pushed = 0, compared = 0;
    const int tables = forEveryTable([&](TwinTable& twin, const TableDef& t) {
        for (const Column& c : t.columns) {
            if (!testable(c))
                continue;
            const std::string col = quoteIdentifier(c.name);
            const std::vector<Bound> values = twin.samples(col);
            for (const Bound& v : values) {
                for (const char* op : {"=", "<", ">=", ">"})
                    twin.expectSame("SELECT * FROM {T} WHERE " + col + " " + op + " ?1", {v},
                                    false);
                if (v.kind == SQLITE_TEXT) {
                    // Case and accents are the collation's: "ABC" = "abc".
                    twin.expectSame("SELECT * FROM {T} WHERE " + col + " = ?1",
                                    {text(upper(v.text))}, false);
                    twin.expectSame("SELECT * FROM {T} WHERE " + col + " < ?1",
                                    {text(upper(v.text))}, false);
                    // Text met by a number is left to SQLite's conversions.
                    twin.expectSame("SELECT * FROM {T} WHERE " + col + " > ?1",
                                    {Bound{SQLITE_INTEGER, "", 5, 0}}, false);
                } else {
                    const std::string asText =
                        v.kind == SQLITE_INTEGER ? std::to_string(v.i) : std::to_string(v.d);
                    twin.expectSame("SELECT * FROM {T} WHERE " + col + " <= ?1", {text(asText)},
                                    false);
                }
            }
            if (values.size() >= 2) {
                const std::string between = "SELECT * FROM {T} WHERE " + col + " BETWEEN ?1 AND ?2";
                twin.expectSame(between, {values.front(), values.back()}, false);
                pushed += twin.plan(between, {values.front(), values.back()}).find(";t") !=
                          std::string::npos;
            }
        }
        compared += twin.compared();
    });
    EXPECT_GT(tables, 50);
    EXPECT_GT(compared, 2000);
    EXPECT_GT(pushed, 100) << "ranges were not tested in the scans";
}

TEST(ScanPushdownTest, LikeAgreesWithSqliteWhateverThePatternStartsWith) {
    int pushed = 0, compared = 0;
    forEveryTable([&](TwinTable& twin, const TableDef& t) {
        for (const Column& c : t.columns) {
            if (!testable(c) || !isTextType(typeOfColumn(c.typeCode)))
                continue;
            const std::string like =
                "SELECT * FROM {T} WHERE acc_like(" + quoteIdentifier(c.name) + ", ?1)";
            for (const Bound& v : twin.samples(quoteIdentifier(c.name))) {
                const std::string two = firstChars(v.text, 2);
                const std::string first = firstChars(v.text, 1);
                for (const std::string& pattern :
                     std::vector<std::string>{two + "*", upper(two) + "*", "[" + first + "]*",
                                              "?" + v.text.substr(first.size()), "#*", v.text,
                                              upper(v.text), "*" + v.text.substr(two.size()),
                                              "[!a-m]*", first + "[0-9]*", "[z-a]*", "[" + first})
                    twin.expectSame(like, {text(pattern)}, false);
                pushed += twin.plan(like, {text(two + "*")}).find(",150,") != std::string::npos;
            }
        }
        compared += twin.compared();
    });
    EXPECT_GT(compared, 500);
    EXPECT_GT(pushed, 50) << "Like was not tested in the scans";
}

TEST(ScanPushdownTest, OrderByLimitAgreesWithSqliteSorting) {
    int kept = 0, compared = 0;
    forEveryTable([&](TwinTable& twin, const TableDef& t) {
        const std::string firstCol = quoteIdentifier(t.columns.front().name);
        for (const Column& c : t.columns) {
            if (!testable(c))
                continue;
            const std::string col = quoteIdentifier(c.name);
            const std::string top = "SELECT * FROM {T} ORDER BY " + col + " DESC LIMIT 5";
            twin.expectSame(top, {}, true);
            twin.expectSame("SELECT * FROM {T} ORDER BY " + col + " LIMIT 3", {}, true);
            twin.expectSame("SELECT * FROM {T} ORDER BY " + col + ", " + firstCol + " DESC LIMIT 7",
                            {}, true);
            kept += twin.plan(top, {}).find("TEMP B-TREE") == std::string::npos;
            // What the scan cannot answer alone goes to SQLite's sorter: a
            // WHERE that would drop kept rows, an OFFSET, a LIMIT not known
            // when the statement is planned.
            twin.expectSame(
                "SELECT * FROM {T} WHERE " + col + " IS NOT NULL ORDER BY " + col + " LIMIT 2", {},
                true);
            twin.expectSame("SELECT * FROM {T} ORDER BY " + col + " LIMIT 3 OFFSET 2", {}, true);
            twin.expectSame("SELECT * FROM {T} ORDER BY " + col + " DESC LIMIT ?1",
                            {Bound{SQLITE_INTEGER, "", 4, 0}}, true);
        }
        compared += twin.compared();
    });
    EXPECT_GT(compared, 1000);
    EXPECT_GT(kept, 200) << "ORDER BY ... LIMIT was not answered by the scans";
}

// An equality join probes the module's table once for each outer row, which
// from the second probe on is answered by a lookup built in one scan: every
// column joined to itself, to its upper-cased text and to its numbers as
// text must find the rows SQLite finds in the plain copy.
TEST(ScanPushdownTest, EqualityJoinLookupsAgreeWithSqliteOnEveryTable) {
    int compared = 0;
    forEveryTable([&](TwinTable& twin, const TableDef& t) {
        // The rows found, by their first column (SQLite may find a key's
        // rows in another order in the plain copy).
        if (t.storedRowCount > 5000)
            return;  // a key held by many rows costs rows squared
        const std::string found = "b." + quoteIdentifier(t.columns.front().name);
        for (const Column& c : t.columns) {
            if (!testable(c))
                continue;
            const std::string col = quoteIdentifier(c.name);
            const SqlType type = typeOfColumn(c.typeCode);
            const std::string probe = isTextType(type)  ? "upper(a." + col + ")"
                                      : isNumeric(type) ? "CAST(a." + col + " AS TEXT)"
                                                        : "a." + col;
            for (const std::string& key : {"a." + col, probe})
                twin.expectSame("SELECT a.rowid, count(*), min(" + found + "), max(" + found +
                                    ") FROM p AS a LEFT JOIN {T} AS b ON b." + col + " = " + key +
                                    " GROUP BY a.rowid",
                                {}, false);
        }
        compared += twin.compared();
    });
    EXPECT_GT(compared, 1000);
}

// The benchmark's 100,000 customers as the module's table and its plain copy.
void withBenchCustomers(const std::function<void(TwinTable&, const TableDef&)>& fn) {
    const char* env = std::getenv("TABLESCOPE_BENCH_MDB");
    const std::string path = env ? env : TABLESCOPE_BENCH_FALLBACK;
    ASSERT_TRUE(std::filesystem::exists(path)) << "benchmark database missing: " << path;
    auto db = Database::open(path);
    ASSERT_TRUE(db) << db.status().message();
    const TableDef* customers = (*db)->findTable("Customers");
    ASSERT_TRUE(customers);
    TwinTable twin(**db, *customers);
    ASSERT_TRUE(twin.ok()) << twin.error();
    fn(twin, *customers);
}

// A big table makes the scan cut its candidates back many times, with text
// keys that tie (a few countries over 100,000 customers) and dates.
TEST(ScanPushdownTest, OrderByLimitOnBigTableAgreesWithSqliteSorting) {
    withBenchCustomers([](TwinTable& twin, const TableDef& customers) {
        for (const Column& c : customers.columns) {
            const std::string col = quoteIdentifier(c.name);
            for (const char* direction : {" DESC", ""}) {
                const std::string top =
                    "SELECT * FROM {T} ORDER BY " + col + direction + " LIMIT 100";
                twin.expectSame(top, {}, true);
                EXPECT_EQ(twin.plan(top, {}).find("TEMP B-TREE"), std::string::npos) << top;
                twin.expectSame(
                    "SELECT * FROM {T} ORDER BY " + col + direction + ", \"City\" LIMIT 2000", {},
                    true);
            }
        }
    });
}

// GROUP BY: the scan yields the rows group by group, SQLite then only
// compares neighbours. Groups, their order (Null first, text by the
// collation), the first row of each group and the order of the rows within
// it (group_concat) must be those of SQLite's sorter on the plain copy.
TEST(ScanPushdownTest, GroupByAgreesWithSqliteSortingOnEveryTable) {
    int grouped = 0, compared = 0;
    forEveryTable([&](TwinTable& twin, const TableDef& t) {
        const std::string firstCol = quoteIdentifier(t.columns.front().name);
        for (const Column& c : t.columns) {
            if (!testable(c))
                continue;
            const std::string col = quoteIdentifier(c.name);
            const std::string byColumn = "SELECT acc_first(" + col + "), count(*), count(" +
                                         firstCol + "), group_concat(" + firstCol +
                                         ", '|') FROM {T} GROUP BY " + col;
            twin.expectSame(byColumn, {}, true);
            grouped += twin.plan(byColumn, {}).find("TEMP B-TREE") == std::string::npos;
            twin.expectSame("SELECT " + col + ", min(" + firstCol + "), max(" + firstCol +
                                ") FROM {T} WHERE " + firstCol + " IS NOT NULL GROUP BY " + col,
                            {}, true);
            twin.expectSame("SELECT acc_first(" + col + "), acc_first(" + firstCol +
                                "), count(*) FROM {T} GROUP BY " + col + ", " + firstCol,
                            {}, true);
        }
        compared += twin.compared();
    });
    EXPECT_GT(compared, 1000);
    EXPECT_GT(grouped, 300) << "GROUP BY was not answered by the scans";
}

// Many rows a group: 100,000 customers in a few countries and cities.
TEST(ScanPushdownTest, GroupByOnBigTableAgreesWithSqliteSorting) {
    withBenchCustomers([](TwinTable& twin, const TableDef&) {
        for (const char* sql :
             {"SELECT acc_first(Country), count(*), sum(CustomerID), min(City) FROM {T} GROUP BY "
              "Country",
              "SELECT acc_first(City), acc_first(Country), count(*), max(Since) FROM {T} WHERE "
              "CustomerID > 500 GROUP BY City, Country"}) {
            twin.expectSame(sql, {}, true);
            EXPECT_EQ(twin.plan(sql, {}).find("TEMP B-TREE"), std::string::npos) << sql;
        }
    });
}

// A group per row or nearly (keys, names, dates of 100,000 customers): the
// scan's groups, their order and their rows' order are those of SQLite's
// sorter, as with few groups.
TEST(ScanPushdownTest, GroupByWithAGroupPerRowAgreesWithSqliteSorting) {
    withBenchCustomers([](TwinTable& twin, const TableDef&) {
        for (const char* sql :
             {"SELECT CustomerID, count(*), min(City) FROM {T} GROUP BY CustomerID",
              "SELECT acc_first(Company), count(*), group_concat(CustomerID, '|') FROM {T} "
              "GROUP BY Company",
              "SELECT Since, count(*), max(CustomerID) FROM {T} GROUP BY Since",
              "SELECT acc_first(City), Since, group_concat(CustomerID, '|') FROM {T} GROUP BY "
              "City, Since"}) {
            twin.expectSame(sql, {}, true);
            EXPECT_EQ(twin.plan(sql, {}).find("TEMP B-TREE"), std::string::npos) << sql;
        }
    });
}

TEST(ScanPlanTest, ColumnsUsedWithEveryBitSetSurvivesTheRoundTrip) {
    ScanPlan plan;
    plan.columnsUsed = ~uint64_t{0};
    plan.tests = {{3, SQLITE_INDEX_CONSTRAINT_GE, true, 1}, {0, kLikeConstraint, false, 2}};
    plan.order = {{4, true}, {1, false}};
    plan.limitArgv = 3;
    plan.groupBy = {2, 0};
    const auto back = ScanPlan::decode(plan.encode());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->columnsUsed, ~uint64_t{0});
    ASSERT_EQ(back->tests.size(), 2u);
    EXPECT_EQ(back->tests[0].op, SQLITE_INDEX_CONSTRAINT_GE);
    EXPECT_TRUE(back->tests[0].accessText);
    EXPECT_EQ(back->tests[1].op, kLikeConstraint);
    EXPECT_EQ(back->tests[1].argv, 2);
    ASSERT_EQ(back->order.size(), 2u);
    EXPECT_TRUE(back->order[0].descending);
    EXPECT_EQ(back->order[1].column, 1);
    EXPECT_EQ(back->limitArgv, 3);
    EXPECT_EQ(back->groupBy, (std::vector<int>{2, 0}));
    EXPECT_EQ(back->lookupColumn, -1);
}

TEST(ScanPlanTest, GarbledPlanIsRefused) {
    for (const char* text :
         {"x1", "u", "u1;t1,2", "u1;k-1", "u1;o1,1,1", "u1;g", "u1;g1,2", "u99999999999999999999"})
        EXPECT_FALSE(ScanPlan::decode(text)) << text;
    EXPECT_TRUE(ScanPlan::decode(""));
}

}  // namespace
}  // namespace jet::sql
