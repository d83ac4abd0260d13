// Saves and deletes queries in a copy of every Jet 3 and Jet 4 test database,
// then reads the result with our reader, mdbtools and mdb-reader: every table
// unchanged, the new queries listed and rebuilt, the deleted ones gone.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "jet/database.h"
#include "jet/query_writer.h"
#include "jet/recordset.h"
#include "jet/sql_session.h"
#include "oracles.h"
#include "temp_copy.h"
#include "write/query_decomposer.h"

namespace jet::write {
namespace {

using namespace jet::write::testing;

struct FileCase {
    const char* file;
    const char* password;
    int bulkQueries;       // extra saves, enough to split index pages
    bool mdbtools = true;  // mdbtools reads the file (it cannot decrypt ACE files)
};

std::ostream& operator<<(std::ostream& out, const FileCase& c) {
    return out << c.file;
}

bool isCatalogTable(const std::string& name) {
    return name.rfind("MSys", 0) == 0;
}

// The first user table and its first column, bracketed; MSysObjects.Name
// when the file has no user table.
std::pair<std::string, std::string> sampleSource(const Database& db) {
    for (const TableDef& table : db.tables()) {
        if (!table.isSystem() && !table.isLinked() && !table.columns.empty()) {
            return {"[" + table.name + "]", "[" + table.columns.front().name + "]"};
        }
    }
    return {"MSysObjects", "Name"};
}

std::vector<std::pair<std::string, std::string>> sampleQueries(const std::string& t,
                                                               const std::string& c) {
    return {
        {"AAA First Query", "SELECT * FROM " + t + ";"},
        {"Mid Query", "SELECT " + t + "." + c + " AS FirstField FROM " + t + " WHERE " + t + "." +
                          c + " IS NOT NULL ORDER BY " + t + "." + c + " DESC;"},
        {"Param Query",
         "PARAMETERS [Lowest] Long; SELECT Count(*) AS N FROM " + t + " WHERE 1 >= [Lowest];"},
        {"Self Join", "SELECT a." + c + " FROM " + t + " AS a INNER JOIN " + t + " AS b ON a." + c +
                          " = b." + c + ";"},
        {"zzz Aggregate", "SELECT DISTINCT TOP 5 " + t + "." + c + ", Count(*) AS Cnt FROM " + t +
                              " GROUP BY " + t + "." + c + " HAVING Count(*) > 0 ORDER BY " + t +
                              "." + c + ";"},
    };
}

class EveryTestFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(EveryTestFile, SavedAndDeletedQueriesLeaveTheFileReadable) {
    const FileCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.copyIn(c.file);
    QueryWriteOptions options;
    options.password = c.password;
    const auto toolsBefore = c.mdbtools ? mdbtoolsTables(path) : decltype(mdbtoolsTables(path))();
    const auto readerBefore = mdbReaderTables(path, c.password);
    const std::set<std::string> queriesBefore =
        c.mdbtools ? mdbtoolsQueries(path) : std::set<std::string>();
    auto db = Database::open(path, c.password);
    ASSERT_TRUE(db) << db.status().message();
    const bool jet3 = (*db)->format() == FileFormat::Jet3;
    auto [t, col] = sampleSource(**db);
    auto saves = sampleQueries(t, col);
    for (int i = 0; i < c.bulkQueries; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Bulk Query %03d", i);
        saves.push_back({name, "SELECT " + t + "." + col + " FROM " + t + " WHERE " + t + "." +
                                   col + " <> " + std::to_string(i) + ";"});
    }
    std::map<std::string, std::string> kept;
    for (const auto& [name, sql] : saves) {
        Status status = createQueryDef(path, name, sql, options);
        ASSERT_TRUE(status) << name << ": " << status.message();
        auto expected = decomposeSelect(sql, jet3);
        ASSERT_TRUE(expected);
        kept[name] = expected->rebuiltSql;
    }
    std::vector<std::string> deletions = {"Mid Query"};
    for (int i = 0; i < c.bulkQueries; i += 2) {
        char name[32];
        std::snprintf(name, sizeof name, "Bulk Query %03d", i);
        deletions.push_back(name);
    }
    for (const std::string& name : deletions) {
        Status status = deleteQueryDef(path, name, options);
        ASSERT_TRUE(status) << name << ": " << status.message();
        kept.erase(name);
    }

