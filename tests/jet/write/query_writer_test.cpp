// End-to-end saves and deletes through the public calls, read back by the
// engine's own reader.
#include "jet/query_writer.h"

#include <gtest/gtest.h>

#include "jet/database.h"
#include "jet/sql_session.h"
#include "temp_copy.h"

namespace jet::write {
namespace {

using testing::TempFolder;

// Runs saved query `name` of `path` to the end; the error when it fails.
Status runByName(const std::string& path, const std::string& name) {
    auto db = Database::open(path);
    if (!db) {
        return db.status();
    }
    auto session = SqlSession::open(**db);
    if (!session) {
        return session.status();
    }
    auto rows = (*session)->openRecordset(name);
    if (!rows) {
        return rows.status();
    }
    while ((*rows)->next()) {
    }
    return (*rows)->status();
}

TEST(QueryWriter, SavesAndDeletesASelectInJet4) {
    TempFolder folder;
    const std::string path = folder.copyIn("jackcess/V2000/queryTestV2000.mdb");
    Status saved = createQueryDef(
        path, "qryOrders",
        "SELECT Table1.col1, Table2.col2 AS Second FROM Table1 INNER JOIN Table2 ON "
        "Table1.col1 = Table2.col1 WHERE Table1.col2 > 10 ORDER BY Table1.col1 DESC;");
    ASSERT_TRUE(saved) << saved.message();
    auto db = Database::open(path);
    ASSERT_TRUE(db) << db.status().message();
    const QueryDef* query = (*db)->findQuery("qryOrders");
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query->info.sql,
              "SELECT Table1.col1, Table2.col2 AS Second\r\nFROM Table1 INNER JOIN Table2 ON "
              "Table1.col1 = Table2.col1\r\nWHERE Table1.col2 > 10\r\nORDER BY Table1.col1 DESC;");
    Status deleted = deleteQueryDef(path, "qryOrders");
    ASSERT_TRUE(deleted) << deleted.message();
    auto reopened = Database::open(path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ((*reopened)->findQuery("qryOrders"), nullptr);
}

// Fault: names that are keywords or start with a digit lost their brackets
// when stored, so the saved query could not be read back.
TEST(QueryWriter, KeywordAndDigitNamesKeepTheirBrackets) {
    TempFolder folder;
    const std::string path = folder.copyIn("mdb-reader/V2016/bigint.accdb");
    Status saved = createQueryDef(path, "Keyword Names", "SELECT * FROM [Table];");
    ASSERT_TRUE(saved) << saved.message();
    saved = createQueryDef(path, "Keyword Aliases",
                           "SELECT [Order].*, 1 AS [Select], 2 AS [2020] FROM [Table] AS [Order];");
    ASSERT_TRUE(saved) << saved.message();
    auto db = Database::open(path);
    ASSERT_TRUE(db);
    EXPECT_EQ((*db)->findQuery("Keyword Names")->info.sql, "SELECT *\r\nFROM [Table];");
    const std::string aliases = (*db)->findQuery("Keyword Aliases")->info.sql;
    for (const char* kept : {"AS [Select]", "AS [2020]", "[Table] AS [Order]"}) {
        EXPECT_NE(aliases.find(kept), std::string::npos) << aliases;
    }
    for (const char* name : {"Keyword Names", "Keyword Aliases"}) {
        Status ran = runByName(path, name);
        EXPECT_TRUE(ran) << name << ": " << ran.message();
    }
}

// Fault: a statement the engine could not run was saved all the same.
TEST(QueryWriter, NothingIsSavedThatCannotRun) {
    TempFolder folder;
    const std::string path = folder.copyIn("jackcess/V2000/queryTestV2000.mdb");
    const std::string before = testing::fileBytes(path);
    Status missing = createQueryDef(path, "Missing", "SELECT * FROM NoSuchTable;");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message().find("NoSuchTable"), std::string::npos) << missing.message();
    Status function = createQueryDef(path, "Unknown", "SELECT NoSuchFunction(col1) FROM Table1;");
    EXPECT_FALSE(function);
    EXPECT_TRUE(testing::fileBytes(path) == before);
    // A long OR chain: saved only if it runs.
    std::string ors = "SELECT * FROM Table1 WHERE col1 = '0'";
    for (int i = 1; i < 100; ++i) {
        ors += " OR col1 = '" + std::to_string(i) + "'";
    }
    if (Status saved = createQueryDef(path, "Long Or", ors + ";"); saved) {
        Status ran = runByName(path, "Long Or");
        EXPECT_TRUE(ran) << ran.message();
    } else {
        EXPECT_TRUE(testing::fileBytes(path) == before) << saved.message();
    }
}

}  // namespace
}  // namespace jet::write
