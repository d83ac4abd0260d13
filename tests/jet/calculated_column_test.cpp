// Calculated columns (ACE 14+): result types from the column properties, the
// stored results unwrapped, the expressions listed. The public readers get
// these values wrong, so each value is pinned here after checking it against
// the column's own expression.
#include <gtest/gtest.h>

#include "jet/database.h"
#include "jet/sql_value_text.h"
#include "test_files.h"

namespace {

constexpr const char* kCalcFile = "../testdata-modern/V2010/calcFieldTestV2010.accdb";

std::unique_ptr<jet::Database> open(const std::string& rel) {
    auto db = jet::Database::open(jettest::testFile(rel));
    EXPECT_TRUE(db.isOk()) << rel << ": " << db.status().message();
    return db ? std::move(db.value()) : nullptr;
}

// Every row of `table` as display texts, one vector per row.
std::vector<std::vector<std::string>> rowsOf(const jet::Database& db, const std::string& table) {
    std::vector<std::vector<std::string>> rows;
    auto cursor = db.openTable(table);
    EXPECT_TRUE(cursor.isOk()) << cursor.status().message();
    if (!cursor)
        return rows;
    while ((*cursor)->next()) {
        std::vector<std::string> row;
        for (size_t i = 0; i < (*cursor)->columnCount(); ++i)
            row.push_back(jet::displayText((*cursor)->value(i)));
        rows.push_back(row);
    }
    EXPECT_TRUE((*cursor)->status().isOk()) << (*cursor)->status().message();
    return rows;
}

TEST(CalculatedColumns, ResultTypesAndExpressionsComeFromTheProperties) {
    auto db = open(kCalcFile);
    ASSERT_TRUE(db);
    const jet::TableDef* t = db->findTable("Table1");
    ASSERT_TRUE(t);
    struct Expect {
        const char* column;
        const char* type;
        const char* expression;
    };
    const Expect expected[] = {
        {"LastFirst", "Text", "[LastName] & \", \" & [FirstName]"},
        {"LastFirstLen", "Long Integer", "Len([LastFirst])"},
        {"MonthlySalary", "Currency", "[Salary]/12"},
        {"IsRich", "Yes/No", "[Salary]>100000"},
        {"AllNames", "Memo", "[LastName] & \", \" & [FirstName] & \"=\" & [LastFirst]"},
        {"WeeklySalary", "Decimal", "[Salary]/52"},
        {"SalaryTest", "Currency", "[Salary]"},
        {"BoolTest", "Yes/No", "True"},
        {"DecimalTest", "Decimal", "[Popularity]"},
        {"FloatTest", "Single", "[Salary]*0.13/[DecimalTest]"},
        {"BigNumTest", "Decimal", "([Salary]*[MonthlySalary]/[DecimalTest])*34.12342134"},
    };
    for (const Expect& e : expected) {
        const jet::Column* c = t->findColumn(e.column);
        ASSERT_TRUE(c) << e.column;
        EXPECT_TRUE(c->isCalculated()) << e.column;
        EXPECT_EQ(c->typeName(), e.type) << e.column;
        EXPECT_EQ(c->expression, e.expression) << e.column;
    }
    EXPECT_FALSE(t->findColumn("Salary")->isCalculated());
    EXPECT_EQ(t->findColumn("LastFirstLen")->size(false), 4);
}

// Values as Access computes them from each row's Salary (1000000, -1, 0, 100)
// and Popularity (50.325, -36.2222, 0.0123, 102030405060.654321).
TEST(CalculatedColumns, StoredResultsReadAsTheirResultType) {
    auto db = open(kCalcFile);
    ASSERT_TRUE(db);
    const auto rows = rowsOf(*db, "Table1");
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::vector<std::string>> expected = {
        {"1", "Bruce", "Wayne", "Wayne, Bruce", "Gotham", "12", "1000000", "83333.3333", "True",
         "Wayne, Bruce=Wayne, Bruce", "19230.7692307692", "1000000", "True", "50.325", "50.325",
         "2583.209", "56505085819.42479129657228018"},
        {"2", "Bart", "Simpson", "Simpson, Bart", "Springfield", "13", "-1", "-0.0833", "False",
         "Simpson, Bart=Simpson, Bart", "-0.0192307692307692", "-1", "True", "-36.2222", "-36.2222",
         "0.003588959", "-0.0784734499180612994241100748"},
        {"3", "John", "Doe", "Doe, John", "Nowhere", "9", "0", "0", "False", "Doe, John=Doe, John",
         "0", "0", "True", "0.0123", "0.0123", "0", "0"},
        {"4", "Test", "User", "User, Test", "Hockessin", "10", "100", "8.3333", "False",
         "User, Test=User, Test", "1.92307692307692", "100", "True", "102030405060.654321",
         "102030405060.654321", "1.27413E-10", "0.000000278701928982421698083"},
    };
    for (size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(rows[r], expected[r]) << "row " << r + 1;
}

// A calculated Date/Time whose source is empty stores an empty result: Null,
// not "too few bytes for its type" (regression: the whole table failed).
TEST(CalculatedColumns, EmptyStoredResultIsNull) {
    auto db = open("../testdata-modern/V2019/extDateTestV2019.accdb");
    ASSERT_TRUE(db);
    const auto rows = rowsOf(*db, "Table1");
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[4], (std::vector<std::string>{"5", "row5", "", "", "", ""}));
    EXPECT_EQ(rows[2][5], "6/14/2021 12:45:00 PM");
    EXPECT_EQ(db->findTable("Table1")->findColumn("DateNormalCalc")->typeName(), "Date/Time");
}

}  // namespace
