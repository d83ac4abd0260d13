// Cross-check on the benchmark database: queries run through the engine
// equal the same queries run by plain SQLite on native copies of the rows.
// The copies hold the first 100,000 orders and every customer, so the test
// stays quick; the Access side reads the whole file and filters.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "jet/database.h"
#include "jet/sql_session.h"

namespace jet {
namespace {

std::string benchPath() {
    const char* env = std::getenv("TABLESCOPE_BENCH_MDB");
    return env ? env : TABLESCOPE_BENCH_FALLBACK;
}

std::string number(double d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", d);
    return buf;
}

std::string normal(const Value& v) {
    switch (v.type()) {
        case ValueType::Null:
            return "NULL";
        case ValueType::Text:
            return v.data();
        case ValueType::Currency:
            return number(static_cast<double>(v.i()) / 10000.0);
        case ValueType::Boolean:
            return number(v.i() ? -1 : 0);
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
        case ValueType::BigInt:
            return number(static_cast<double>(v.i()));
        default:
            return number(v.d());
    }
}

class BenchCrossCheck : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string path = benchPath();
        ASSERT_TRUE(std::filesystem::exists(path))
            << "benchmark database missing: " << path << " (set TABLESCOPE_BENCH_MDB)";
        auto db = Database::open(path);
        ASSERT_TRUE(db) << db.status().message();
        db_ = std::move(db.value()).release();
        auto s = SqlSession::open(*db_);
        ASSERT_TRUE(s);
        session_ = std::move(s.value()).release();
        sqlite3_open(":memory:", &native_);
        sqlite3_exec(native_,
                     "CREATE TABLE Customers (CustomerID INTEGER PRIMARY KEY, Company TEXT, City "
                     "TEXT, Country TEXT, Since REAL);"
                     "CREATE TABLE Orders (OrderID INTEGER PRIMARY KEY, CustomerID INTEGER, "
                     "OrderDate REAL, Amount REAL, Shipped INTEGER, Region TEXT);"
                     "CREATE INDEX OrdersCustomer ON Orders(CustomerID);",
                     nullptr, nullptr, nullptr);
        copy("Customers", 1000000);
        copy("Orders", 100000);
    }
    static void TearDownTestSuite() {
        sqlite3_close(native_);
        delete session_;
        delete db_;
    }

    static void copy(const std::string& table, int64_t maxId) {
        auto cursor = db_->openTable(table);
        ASSERT_TRUE(cursor);
        const std::size_t n = (*cursor)->columnCount();
        std::string sql = "INSERT INTO " + table + " VALUES (?";
        for (std::size_t i = 1; i < n; ++i)
            sql += ",?";
        sqlite3_stmt* st = nullptr;
        sqlite3_exec(native_, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(native_, (sql + ")").c_str(), -1, &st, nullptr);
        while ((*cursor)->next()) {
            if ((*cursor)->get(0).i > maxId)
                continue;
            for (std::size_t i = 0; i < n; ++i) {
                const ValueRef v = (*cursor)->get(i);
                const int p = static_cast<int>(i) + 1;
                if (v.type == ValueType::Text)
                    sqlite3_bind_text(st, p, v.data.data(), static_cast<int>(v.data.size()),
                                      SQLITE_TRANSIENT);
                else if (v.type == ValueType::Boolean)
                    sqlite3_bind_int(st, p, v.i ? -1 : 0);
                else if (v.type == ValueType::Currency)
                    sqlite3_bind_double(st, p, static_cast<double>(v.i) / 10000.0);
                else if (v.type == ValueType::DateTime || v.type == ValueType::Double)
                    sqlite3_bind_double(st, p, v.d);
                else if (v.type == ValueType::Null)
                    sqlite3_bind_null(st, p);
                else
                    sqlite3_bind_int64(st, p, v.i);
            }
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(native_, "COMMIT", nullptr, nullptr, nullptr);
        ASSERT_TRUE((*cursor)->status()) << (*cursor)->status().message();
    }

    static std::vector<std::string> access(const std::string& sql) {
        std::vector<std::string> rows;
        auto rs = session_->openRecordset(sql);
        if (!rs) {
            ADD_FAILURE() << sql << ": " << rs.status().message();
            return rows;
        }
        while ((*rs)->next()) {
            std::string row;
            for (const Value& v : (*rs)->row())
                row += normal(v) + "|";
            rows.push_back(row);
        }
        EXPECT_TRUE((*rs)->status()) << (*rs)->status().message();
        return rows;
    }

    static std::vector<std::string> plain(const std::string& sql) {
        std::vector<std::string> rows;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(native_, sql.c_str(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(native_);
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const int t = sqlite3_column_type(st, i);
                row += (t == SQLITE_NULL ? "NULL"
                        : t == SQLITE_TEXT
                            ? std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)))
                            : number(sqlite3_column_double(st, i))) +
                       "|";
            }
            rows.push_back(row);
        }
        sqlite3_finalize(st);
        return rows;
    }

    static Database* db_;
    static SqlSession* session_;
    static sqlite3* native_;
};

