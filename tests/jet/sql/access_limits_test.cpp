// Access's limits on a statement and the functions' limits on values: within
// them a statement runs, beyond them it gets Access's own message ("Query is
// too complex.", "Overflow", #Error on the row), never a crash, a wrong
// value or an allocation that fills the machine.
#include <gtest/gtest.h>

#include "memory_catalog.h"
#include "sql/parser.h"
#include "sql/query_limits.h"

namespace jet::sql::test {
namespace {

const std::string kTooComplex = "ERROR: Query is too complex.\n";

class AccessLimits : public ::testing::Test {
  protected:
    void SetUp() override {
        catalog.exec(
            "CREATE TABLE T (A LONG, B TEXT COLLATE ACCESS); INSERT INTO T VALUES (1, 'x');");
    }
    std::string run(const std::string& sql) { return runToText(catalog, sql); }

    MemoryCatalog catalog;
};

std::string joined(const std::string& term, const std::string& op, int count) {
    std::string out = term;
    for (int i = 1; i < count; ++i)
        out += " " + op + " " + term;
    return out;
}

std::string nested(const std::string& call, const std::string& inner, int depth) {
    std::string out = inner;
    for (int i = 0; i < depth; ++i)
        out = call + "(" + out + ")";
    return out;
}

TEST_F(AccessLimits, Fault2_DeepNestingIsTooComplexNotACrash) {
    // 10,000 terms joined by +: one chain, past SQLite's expression depth.
    EXPECT_EQ(run("SELECT " + joined("A", "+", 10000) + " AS X FROM T"), kTooComplex);
    // Deep parentheses, Not and signs stop in the parser.
    EXPECT_EQ(
        run("SELECT " + std::string(100000, '(') + "1" + std::string(100000, ')') + " AS X FROM T"),
        kTooComplex);
    std::string nots;
    for (int i = 0; i < 20000; ++i)
        nots += "NOT ";
    EXPECT_EQ(run("SELECT A FROM T WHERE " + nots + "A = 1"), kTooComplex);
    // Nested calls: at the limit they run, one past it and far beyond they
    // are too complex.
    EXPECT_EQ(run("SELECT " + nested("Abs", "A", kMaxNesting - 1) + " AS X FROM T"), "X\n1\n");
    EXPECT_EQ(run("SELECT " + nested("Abs", "A", kMaxNesting) + " AS X FROM T"), kTooComplex);
    EXPECT_EQ(run("SELECT " + nested("Abs", "A", 5000) + " AS X FROM T"), kTooComplex);
    // Left-leaning arithmetic deep in nothing but one chain runs at its limit.
    EXPECT_EQ(run("SELECT " + joined("A", "+", kMaxChainTerms) + " AS X FROM T"),
              "X\n" + std::to_string(kMaxChainTerms) + "\n");
    EXPECT_EQ(run("SELECT " + joined("A", "+", kMaxChainTerms + 1) + " AS X FROM T"), kTooComplex);
    EXPECT_EQ(run("SELECT " + joined("A", "-", kMaxChainTerms) + " AS X FROM T"),
              "X\n-" + std::to_string(kMaxChainTerms - 2) + "\n");
    EXPECT_EQ(run("SELECT " + joined("A", "*", kMaxChainTerms) + " AS X FROM T"), "X\n1\n");
}

TEST_F(AccessLimits, Fault3_WhereOf100OrTermsRunsAnd100AndsAreTooComplex) {
    EXPECT_EQ(run("SELECT A FROM T WHERE " + joined("A = 2", "OR", 99) + " OR A = 1"), "A\n1\n");
    EXPECT_EQ(run("SELECT A FROM T WHERE " + joined("A = 1", "AND", 100)), "A\n1\n");  // 99 ANDs
    EXPECT_EQ(run("SELECT A FROM T WHERE " + joined("A = 1", "AND", 101)), kTooComplex);
    EXPECT_EQ(run("SELECT A FROM T GROUP BY A HAVING " + joined("A = 1", "AND", 101)), kTooComplex);
    // About 64,000 characters of text.
    const std::string head = "SELECT A FROM T WHERE B <> '";
    const std::string fits =
        head + std::string(kMaxStatementCharacters - head.size() - 1, 'y') + "'";
    EXPECT_EQ(run(fits), "A\n1\n");
    EXPECT_EQ(run(fits + " "), kTooComplex);
    // The check a saved query passes before it is written.
    EXPECT_TRUE(checkAccessLimits("SELECT A FROM T WHERE " + joined("A = 2", "OR", 100)));
    EXPECT_FALSE(checkAccessLimits("SELECT A FROM T WHERE " + joined("A = 1", "AND", 101)));
    EXPECT_FALSE(checkAccessLimits(fits + " "));
    EXPECT_TRUE(checkAccessLimits("SELECT FROM WHERE"));  // syntax is the parser's business
    std::string fields = "SELECT A";
    for (int i = 1; i <= kMaxOutputFields; ++i)
        fields += ", A AS F" + std::to_string(i);
    EXPECT_EQ(run(fields + " FROM T"), "ERROR: Too many fields defined.\n");
}

TEST_F(AccessLimits, Fault12_OutOfRangeNumbersAndDatesOverflow) {
    EXPECT_EQ(run("SELECT Format(-1e308, '#,##0.00') AS X FROM T"), "X\n#Error\n");
    EXPECT_EQ(run("SELECT Format(1e308, 'Percent') AS X FROM T"), "X\n#Error\n");
    EXPECT_EQ(run("SELECT Format(-1e300, '0') IS NOT NULL AS X FROM T"), "X\nTrue\n");
    EXPECT_EQ(run("SELECT Fix(1e400) AS X FROM T"), "ERROR: Overflow\n");
    EXPECT_EQ(run("SELECT CDbl('1e400') AS X FROM T"), "X\n#Error\n");
    EXPECT_EQ(run("SELECT CDbl('1e300') = 1e300 AS X FROM T"), "X\nTrue\n");
    EXPECT_EQ(run("SELECT Format(CDate(2958465.99999999), 'yyyy-mm-dd hh:nn:ss') AS X FROM T"),
              "X\n#Error\n");
    EXPECT_EQ(run("SELECT Format(CDate(2958465.99998), 'yyyy-mm-dd hh:nn:ss') AS X FROM T"),
              "X\n9999-12-31 23:59:58\n");
}

TEST_F(AccessLimits, Fault14_FunctionsStayLinearAndBounded) {
    // 65,535 spaces each replaced by 65,535 spaces would be 4 GB of text.
    EXPECT_EQ(run("SELECT Replace(Space(65535), ' ', Space(65535)) AS X FROM T"), "X\n#Error\n");
    EXPECT_EQ(run("SELECT Len(Replace(Space(6000), ' ', Space(100))) AS X FROM T"), "X\n600000\n");
    // Text compare and long needles (once quadratic; benchmarks keep the time).
    EXPECT_EQ(run("SELECT Len(Replace(String(65535, 'a'), 'A', 'bb', 1, -1, 1)) AS X FROM T"),
              "X\n131070\n");
    EXPECT_EQ(run("SELECT InStr(String(65535, 'a'), String(30000, 'a') & 'b') AS X FROM T"),
              "X\n0\n");
    EXPECT_EQ(run("SELECT InStr(String(65535, 'a') & 'b', String(30000, 'a') & 'b') AS X FROM T"),
              "X\n35536\n");
    EXPECT_EQ(run("SELECT Replace('aXbxc', 'x', '-', 1, -1, 1) AS X FROM T"), "X\na-b-c\n");
    // Output fields are compared pairwise for their names: stars count
    // towards Access's 255 before that.
    std::string stars = "SELECT *";
    for (int i = 0; i < 200; ++i)
        stars += ", *";
    EXPECT_EQ(run(stars + " FROM T"), "ERROR: Too many fields defined.\n");
    EXPECT_EQ(run("SELECT *, * FROM T"), "T.A|T.B|T.A|T.B\n1|x|1|x\n");
}

}  // namespace
}  // namespace jet::sql::test
