// The object model over the engine on the shared test files: opening with
// and without a password, table and query definitions, record sets, close.
#include <gtest/gtest.h>

#include <algorithm>

#include "db/database.h"
#include "jet/query_writer.h"
#include "test_files.h"

namespace {

std::shared_ptr<db::Database> openOk(const std::string& path, std::string_view connect = {}) {
    auto opened = db::Database::open(path, 2, connect);
    EXPECT_TRUE(opened.isOk()) << opened.status().message();
    return opened.isOk() ? opened.value() : nullptr;
}

std::vector<std::string> tableNames(const db::Database& database) {
    std::vector<std::string> names;
    for (int i = 0; i < database.tableDefCount(); ++i) {
        names.push_back(database.tableDef(i).name);
    }
    return names;
}

TEST(DatabaseOpen, ListsEveryTableAsStoredSystemTablesIncluded) {
    auto database = openOk(testfiles::path("mdb-reader/V2003/test.mdb"));
    ASSERT_TRUE(database);
    const auto names = tableNames(*database);
    EXPECT_EQ(names.size(), 13u);
    for (const char* expected : {"MSysObjects", "MSysQueries", "Table1", "Table4"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    }
    EXPECT_EQ(database->name(), testfiles::path("mdb-reader/V2003/test.mdb"));
}

// Access 2010 and later files keep attachment values in a hidden table
// f_<hex>_Data; it would otherwise be the first table a user sees.
TEST(DatabaseOpen, HiddenComplexColumnTablesAreNotListed) {
    auto database = openOk(testfiles::path("mdb-reader/V2010/test.accdb"));
    ASSERT_TRUE(database);
    const auto names = tableNames(*database);
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n.starts_with("f_"); }),
              0);
    EXPECT_NE(std::find(names.begin(), names.end(), "MSysComplexColumns"), names.end());
    const auto firstShown = std::find_if(
        names.begin(), names.end(), [](const std::string& n) { return !n.starts_with("MSys"); });
    ASSERT_NE(firstShown, names.end());
    EXPECT_EQ(*firstShown, "Table1");
}

// A front-end with its back-end beside it: the linked table shows the
// back-end's fields and its rows, like a local table.
TEST(DatabaseOpen, LinkedTableShowsItsBackEndsFieldsAndRows) {
    const std::string frontEnd =
        testfiles::copy("../testdata-modern/V2007/linkerTestV2007.accdb", "front.accdb");
    testfiles::copy("../testdata-modern/linkeeTest.accdb", "linkeeTest.accdb");
    auto database = openOk(frontEnd);
    ASSERT_TRUE(database);
    const auto names = tableNames(*database);
    const auto at = std::find(names.begin(), names.end(), "Table2") - names.begin();
    ASSERT_LT(at, static_cast<long>(names.size()));
    EXPECT_EQ(database->tableDef(int(at)).fieldNames(), (std::vector<std::string>{"ID", "Field1"}));
    auto rows = database->openRecordset("Table2", {});
    ASSERT_TRUE(rows) << rows.status().message();
    ASSERT_TRUE((*rows)->next());
    EXPECT_EQ((*rows)->row()[1].data(), "bar");
}

TEST(DatabaseOpen, TableFieldsComeInTheTablesOwnOrder) {
    auto database = openOk(testfiles::path("mdb-reader/V2003/test.mdb"));
    ASSERT_TRUE(database);
    const auto names = tableNames(*database);
    const auto at = std::find(names.begin(), names.end(), "Table1") - names.begin();
    const std::vector<std::string> expected{"A", "B", "C", "D", "E", "F", "G", "H", "I"};
    EXPECT_EQ(database->tableDef(int(at)).fieldNames(), expected);
}

TEST(DatabaseOpen, PasswordComesFromTheConnectText) {
    const std::string file = testfiles::path("mdb-reader/password/V2003_with-password.mdb");
    auto without = db::Database::open(file, 2);
    ASSERT_FALSE(without.isOk());
    EXPECT_EQ(without.status().code(), jet::ErrorCode::BadPassword);
    auto wrong = db::Database::open(file, 2, "ODBC;UID=sa;PWD=Password;");
    EXPECT_FALSE(wrong.isOk());
    auto right = openOk(file, "ODBC;UID=sa;PWD=password;");
    ASSERT_TRUE(right);
    const auto names = tableNames(*right);
    EXPECT_NE(std::find(names.begin(), names.end(), "Table1"), names.end());
}

TEST(DatabaseOpen, MissingFileAndNonDatabaseFailWithAMessage) {
    auto missing = db::Database::open("/nonexistent/folder/none.mdb", 2);
    ASSERT_FALSE(missing.isOk());
    EXPECT_FALSE(missing.status().message().empty());
    auto notDatabase = db::Database::open(testfiles::path("README.md"), 2);
    ASSERT_FALSE(notDatabase.isOk());
    EXPECT_FALSE(notDatabase.status().message().empty());
}

