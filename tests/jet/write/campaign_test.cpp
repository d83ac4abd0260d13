// Many saves, then as many deletes in random order, on copies of a Jet 3, a
// Jet 4 and an ACE file (and the benchmark file when it is there), through
// the engine's calls and through tablescope-cli in turn. After every step our
// reader, mdbtools and mdb-reader read the file: every table as it was, the
// saved queries listed and running by name with the rows their text gives;
// after the deletes the catalog holds what it held before. The number of
// saves is TABLESCOPE_WRITE_CAMPAIGN_STEPS (a few in the test suite; 200 by
// hand); TABLESCOPE_WRITE_CAMPAIGN_ORACLE_EVERY=N runs the independent readers
// only every N steps and at the end (our reader still checks every step).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "jet/database.h"
#include "jet/query_writer.h"
#include "jet/sql_session.h"
#include "oracles.h"
#include "query_write_commands.h"
#include "temp_copy.h"

namespace jet::write {
namespace {

using namespace jet::write::testing;

int positiveSetting(const char* name, int fallback) {
    const char* given = std::getenv(name);
    const int value = given ? std::atoi(given) : 0;
    return value > 0 ? value : fallback;
}

// Rows of `source` (a query name or a statement), or -1 when it fails.
int64_t rowCount(SqlSession& session, const std::string& source) {
    auto rows = session.openRecordset(source);
    if (!rows) {
        ADD_FAILURE() << source << ": " << rows.status().message();
        return -1;
    }
    int64_t count = 0;
    while ((*rows)->next()) {
        ++count;
    }
    return (*rows)->status() ? count : -1;
}

// Every live row of the catalog tables the writer changes, as text.
std::multiset<std::string> catalogRows(const Database& db) {
    std::multiset<std::string> rows;
    for (const char* table : {"MSysObjects", "MSysQueries", "MSysACEs"}) {
        auto cursor = db.openTable(table);
        EXPECT_TRUE(cursor);
        while (cursor && (*cursor)->next()) {
            std::string row = table;
            for (size_t c = 0; c < (*cursor)->columnCount(); ++c) {
                const Value v = (*cursor)->value(c);
                row += "|" + (v.isNull() ? std::string("NULL") : v.data() + std::to_string(v.i()));
            }
            rows.insert(row);
        }
    }
    return rows;
}

struct Campaign {
    std::string path;
    std::string table, column;  // bracketed
    bool oracles = true;        // mdbtools and mdb-reader after every step
    std::map<std::string, std::string> toolsTables, readerTables;
    std::set<std::string> queriesBefore;
    std::map<std::string, std::string> kept;  // name -> statement

    void start() {
        auto db = Database::open(path);
        ASSERT_TRUE(db);
        for (const TableDef& t : (*db)->tables()) {
            if (!t.isSystem() && !t.isLinked() && !t.columns.empty() && table.empty()) {
                table = "[" + t.name + "]";
                column = "[" + t.columns.front().name + "]";
            }
        }
        ASSERT_FALSE(table.empty());
        if (oracles) {
            toolsTables = mdbtoolsTables(path);
            readerTables = mdbReaderTables(path, "");
            queriesBefore = mdbtoolsQueries(path);
        }
    }

    std::string statement(int i) const {
        if (i % 3 == 2) {
            return "SELECT " + table + "." + column + " FROM " + table + " UNION SELECT " + table +
                   "." + column + " FROM " + table + ";";
        }
        return "SELECT " + table + "." + column + " FROM " + table + " WHERE " + table + "." +
               column + " IS NOT NULL" + (i % 3 ? " ORDER BY " + table + "." + column : "") + ";";
    }

    // Through the engine's call on even steps, through tablescope-cli on odd ones.
    Status apply(bool save, const std::string& name, int step) {
        if (step % 2 == 0) {
            QueryWriteOptions options;
            options.keepBackup = false;
            return save ? createQueryDef(path, name, kept[name], options)
                        : deleteQueryDef(path, name, options);
        }
        std::vector<std::string> args = {save ? "save-query" : "delete-query", path, name};
        if (save) {
            args.push_back(kept[name]);
        }
        args.push_back("--no-backup");
        std::FILE* sink = std::tmpfile();
        int exitCode = -1;
        cli::tryRunQueryWriteCommand(args, sink, sink, exitCode);
        std::fclose(sink);
        return exitCode == 0 ? Status::ok()
                             : Status(ErrorCode::Io, "exit " + std::to_string(exitCode));
    }

