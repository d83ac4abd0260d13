// A table value read straight from its file (refFromTable) is the value SQL
// would give for it: handed to SQLite as the table module hands it, and read
// back by valueFromSqlite. Checked through a real SQLite statement, over
// values at the edges where the two could part (Currency beyond a double's
// exact range, NaN, dates outside Access's range, a column's type that is
// not the value's).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sql/date_serial.h"
#include "sql/statement_runner.h"
#include "sql/table_lookup.h"

namespace {

using jet::ValueRef;
using jet::ValueType;
using jet::sql::SqlType;

// A value as a table cursor gives it.
ValueRef stored(ValueType type, int64_t i, double d = 0) {
    ValueRef v;
    v.type = type;
    v.i = i;
    v.d = d;
    return v;
}

// The value SQL gives: handed over by the table module, read back.
class SqliteRoad {
  public:
    SqliteRoad() {
        sqlite3_open(":memory:", &db_);
        sqlite3_create_function(
            db_, "handover", 0, SQLITE_UTF8, &handed_,
            [](sqlite3_context* ctx, int, sqlite3_value**) {
                const auto* handed = static_cast<const ValueRef*>(sqlite3_user_data(ctx));
                jet::sql::resultFromValue(ctx, *handed);
            },
            nullptr, nullptr);
        sqlite3_prepare_v2(db_, "SELECT handover()", -1, &statement_, nullptr);
    }
    ~SqliteRoad() {
        sqlite3_finalize(statement_);
        sqlite3_close(db_);
    }
    jet::Value travel(const ValueRef& v, SqlType type) {
        handed_ = v;
        sqlite3_reset(statement_);
        EXPECT_EQ(sqlite3_step(statement_), SQLITE_ROW);
        return jet::sql::valueFromSqlite(sqlite3_column_value(statement_, 0), type);
    }

  private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    ValueRef handed_;
};

TEST(TableValueRoad, StraightFromTheFileEqualsThroughSqlite) {
    SqliteRoad road;
    struct Case {
        ValueRef value;
        SqlType type;
    };
    std::vector<Case> cases;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const int64_t b : {0, 1})
        for (const SqlType t : {SqlType::Boolean, SqlType::Long, SqlType::Text})
            cases.push_back({stored(ValueType::Boolean, b), t});
    const std::pair<ValueType, SqlType> integers[] = {{ValueType::Byte, SqlType::Byte},
                                                      {ValueType::Integer, SqlType::Integer},
                                                      {ValueType::Long, SqlType::Long},
                                                      {ValueType::BigInt, SqlType::BigInt}};
    for (const auto& [valueType, ownType] : integers)
        for (const int64_t i :
             {int64_t{0}, int64_t{-1}, int64_t{255}, int64_t{-32768}, int64_t{2147483647},
              int64_t{-2147483648LL}, std::numeric_limits<int64_t>::max()})
            for (const SqlType t : {ownType, SqlType::Long, SqlType::Boolean, SqlType::Double,
                                    SqlType::Currency, SqlType::Date})
                cases.push_back({stored(valueType, i), t});
    // Currency: every power of two up to 2^62 and its neighbours, and random
    // values at every magnitude.
    std::mt19937_64 random(19);
    for (int bit = 0; bit < 63; ++bit) {
        const int64_t p = int64_t{1} << bit;
        for (const int64_t i : {p - 1, p, p + 1, -p + 1, -p, -p - 1}) {
            cases.push_back({stored(ValueType::Currency, i), SqlType::Currency});
            const int64_t r = static_cast<int64_t>(random() >> (63 - bit));
            cases.push_back({stored(ValueType::Currency, r), SqlType::Currency});
            cases.push_back({stored(ValueType::Currency, -r), SqlType::Currency});
        }
    }
    cases.push_back({stored(ValueType::Currency, 12345), SqlType::Double});
    for (const double d : {0.0, -0.0, 0.1, 1e300, -1e-300, 5e-324, nan, inf, -inf})
        for (const ValueType vt : {ValueType::Single, ValueType::Double})
            for (const SqlType t : {SqlType::Single, SqlType::Double, SqlType::Date})
                cases.push_back({stored(vt, 0, d), t});
    const double edges[] = {jet::sql::kMinDateSerial, jet::sql::kMaxDateSerial + 1};
    for (const double edge : edges)
        for (const double d : {std::nextafter(edge, -inf), edge, std::nextafter(edge, inf)})
            for (const SqlType t : {SqlType::Date, SqlType::Double})
                cases.push_back({stored(ValueType::DateTime, 0, d), t});
    for (const double d : {0.0, 45000.5, nan, inf, -inf})
        cases.push_back({stored(ValueType::DateTime, 0, d), SqlType::Date});

    std::string scratch;
    for (const Case& c : cases) {
        const jet::Value sql = road.travel(c.value, c.type);
        const jet::Value straight = jet::sql::refFromTable(c.value, c.type, scratch).toValue();
        EXPECT_EQ(straight.type(), sql.type())
            << "value type " << int(c.value.type) << " i " << c.value.i << " d " << c.value.d
            << " column type " << int(c.type);
        EXPECT_EQ(straight.i(), sql.i()) << "i " << c.value.i << " column type " << int(c.type);
        if (!std::isnan(sql.d()) || !std::isnan(straight.d())) {
            EXPECT_EQ(straight.d(), sql.d()) << "d " << c.value.d << " column type " << int(c.type);
        }
        EXPECT_EQ(straight.data(), sql.data());
    }
    EXPECT_GT(cases.size(), 1000u);
}

}  // namespace
