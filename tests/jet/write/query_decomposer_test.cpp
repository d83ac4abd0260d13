// SELECT statements cut into MSysQueries rows, clause by clause, as Access
// stores them: one table per statement, rows as "attribute order name1 |
// name2 | expression | flag" with "-" for NULL.
#include <gtest/gtest.h>

#include "write/query_decomposer.h"

namespace jet::write {
namespace {

std::string describe(const QueryRow& row) {
    auto text = [](const std::optional<std::string>& s) { return s ? *s : std::string("-"); };
    const uint32_t order = row.order ? ((*row.order)[2] << 8 | (*row.order)[3]) : 0;
    return std::to_string(row.attribute) + " " + std::to_string(order) + " " + text(row.name1) +
           " | " + text(row.name2) + " | " + text(row.expression) + " | " +
           (row.flag ? std::to_string(*row.flag) : "-") +
           (row.lvExtra ? " / " + std::to_string(*row.lvExtra) : "");
}

struct Case {
    const char* sql;
    std::vector<std::string> rows;
};

TEST(QueryDecomposer, RowsPerClause) {
    const Case cases[] = {
        {"SELECT Orders.OrderID, Customers.CompanyName AS Name FROM Customers INNER JOIN Orders "
         "ON Customers.CustomerID = Orders.CustomerID WHERE Orders.Freight > 10 ORDER BY "
         "Orders.OrderID DESC;",
         {"0 1 - | - | - | 0", "1 1 - | - | - | 1", "3 1 - | - | - | 0",
          "6 1 - | - | Orders.OrderID | 0", "6 2 Name | - | Customers.CompanyName | 0",
          "5 1 Customers | - | - | -", "5 2 Orders | - | - | -",
          "7 1 Customers | Orders | Customers.CustomerID = Orders.CustomerID | 1",
          "8 1 - | - | Orders.Freight > 10 | -", "11 1 D | - | Orders.OrderID | -",
          "255 1 - | - | - | -"}},
        {"PARAMETERS [Beginning Date] DateTime, Who Text (50); SELECT DISTINCTROW TOP 10 * FROM "
         "[Order Details] AS od GROUP BY od.x, od.y HAVING Count(*) > 1",
         {"0 1 - | - | - | 0", "1 1 - | - | - | 1", "3 1 10 | - | - | 25",
          "2 1 Beginning Date | - | - | 8", "2 2 Who | - | - | 10 / 50",
          "5 1 Order Details | od | - | -", "9 1 - | - | od.x | 0", "9 2 - | - | od.y | 0",
          "10 1 - | - | Count(*) > 1 | -", "255 1 - | - | - | -"}},
        {"SELECT a.x FROM (T1 AS a LEFT JOIN T2 AS b ON a.k = b.k) RIGHT JOIN T3 ON "
         "(b.j = T3.j AND a.z = 'x, y');",
         {"0 1 - | - | - | 0", "1 1 - | - | - | 1", "3 1 - | - | - | 0", "6 1 - | - | a.x | 0",
          "5 1 T1 | a | - | -", "5 2 T2 | b | - | -", "5 3 T3 | - | - | -",
          "7 1 a | b | a.k = b.k | 2", "7 2 b | T3 | (b.j = T3.j AND a.z = 'x, y') | 3",
          "255 1 - | - | - | -"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        auto query = decomposeSelect(c.sql, false);
        ASSERT_TRUE(query) << query.status().message();
        std::vector<std::string> rows;
        for (const QueryRow& row : query->rows) {
            rows.push_back(describe(row));
        }
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(QueryDecomposer, RebuildsToTheTextAccessShows) {
    auto query = decomposeSelect(
        "select t.a as [First A], Sum(t.b) from [My Table] as t where t.c like \"x;y\" group by "
        "t.a order by t.a",
        false);
    ASSERT_TRUE(query) << query.status().message();
    EXPECT_EQ(query->rebuiltSql,
              "SELECT t.a AS [First A], Sum(t.b)\r\nFROM [My Table] AS t\r\nWHERE t.c like "
              "\"x;y\"\r\nGROUP BY t.a\r\nORDER BY t.a;");
}

TEST(QueryDecomposer, Jet3TextParametersKeepNoSize) {
    auto query = decomposeSelect("PARAMETERS Who Text(50); SELECT * FROM T WHERE T.a = Who;", true);
    ASSERT_TRUE(query);
    EXPECT_EQ(describe(query->rows[3]), "2 1 Who | - | - | 10");
}

// A Text size too big for an int used to escape as std::out_of_range and
// abort the program; it is a syntax error like any other bad declaration.
TEST(QueryDecomposer, OversizedTextParameterSizeIsASyntaxErrorNotAnAbort) {
    for (const char* sql : {"PARAMETERS [x] Text(99999999999); SELECT [x] AS A;",
                            "PARAMETERS [x] Text(256); SELECT [x] AS A;",
                            "PARAMETERS [x] Text(-1); SELECT [x] AS A;"}) {
        SCOPED_TRACE(sql);
        auto query = decomposeSelect(sql, false);
        ASSERT_FALSE(query);
        EXPECT_EQ(query.status().code(), ErrorCode::Syntax);
        EXPECT_NE(query.status().message().find("Syntax error in PARAMETER clause"),
                  std::string::npos)
            << query.status().message();
    }
    auto largest = decomposeSelect("PARAMETERS [x] Text(255); SELECT [x] AS A;", false);
    ASSERT_TRUE(largest) << largest.status().message();
    EXPECT_EQ(describe(largest->rows[3]), "2 1 x | - | - | 10 / 255");
}

}  // namespace
}  // namespace jet::write