    int checks = 0;

    void check(const std::string& step, bool last = false) {
        SCOPED_TRACE(step);
        const bool withOracles =
            oracles &&
            (last || ++checks % positiveSetting("TABLESCOPE_WRITE_CAMPAIGN_ORACLE_EVERY", 1) == 0);
        auto db = Database::open(path);
        ASSERT_TRUE(db) << db.status().message();
        auto session = SqlSession::open(**db);
        ASSERT_TRUE(session);
        for (const auto& [name, sql] : kept) {
            const QueryDef* query = (*db)->findQuery(name);
            ASSERT_NE(query, nullptr) << name;
            EXPECT_EQ(rowCount(**session, name), rowCount(**session, sql)) << name;
        }
        if (!withOracles) {
            return;
        }
        EXPECT_EQ(mdbtoolsTables(path), toolsTables);
        std::set<std::string> expected = queriesBefore;
        for (const auto& entry : kept) {
            expected.insert(entry.first);
        }
        EXPECT_EQ(mdbtoolsQueries(path), expected);
        const auto reader = mdbReaderTables(path, "");
        for (const auto& [name, rows] : readerTables) {
            if (name.rfind("MSys", 0) != 0) {
                EXPECT_EQ(reader.at(name), rows) << name;
            }
        }
    }
};

void runCampaign(const std::string& path, bool oracles) {
    Campaign c;
    c.path = path;
    c.oracles = oracles;
    c.start();
    std::multiset<std::string> catalogBefore;
    {
        auto db = Database::open(path);
        ASSERT_TRUE(db);
        catalogBefore = catalogRows(**db);
    }
    const int steps = positiveSetting("TABLESCOPE_WRITE_CAMPAIGN_STEPS", 2);
    std::vector<std::string> names;
    for (int i = 0; i < steps; ++i) {
        const std::string name = "Campaign " + std::to_string(i);
        c.kept[name] = c.statement(i);
        Status saved = c.apply(true, name, i);
        ASSERT_TRUE(saved) << name << ": " << saved.message();
        names.push_back(name);
        c.check("after saving " + name);
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(1210));
    for (size_t i = 0; i < names.size(); ++i) {
        Status deleted = c.apply(false, names[i], int(i));
        ASSERT_TRUE(deleted) << names[i] << ": " << deleted.message();
        c.kept.erase(names[i]);
        c.check("after deleting " + names[i], i + 1 == names.size());
    }
    auto db = Database::open(path);
    ASSERT_TRUE(db);
    EXPECT_TRUE(catalogRows(**db) == catalogBefore);
}

class WriteCampaign : public ::testing::TestWithParam<const char*> {};

TEST_P(WriteCampaign, SavesThenDeletesKeepEveryReaderHappy) {
    TempFolder folder;
    runCampaign(folder.copyIn(GetParam()), true);
}

INSTANTIATE_TEST_SUITE_P(Files, WriteCampaign,
                         ::testing::Values("jackcess/V1997/queryTestV1997.mdb",
                                           "jackcess/V2000/queryTestV2000.mdb",
                                           "mdb-reader/V2010/test.accdb"));

// The benchmark file: our reader after every step (the independent readers
// take minutes on it; run them by hand).
TEST(WriteCampaign, BenchmarkFile) {
    const char* bench = std::getenv("TABLESCOPE_BENCH_MDB");
    ASSERT_TRUE(bench && std::filesystem::exists(bench))
        << "TABLESCOPE_BENCH_MDB must name the benchmark database";
    TempFolder folder;
    const std::string path = (folder.path() / "bench.mdb").string();
    std::filesystem::copy_file(bench, path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    runCampaign(path, std::getenv("TABLESCOPE_WRITE_CAMPAIGN_BENCH_ORACLES") != nullptr);
}

}  // namespace
}  // namespace jet::write
