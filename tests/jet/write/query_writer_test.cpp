// End-to-end saves and deletes through the public calls, read back by the
// engine's own reader.
#include "jet/query_writer.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "jet/database.h"
#include "jet/sql_session.h"
#include "temp_copy.h"

namespace jet::write {
namespace {

using testing::TempFolder;

// The values of `columns` of every row of `table`.
std::vector<std::vector<Value>> readColumns(const Database& db, const std::string& table,
                                            const std::vector<std::string>& columns) {
    std::vector<std::vector<Value>> out;
    const TableDef* def = db.findTable(table);
    auto cursor = db.openTable(table);
    EXPECT_TRUE(def && cursor);
    if (!def || !cursor) {
        return out;
    }
    std::vector<size_t> at;
    for (const std::string& name : columns) {
        for (size_t i = 0; i < def->columns.size(); ++i) {
            if (def->columns[i].name == name) {
                at.push_back(i);
            }
        }
    }
    while ((*cursor)->next()) {
        std::vector<Value> row;
        for (size_t i : at) {
            row.push_back((*cursor)->value(i));
        }
        out.push_back(std::move(row));
    }
    return out;
}

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

// A union is stored as Access stores it (its text in two parts, the kind in
// the type and options rows), reads back to the same text and runs by name.
TEST(QueryWriter, UnionQueriesAreStoredAsAccessStoresThem) {
    for (const char* file :
         {"jackcess/V2000/queryTestV2000.mdb", "jackcess/V1997/queryTestV1997.mdb"}) {
        SCOPED_TRACE(file);
        TempFolder folder;
        const std::string path = folder.copyIn(file);
        Status saved = createQueryDef(path, "Both Tables",
                                      "SELECT Table1.col1 FROM Table1 WHERE Table1.col1 <> 'x' "
                                      "UNION SELECT Table2.col1 FROM Table2 UNION ALL SELECT "
                                      "Table3.col1 FROM Table3 ORDER BY col1 DESC;");
        ASSERT_TRUE(saved) << saved.message();
        auto db = Database::open(path);
        ASSERT_TRUE(db);
        const QueryDef* query = (*db)->findQuery("Both Tables");
        ASSERT_NE(query, nullptr);
        EXPECT_EQ(query->info.kind, QueryKind::Union);
        EXPECT_EQ(query->info.sql,
                  "SELECT Table1.col1 FROM Table1 WHERE Table1.col1 <> 'x' UNION SELECT "
                  "Table2.col1 FROM Table2\r\nUNION ALL SELECT Table3.col1 FROM "
                  "Table3\r\nORDER BY col1 DESC;");
        Status ran = runByName(path, "Both Tables");
        EXPECT_TRUE(ran) << ran.message();
        // The parts and flags as in Access's own union queries.
        const auto objects = readColumns(**db, "MSysObjects", {"Id", "Name", "Flags"});
        int64_t id = 0;
        for (const auto& row : objects) {
            if (row[1].data() == "Both Tables") {
                id = row[0].i();
                EXPECT_EQ(row[2].i(), 128);
            }
        }
        std::vector<std::string> parts;
        std::map<int64_t, int64_t> flags;
        for (const auto& row :
             readColumns(**db, "MSysQueries", {"ObjectId", "Attribute", "Name2", "Flag"})) {
            if (row[0].i() == id && row[1].i() == 5) {
                parts.push_back(row[2].data());
            } else if (row[0].i() == id) {
                flags[row[1].i()] = row[3].isNull() ? -1 : row[3].i();
            }
        }
        EXPECT_EQ(parts, (std::vector<std::string>{"X7YZ_____1", "X7YZ_____2"}));
        EXPECT_EQ(flags[1], 9);  // union
        EXPECT_EQ(flags[3], 1);  // UNION ALL before the last part
        ASSERT_TRUE(deleteQueryDef(path, "Both Tables"));
    }
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
