// Hostile and odd statements: deep nesting, absurd numbers, random token
// soup. Each must give a result or a clear error, never a crash or hang.
#include <gtest/gtest.h>

#include <random>

#include "memory_catalog.h"

namespace jet::sql::test {
namespace {

TEST(SqlRobustness, DeepNestingIsRefusedNotOverflowed) {
    MemoryCatalog catalog;
    catalog.exec("CREATE TABLE T (A LONG); INSERT INTO T VALUES (1);");
    const std::string deep =
        "SELECT " + std::string(100000, '(') + "1" + std::string(100000, ')') + " AS X FROM T";
    EXPECT_NE(runToText(catalog, deep).find("Query is too complex."), std::string::npos);
    std::string nots = "SELECT A FROM T WHERE ";
    for (int i = 0; i < 50000; ++i)
        nots += "NOT ";
    EXPECT_NE(runToText(catalog, nots + "A = 1").find("Query is too complex."), std::string::npos);
    EXPECT_EQ(runToText(catalog, "SELECT " + std::string(150, '(') + "1" + std::string(150, ')') +
                                     " AS X FROM T"),
              "X\n1\n");
}

TEST(SqlRobustness, AbsurdNumbersGiveErrorsOrValues) {
    MemoryCatalog catalog;
    catalog.exec("CREATE TABLE T (A LONG); INSERT INTO T VALUES (1);");
    EXPECT_EQ(runToText(catalog, "SELECT TOP 99999999999999999999 A FROM T")
                  .rfind("ERROR: Invalid TOP argument", 0),
              0u);
    EXPECT_EQ(runToText(catalog, "SELECT Space(1000000000) AS S FROM T"), "S\n#Error\n");
    EXPECT_EQ(runToText(catalog, "SELECT String(-1, 'x') AS S FROM T"), "S\n#Error\n");
    EXPECT_EQ(runToText(catalog, "SELECT 1E308 * 10 AS S FROM T"), "S\nInfinity\n");
    EXPECT_EQ(runToText(catalog, "SELECT DateSerial(99999, 1, 1) AS S FROM T"), "S\n#Error\n");
    EXPECT_EQ(runToText(catalog, "SELECT Format(1, '0." + std::string(1000, '0') +
                                     "') IS NOT NULL AS S FROM T"),
              "S\nTrue\n");
}

TEST(SqlRobustness, RandomTokenSoupNeverCrashes) {
    MemoryCatalog catalog;
    catalog.exec(
        "CREATE TABLE T (A LONG, B TEXT COLLATE ACCESS); INSERT INTO T VALUES (1, 'x'), (2, "
        "NULL);");
    const std::vector<std::string> words = {
        "SELECT",  "FROM",   "WHERE",    "T",         "A",      "B",      "(",         ")",
        ",",       "*",      "+",        "-",         "/",      "\\",     "Mod",       "&",
        "=",       "<>",     "AND",      "OR",        "NOT",    "LIKE",   "'a*'",      "#1/2/2003#",
        "1",       "2.5",    "Null",     "True",      "IIf",    "Left",   "Sum",       "Count",
        "GROUP",   "BY",     "ORDER",    "TOP",       "UNION",  "ALL",    "IN",        "IS",
        "[x]",     "AS",     "INNER",    "JOIN",      "ON",     ";",      "TRANSFORM", "PIVOT",
        "BETWEEN", "EXISTS", "DISTINCT", "HAVING",    "Format", "'0.00'", "Mid",       "[",
        "]",       "\"",     "#",        "PARAMETERS"};
    std::mt19937 rng(12345);
    for (int n = 0; n < 3000; ++n) {
        std::string sql = "SELECT ";
        const int len = 1 + static_cast<int>(rng() % 14);
        for (int i = 0; i < len; ++i)
            sql += words[rng() % words.size()] + " ";
        const std::string out = runToText(catalog, sql);
        EXPECT_FALSE(out.empty()) << sql;
    }
}

}  // namespace
}  // namespace jet::sql::test