TEST(QueryDefinitions, CountItemAndLookupByNameInAnyCase) {
    auto database = openOk(testfiles::path("jackcess/V2000/queryTestV2000.mdb"));
    ASSERT_TRUE(database);
    db::QueryDefinitions& queries = database->queryDefs();
    ASSERT_EQ(queries.count(), 9);
    db::QueryDefinition* select = queries.find("selectquery");
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(select->name(), "SelectQuery");
    EXPECT_EQ(select->kind(), jet::QueryKind::Select);
    EXPECT_TRUE(select->sql().starts_with("SELECT DISTINCT Table1.*")) << select->sql();
    EXPECT_EQ(queries.find("NoSuchQuery"), nullptr);
    bool seen = false;
    for (int i = 0; i < queries.count(); ++i) {
        seen = seen || &queries.item(i) == select;
    }
    EXPECT_TRUE(seen);
}

TEST(QueryDefinitions, SelectQueryNamesItsOutputFields) {
    auto database = openOk(testfiles::path("jackcess/V2000/queryTestV2000.mdb"));
    ASSERT_TRUE(database);
    db::QueryDefinition* select = database->queryDefs().find("SelectQuery");
    ASSERT_NE(select, nullptr);
    EXPECT_FALSE(select->fields().empty());
    EXPECT_TRUE(select->parameters().empty());
    auto records = select->openRecordset();
    ASSERT_TRUE(records.isOk()) << records.status().message();
    EXPECT_EQ((*records)->fields().size(), select->fields().size());
}

TEST(QueryDefinitions, ActionQueryIsNotOpenedAsARecordSet) {
    auto database = openOk(testfiles::path("jackcess/V2000/queryTestV2000.mdb"));
    ASSERT_TRUE(database);
    db::QueryDefinition* remove = database->queryDefs().find("DeleteQuery");
    ASSERT_NE(remove, nullptr);
    auto records = remove->openRecordset();
    ASSERT_FALSE(records.isOk());
    EXPECT_FALSE(records.status().message().empty());
}

TEST(QueryDefinitions, ParametersAreAskedInOrderAndSetAsText) {
    const std::string file = testfiles::copy("jackcess/V2000/queryTestV2000.mdb", "params.mdb");
    const jet::Status stored = jet::createQueryDef(
        file, "Between",
        "PARAMETERS [Low] Long, [High] Long; SELECT TOP 1 [Low] + [High] AS Total FROM "
        "MSysObjects;");
    ASSERT_TRUE(stored.isOk()) << stored.message();
    auto database = openOk(file);
    ASSERT_TRUE(database);
    db::QueryDefinition* query = database->queryDefs().find("Between");
    ASSERT_NE(query, nullptr);
    auto& parameters = query->parameters();
    ASSERT_EQ(parameters.size(), 2u);
    EXPECT_EQ(parameters[0].name, "Low");
    EXPECT_EQ(parameters[1].name, "High");
    parameters[0].value = "1";
    parameters[1].value = "333";
    auto records = query->openRecordset();
    ASSERT_TRUE(records.isOk()) << records.status().message();
    ASSERT_TRUE((*records)->next());
    EXPECT_EQ((*records)->text(0), "334");  // numbers, not "1" & "333"
    EXPECT_FALSE((*records)->next());
    EXPECT_TRUE((*records)->status().isOk());
}

TEST(QueryDefinitions, RefreshSeesAQueryStoredAfterOpening) {
    const std::string file = testfiles::copy("jackcess/V2000/queryTestV2000.mdb", "refresh.mdb");
    auto database = openOk(file);
    ASSERT_TRUE(database);
    const int before = database->queryDefs().count();
    const jet::Status stored = jet::createQueryDef(file, "Later", "SELECT col1 FROM Table1;");
    ASSERT_TRUE(stored.isOk()) << stored.message();
    ASSERT_TRUE(database->queryDefs().refresh().isOk());
    EXPECT_EQ(database->queryDefs().count(), before + 1);
    EXPECT_NE(database->queryDefs().find("Later"), nullptr);
}

TEST(DatabaseRecordsets, TableNameAndStatementGiveRows) {
    auto database = openOk(testfiles::path("mdb-reader/V2003/test.mdb"));
    ASSERT_TRUE(database);
    auto table = database->openRecordset("Table1");
    ASSERT_TRUE(table.isOk()) << table.status().message();
    int rows = 0;
    while ((*table)->next()) {
        ++rows;
    }
    EXPECT_EQ(rows, 2);
    auto statement = database->openRecordset("SELECT Count(*) AS N FROM Table1");
    ASSERT_TRUE(statement.isOk()) << statement.status().message();
    ASSERT_TRUE((*statement)->next());
    EXPECT_EQ((*statement)->text(0), "2");
    EXPECT_EQ(database->estimatedRows("Table1"), 2u);
    EXPECT_EQ(database->estimatedRows("SELECT 1"), 0u);
}

TEST(DatabaseRecordsets, CloseReleasesTheFileForEveryHolder) {
    auto database = openOk(testfiles::path("mdb-reader/V2003/test.mdb"));
    ASSERT_TRUE(database);
    auto holder = database;
    database->close();
    EXPECT_FALSE(holder->isOpen());
    EXPECT_EQ(holder->tableDefCount(), 0);
    EXPECT_EQ(holder->queryDefs().count(), 0);
    auto records = holder->openRecordset("Table1");
    ASSERT_FALSE(records.isOk());
    EXPECT_EQ(records.status().message(), "The database is closed.");
}

}  // namespace