Database* BenchCrossCheck::db_ = nullptr;
SqlSession* BenchCrossCheck::session_ = nullptr;
sqlite3* BenchCrossCheck::native_ = nullptr;

struct Pair {
    const char* access;
    const char* native;
};

TEST_F(BenchCrossCheck, QueriesGiveTheSameRowsAsPlainSqlite) {
    const Pair pairs[] = {
        {"SELECT Region, Count(*), Sum(Amount), Avg(Amount) FROM Orders WHERE OrderID <= 100000 "
         "GROUP BY Region",
         "SELECT Region, count(*), sum(Amount), avg(Amount) FROM Orders GROUP BY Region ORDER BY "
         "Region"},
        {"SELECT c.Country, Count(*), Sum(o.Amount) FROM Orders AS o INNER JOIN Customers AS c ON "
         "o.CustomerID = "
         "c.CustomerID WHERE o.OrderID <= 100000 GROUP BY c.Country",
         "SELECT c.Country, count(*), sum(o.Amount) FROM Orders AS o JOIN Customers AS c ON "
         "o.CustomerID = "
         "c.CustomerID GROUP BY c.Country ORDER BY c.Country"},
        {"SELECT TOP 5 OrderID, Amount FROM Orders WHERE OrderID <= 100000 ORDER BY Amount DESC",
         "SELECT OrderID, Amount FROM Orders ORDER BY Amount DESC LIMIT 5"},
        {"SELECT Count(*) FROM Customers WHERE Company Like \"Company 1*\"",
         "SELECT count(*) FROM Customers WHERE Company LIKE 'Company 1%'"},
        {"SELECT CustomerID, Count(*) FROM Orders WHERE Shipped = False AND OrderID <= 100000 "
         "GROUP BY CustomerID "
         "HAVING Count(*) >= 1",
         "SELECT CustomerID, count(*) FROM Orders WHERE Shipped = 0 GROUP BY CustomerID HAVING "
         "count(*) >= 1 ORDER BY "
         "CustomerID"},
        {"SELECT o.OrderID, c.City FROM Customers AS c LEFT JOIN Orders AS o ON (c.CustomerID = "
         "o.CustomerID AND "
         "o.OrderID <= 100000) WHERE c.CustomerID Between 10 And 20 ORDER BY c.CustomerID, "
         "o.OrderID",
         "SELECT o.OrderID, c.City FROM Customers AS c LEFT JOIN Orders AS o ON c.CustomerID = "
         "o.CustomerID WHERE "
         "c.CustomerID BETWEEN 10 AND 20 ORDER BY c.CustomerID, o.OrderID"},
    };
    for (const Pair& p : pairs) {
        const auto expected = plain(p.native);
        EXPECT_FALSE(expected.empty()) << p.native;
        EXPECT_EQ(access(p.access), expected) << p.access;
    }
}

}  // namespace
}  // namespace jet
