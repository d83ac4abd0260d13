// End-to-end saves and deletes through the public calls, read back by the
// engine's own reader.
#include "jet/query_writer.h"

#include <gtest/gtest.h>

#include "jet/database.h"
#include "temp_copy.h"

namespace jet::write {
namespace {

using testing::TempFolder;

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

}  // namespace
}  // namespace jet::write