    auto after = Database::open(path, c.password);
    ASSERT_TRUE(after) << after.status().message();
    for (const auto& [name, sql] : kept) {
        const QueryDef* query = (*after)->findQuery(name);
        ASSERT_NE(query, nullptr) << name;
        EXPECT_EQ(query->info.sql, sql);
    }
    for (const std::string& name : deletions) {
        EXPECT_EQ((*after)->findQuery(name), nullptr) << name;
    }
    // The stored queries run by name, as a click in the tree runs them.
    auto session = SqlSession::open(**after);
    ASSERT_TRUE(session) << session.status().message();
    for (const auto& [name, sql] : kept) {
        auto rows = (*session)->openRecordset(name, {{"Lowest", "0"}});
        ASSERT_TRUE(rows) << name << ": " << rows.status().message();
        while ((*rows)->next()) {
        }
        EXPECT_TRUE((*rows)->status()) << name << ": " << (*rows)->status().message();
    }
    for (const TableDef& table : (*after)->tables()) {
        if (table.isLinked())
            continue;
        auto cursor = (*after)->openTable(table);
        ASSERT_TRUE(cursor) << table.name;
        while ((*cursor)->next()) {
        }
        EXPECT_TRUE((*cursor)->status()) << table.name << ": " << (*cursor)->status().message();
    }

    if (c.mdbtools) {
        EXPECT_EQ(mdbtoolsTables(path), toolsBefore);
        std::set<std::string> expectedQueries = queriesBefore;
        for (const auto& [name, sql] : kept)
            expectedQueries.insert(name);
        EXPECT_EQ(mdbtoolsQueries(path), expectedQueries);
        for (const char* table : {"MSysObjects", "MSysQueries"}) {
            CommandResult dump = runCommand("mdb-export " + shellQuote(path) + " " + table);
            EXPECT_EQ(dump.exitCode, 0) << dump.output;
        }
    }
    const auto readerAfter = mdbReaderTables(path, c.password);
    for (const auto& [table, rows] : readerBefore) {
        if (!isCatalogTable(table)) {
            EXPECT_EQ(readerAfter.at(table), rows) << table;
        }
    }
    EXPECT_NE(readerAfter.at("MSysObjects").find("zzz Aggregate"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Jet4, EveryTestFile,
    ::testing::Values(FileCase{"jackcess/V2000/queryTestV2000.mdb", "", 130},
                      FileCase{"jackcess/V2000/overflowTestV2000.mdb", "", 0},
                      FileCase{"jackcess/V2000/delColTestV2000.mdb", "", 0},
                      FileCase{"jackcess/V2000/indexTestV2000.mdb", "", 40},
                      FileCase{"mdb-reader/V2000/empty.mdb", "", 0},
                      FileCase{"mdb-reader/V2000/test.mdb", "", 0},
                      FileCase{"mdb-reader/V2000/numeric.mdb", "", 0},
                      FileCase{"mdb-reader/V2003/empty.mdb", "", 0},
                      FileCase{"mdb-reader/V2003/test.mdb", "", 0},
                      FileCase{"mdb-reader/V2003/numeric.mdb", "", 0},
                      FileCase{"mdb-reader/password/V2000_with-password.mdb", "password", 0},
                      FileCase{"mdb-reader/password/V2003_with-password.mdb", "password", 0},
                      FileCase{"mdbtestdata/DateTestDatabase.mdb", "", 0}));

// ACE: the Access 2007 files sort names in the legacy order, those of 2010
// and later in the newer General order.
INSTANTIATE_TEST_SUITE_P(Ace, EveryTestFile,
                         ::testing::Values(FileCase{"mdb-reader/V2007/empty.accdb", "", 0},
                                           FileCase{"mdb-reader/V2007/test.accdb", "", 0},
                                           FileCase{"mdb-reader/V2010/test.accdb", "", 40},
                                           FileCase{"mdb-reader/V2010/numeric.accdb", "", 0},
                                           FileCase{"mdb-reader/V2016/bigint.accdb", "", 0},
                                           FileCase{"mdb-reader/V2016/withdeletedcol.accdb", "", 0},
                                           FileCase{"mdb-reader/password/V2010_with-password.accdb",
                                                    "password", 0, false}));

INSTANTIATE_TEST_SUITE_P(Jet3, EveryTestFile,
                         ::testing::Values(FileCase{"jackcess/V1997/queryTestV1997.mdb", "", 130},
                                           FileCase{"jackcess/V1997/overflowTestV1997.mdb", "", 0},
                                           FileCase{"mdb-reader/V1997/test.mdb", "", 0},
                                           FileCase{"mdb-reader/password/V1997_no-password.mdb", "",
                                                    0}));

}  // namespace
}  // namespace jet::write
