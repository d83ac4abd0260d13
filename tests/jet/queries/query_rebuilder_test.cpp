// Rebuilding saved-query SQL from hand-made MSysQueries rows: one case per
// rule of how Access writes each query kind, its options, joins, parameters
// and names.
#include "queries/query_rebuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jet {
namespace {

QueryRow row(int attribute, const char* name1 = nullptr, const char* name2 = nullptr,
             const char* expression = nullptr, std::optional<int32_t> flag = std::nullopt) {
    QueryRow r;
    r.attribute = attribute;
    if (name1)
        r.name1 = name1;
    if (name2)
        r.name2 = name2;
    if (expression)
        r.expression = expression;
    r.flag = flag;
    return r;
}

QueryRow typeRow(int32_t type) {
    return row(1, nullptr, nullptr, nullptr, type);
}
QueryRow options(int32_t bits, const char* top = nullptr) {
    return row(3, top, nullptr, nullptr, bits);
}
QueryRow table(const char* name, const char* alias = nullptr) {
    return row(5, name, alias);
}
QueryRow column(const char* expression, const char* alias = nullptr, int32_t flag = 0) {
    return row(6, alias, nullptr, expression, flag);
}
QueryRow join(const char* left, const char* right, const char* on, int32_t type) {
    return row(7, left, right, on, type);
}

std::string sqlOf(const std::vector<QueryRow>& rows) {
    Result<QueryInfo> info = rebuildQuery(rows);
    EXPECT_TRUE(info.isOk()) << info.status().message();
    return info.isOk() ? info->sql : std::string();
}

struct SqlCase {
    const char* what;
    std::vector<QueryRow> rows;
    std::string sql;
};

class SelectForms : public ::testing::TestWithParam<SqlCase> {};

TEST_P(SelectForms, RebuildAsAccessWritesThem) {
    EXPECT_EQ(sqlOf(GetParam().rows), GetParam().sql) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SelectForms,
    ::testing::Values(
        SqlCase{"a select without type and option rows (saved from SQL view)",
                {table("Table1"), column("Table1.col1")},
                "SELECT Table1.col1\r\nFROM Table1;"},
        SqlCase{"DISTINCTROW and TOP are both kept",
                {typeRow(1), options(0x18, "10"), table("Products"),
                 column("Products.ProductName", "TenMostExpensiveProducts")},
                "SELECT DISTINCTROW TOP 10 Products.ProductName AS TenMostExpensiveProducts\r\n"
                "FROM Products;"},
        SqlCase{"TOP n PERCENT, DISTINCT wins over DISTINCTROW",
                {typeRow(1), options(0x02 | 0x08 | 0x10 | 0x20, "25"), table("T"), column("T.a")},
                "SELECT DISTINCT TOP 25 PERCENT T.a\r\nFROM T;"},
        SqlCase{"all fields and owner access",
                {typeRow(1), options(0x01 | 0x04), table("T"), column("T.a")},
                "SELECT T.a, *\r\nFROM T\r\nWITH OWNERACCESS OPTION;"},
        SqlCase{"names that need brackets, aliases are one part",
                {typeRow(1), table("Order Details", "Some.Alias"),
                 column("[Some.Alias].Qty", "Sum Qty")},
                "SELECT [Some.Alias].Qty AS [Sum Qty]\r\nFROM [Order Details] AS [Some.Alias];"},
        SqlCase{"every clause in order, descending sort",
                {typeRow(1), table("T"), column("T.a"), column("Count(T.b)", "n"),
                 row(8, nullptr, nullptr, "T.a>1"), row(9, nullptr, nullptr, "T.a"),
                 row(10, nullptr, nullptr, "Count(T.b)>2"), row(11, "D", nullptr, "T.a"),
                 row(11, nullptr, nullptr, "n")},
                "SELECT T.a, Count(T.b) AS n\r\nFROM T\r\nWHERE T.a>1\r\nGROUP BY T.a\r\n"
                "HAVING Count(T.b)>2\r\nORDER BY T.a DESC, n;"},
        SqlCase{
            "input from another database",
            {typeRow(1), table("T"), column("T.a"), row(4, "C:\\db\\other.mdb", nullptr, nullptr)},
            "SELECT T.a\r\nFROM T IN 'C:\\db\\other.mdb';"},
        SqlCase{"a prefixed input (stored in Expression)",
                {typeRow(1), row(5, "T", nullptr, "C:\\x.mdb"), column("a")},
                "SELECT a\r\nFROM [C:\\x.mdb].T;"},
        SqlCase{"no input table: no FROM line",
                {typeRow(1), column("1+1", "two")},
                "SELECT 1+1 AS two;"}));

INSTANTIATE_TEST_SUITE_P(
    Joins, SelectForms,
    ::testing::Values(
        SqlCase{
            "two conditions on one join go front to back",
            {typeRow(1), table("Table1"), table("Table2"), table("Table3"), column("Table1.*"),
             join("Table1", "Table3", "Table1.col1 = Table3.col1", 2),
             join("Table3", "Table2", "Table3.col1 = Table2.col1", 1),
             join("Table3", "Table2", "Table3.col1 = Table2.col2", 1)},
            "SELECT Table1.*\r\nFROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) "
            "INNER JOIN Table2 ON (Table3.col1 = Table2.col2) AND (Table3.col1 = Table2.col1);"},
        SqlCase{"unjoined tables first, joins after",
                {typeRow(1), table("Table3"), table("Table1"), table("Table2"), column("x"),
                 join("Table1", "Table2", "[Table1].[col1]=[Table2].[col1]", 1)},
                "SELECT x\r\nFROM Table3, Table1 INNER JOIN Table2 ON "
                "[Table1].[col1]=[Table2].[col1];"},
        SqlCase{
            "a join nested on the right side",
            {typeRow(1), table("Employees"), table("Orders"), table("Order Subtotals"), column("x"),
             join("Orders", "Order Subtotals", "Orders.OrderID = [Order Subtotals].OrderID", 1),
             join("Employees", "Orders", "Employees.EmployeeID = Orders.EmployeeID", 1)},
            "SELECT x\r\nFROM Employees INNER JOIN (Orders INNER JOIN [Order Subtotals] ON "
            "Orders.OrderID = [Order Subtotals].OrderID) ON Employees.EmployeeID = "
            "Orders.EmployeeID;"},
        SqlCase{"five joins over six tables",
                {typeRow(1), table("Shippers"), table("Products"), table("Employees"),
                 table("Customers"), table("Orders"), table("Order Details"), column("x"),
                 join("Customers", "Orders", "C=O", 1), join("Employees", "Orders", "E=O", 1),
                 join("Orders", "Order Details", "O=D", 1),
                 join("Products", "Order Details", "P=D", 1), join("Shippers", "Orders", "S=O", 1)},
                "SELECT x\r\nFROM Shippers INNER JOIN (Products INNER JOIN ((Employees INNER JOIN "
                "(Customers INNER JOIN Orders ON C=O) ON E=O) INNER JOIN [Order Details] ON O=D) "
                "ON P=D) ON S=O;"},
        SqlCase{"an alias is what joins refer to",
                {typeRow(1), table("Table2"), table("Table2", "T2"), column("x"),
                 join("Table2", "T2", "Table2.a=T2.b", 3)},
                "SELECT x\r\nFROM Table2 RIGHT JOIN Table2 AS T2 ON Table2.a=T2.b;"},
        SqlCase{"a join naming a table without an input row",
                {typeRow(1), column("x"), join("A", "B C", "A.k=[B C].k", 1)},
                "SELECT x\r\nFROM A INNER JOIN [B C] ON A.k=[B C].k;"}));

INSTANTIATE_TEST_SUITE_P(
    ActionQueries, SelectForms,
    ::testing::Values(
        SqlCase{"make-table into another database",
                {row(1, "New Table", "C:\\out.mdb", "dBASE IV;", 2), table("T"), column("T.a")},
                "SELECT T.a INTO [New Table] IN 'C:\\out.mdb' [dBASE IV;]\r\nFROM T;"},
        SqlCase{"append with a select, spaces inside the column list",
                {row(1, "Table3", nullptr, nullptr, 3), table("Table1"),
                 row(6, nullptr, "col2", "[Table1].[col2]", 0),
                 row(6, nullptr, "my col", "[Table1].[x]", 0)},
                "INSERT INTO Table3 ( col2, [my col] )\r\nSELECT [Table1].[col2], "
                "[Table1].[x]\r\nFROM Table1;"},
        SqlCase{"append of one row of values",
                {row(1, "T", nullptr, nullptr, 3), row(6, nullptr, "a", "1", 0x8000),
                 row(6, nullptr, "b", "\"x\"", -32768)},
                "INSERT INTO T ( a, b )\r\nVALUES (1, \"x\");"},
        SqlCase{"update keeps SET on the UPDATE line",
                {typeRow(4), table("Table1"), row(6, nullptr, "Table1.col1", "\"foo\"", 0),
                 row(6, nullptr, "[Table2].[col1]", "[User Name]", 0),
                 row(8, nullptr, nullptr, "(((Table1.col2) Is Null))")},
                "UPDATE Table1 SET Table1.col1 = \"foo\", [Table2].[col1] = [User Name]\r\n"
                "WHERE (((Table1.col2) Is Null));"},
        SqlCase{"delete keeps DISTINCTROW",
                {typeRow(5), options(0x08), table("Table1"), column("Table1.*"),
                 row(8, nullptr, nullptr, "Table1.a=1")},
                "DELETE DISTINCTROW Table1.*\r\nFROM Table1\r\nWHERE Table1.a=1;"},
        SqlCase{"crosstab: value, row headings, pivot after ORDER BY",
                {typeRow(6), table("T"), column("Sum(T.v)", "Total", 0), column("T.r", nullptr, 2),
                 column("T.c", nullptr, 1), row(9, nullptr, nullptr, "T.r", 2),
                 row(9, nullptr, nullptr, "T.c", 1), row(11, nullptr, nullptr, "T.r")},
                "TRANSFORM Sum(T.v) AS Total\r\nSELECT T.r\r\nFROM T\r\nGROUP BY T.r\r\n"
                "ORDER BY T.r\r\nPIVOT T.c;"}));

INSTANTIATE_TEST_SUITE_P(
    StoredText, SelectForms,
    ::testing::Values(
        SqlCase{"union: parts trimmed, ALL without the distinct bit",
                {typeRow(9), options(1), row(5, nullptr, "X7YZ_____2", "SELECT b FROM U\r\n"),
                 row(5, nullptr, "X7YZ_____1", "SELECT a FROM T \r\n")},
                "SELECT a FROM T\r\nUNION ALL SELECT b FROM U;"},
        SqlCase{"plain union with ORDER BY",
                {typeRow(9), options(3), row(5, nullptr, "X7YZ_____1", "SELECT a FROM T"),
                 row(5, nullptr, "X7YZ_____2", "SELECT a FROM U"), row(11, "D", nullptr, "a")},
                "SELECT a FROM T\r\nUNION SELECT a FROM U\r\nORDER BY a DESC;"},
        SqlCase{"data definition: stored text without trailing NULs",
                {[] {
                    QueryRow r = typeRow(7);
                    r.expression = std::string("CREATE TABLE T (a CHAR);\0\0", 26);
                    return r;
                }()},
                "CREATE TABLE T (a CHAR);"},
        SqlCase{"pass-through: stored text, nothing added",
                {row(1, "ODBC;", nullptr, "EXEC sp_who", 8)},
                "EXEC sp_who"}));

TEST(QueryRebuilder, SortsRowsByAttributeThenOrderBytes) {
    auto withOrder = [](QueryRow r, std::vector<uint8_t> order) {
        r.order = std::move(order);
        return r;
    };
    std::vector<QueryRow> rows = {
        withOrder(row(11, nullptr, nullptr, "b"), {0, 0, 0, 2}),
        withOrder(column("x"), {0, 0, 1, 0}),
        withOrder(column("y"), {0, 0, 0, 0xFF}),
        withOrder(row(11, nullptr, nullptr, "a"), {0, 0, 0, 1}),
        withOrder(table("T"), {0, 0, 0, 1}),
    };
    EXPECT_EQ(sqlOf(rows), "SELECT y, x\r\nFROM T\r\nORDER BY a, b;");
}

TEST(QueryRebuilder, ParametersCarryNamesTypesAndSizes) {
    QueryRow text = row(2, "User Name", nullptr, nullptr, 10);
    text.lvExtra = 255;
    std::vector<QueryRow> rows = {typeRow(1),
                                  text,
                                  row(2, "Start", nullptr, nullptr, 8),
                                  row(2, "[Forms]![F]![X]", nullptr, nullptr, 4),
                                  row(2, "odd", nullptr, nullptr, 99),
                                  table("T"),
                                  column("T.a")};
    Result<QueryInfo> info = rebuildQuery(rows);
    ASSERT_TRUE(info.isOk()) << info.status().message();
    EXPECT_EQ(info->sql,
              "PARAMETERS [User Name] Text ( 255 ), Start DateTime, [Forms]![F]![X] Long, odd "
              "Value;\r\nSELECT T.a\r\nFROM T;");
    ASSERT_EQ(info->parameters.size(), 4u);
    EXPECT_EQ(info->parameters[0].name, "User Name");
    EXPECT_EQ(info->parameters[0].typeName, "Text ( 255 )");
    EXPECT_EQ(info->parameters[0].typeCode, 0x0A);
    EXPECT_EQ(info->parameters[1].typeCode, 0x08);
    EXPECT_EQ(info->parameters[2].typeCode, 0x04);
    EXPECT_EQ(info->parameters[3].typeCode, 0);
}

TEST(QueryRebuilder, KindsFollowTheTypeRow) {
    const std::pair<int32_t, QueryKind> kinds[] = {
        {1, QueryKind::Select},     {2, QueryKind::MakeTable}, {3, QueryKind::Append},
        {4, QueryKind::Update},     {5, QueryKind::Delete},    {7, QueryKind::DataDefinition},
        {8, QueryKind::PassThrough}};
    for (auto [code, kind] : kinds) {
        Result<QueryInfo> info = rebuildQuery({typeRow(code), table("T"), column("T.a")});
        ASSERT_TRUE(info.isOk()) << code << ": " << info.status().message();
        EXPECT_EQ(info->kind, kind) << code;
    }
}

TEST(QueryRebuilder, SelectOutputFieldNames) {
    Result<QueryInfo> info =
        rebuildQuery({typeRow(1), options(1), table("T"), column("T.a"), column("[T].[Unit Price]"),
                      column("T.b", "Alias"), column("T.a+1"), column("T.*"), column("Len(T.b)")});
    ASSERT_TRUE(info.isOk()) << info.status().message();
    EXPECT_EQ(info->fields, (std::vector<std::string>{"a", "Unit Price", "Alias", "Expr1000", "T.*",
                                                      "Expr1001", "*"}));
    Result<QueryInfo> update = rebuildQuery({typeRow(4), table("T"), row(6, nullptr, "T.a", "1")});
    ASSERT_TRUE(update.isOk());
    EXPECT_TRUE(update->fields.empty());
}

struct ErrorCase {
    const char* what;
    std::vector<QueryRow> rows;
    ErrorCode code;
};

class BrokenQueries : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(BrokenQueries, FailWithAReadableError) {
    Result<QueryInfo> info = rebuildQuery(GetParam().rows);
    ASSERT_FALSE(info.isOk()) << GetParam().what << " gave: " << info->sql;
    EXPECT_EQ(info.status().code(), GetParam().code) << GetParam().what;
    EXPECT_FALSE(info.status().message().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BrokenQueries,
    ::testing::Values(ErrorCase{"unknown query type", {typeRow(42)}, ErrorCode::Unsupported},
                      ErrorCase{"negative query type", {typeRow(-3)}, ErrorCode::Unsupported},
                      ErrorCase{
                          "unknown join type",
                          {typeRow(1), table("A"), table("B"), column("x"), join("A", "B", "c", 9)},
                          ErrorCode::Corrupt},
                      ErrorCase{"two joins of one pair with different types",
                                {typeRow(1), table("A"), table("B"), column("x"),
                                 join("A", "B", "c", 1), join("A", "B", "d", 2)},
                                ErrorCode::Corrupt},
                      ErrorCase{"a join of a table with itself by one name",
                                {typeRow(1), table("A"), column("x"), join("A", "A", "c", 1)},
                                ErrorCode::Corrupt},
                      ErrorCase{"crosstab without a column heading",
                                {typeRow(6), table("T"), column("Sum(x)", "v", 0)},
                                ErrorCode::Corrupt},
                      ErrorCase{"union without its second part",
                                {typeRow(9), row(5, nullptr, "X7YZ_____1", "SELECT 1")},
                                ErrorCode::Corrupt}));

TEST(QueryRebuilder, ManyJoinsAreRefusedNotRecursedInto) {
    std::vector<QueryRow> rows = {typeRow(1), column("x")};
    for (int i = 0; i < 5000; ++i) {
        rows.push_back(
            join(("T" + std::to_string(i)).c_str(), ("T" + std::to_string(i + 1)).c_str(), "c", 1));
    }
    Result<QueryInfo> info = rebuildQuery(rows);
    ASSERT_FALSE(info.isOk());
    EXPECT_EQ(info.status().code(), ErrorCode::Corrupt);
}

TEST(QueryRebuilder, AQueryWithoutRowsIsAnError) {
    Result<QueryInfo> info = rebuildQuery({});
    ASSERT_FALSE(info.isOk());
    EXPECT_EQ(info.status().code(), ErrorCode::Corrupt);
}

}  // namespace
}  // namespace jet
