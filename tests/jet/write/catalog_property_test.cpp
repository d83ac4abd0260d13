// Random sequences of saves and deletes, checked after every step against a
// model of the catalog (every write is also verified by the writer itself).
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "jet/database.h"
#include "jet/query_writer.h"
#include "temp_copy.h"

namespace jet::write {
namespace {

using namespace jet::write::testing;

std::set<std::string> queryNames(const std::string& path) {
    auto db = Database::open(path);
    EXPECT_TRUE(db) << db.status().message();
    std::set<std::string> names;
    if (db) {
        for (const QueryDef& query : (*db)->queries()) {
            names.insert(query.name);
        }
    }
    return names;
}

// A statement whose WHERE is short or long enough to need a long-value page.
std::string randomSql(std::mt19937& random) {
    std::string where = "Table1.col1 <> '" + std::to_string(random() % 1000) + "'";
    const int extra = static_cast<int>(random() % 4);
    for (int i = 0; i < extra; ++i) {
        where += " AND Table1.col2 <> 'padding text number " + std::to_string(i) + "'";
    }
    return "SELECT Table1.col1, Table1.col2 FROM Table1 WHERE " + where + " ORDER BY Table1.col1;";
}

void runSequence(const char* file, unsigned seed, int steps) {
    TempFolder folder;
    const std::string path = folder.copyIn(file);
    std::set<std::string> model = queryNames(path);
    const std::set<std::string> original = model;
    std::vector<std::string> pool;
    for (const char* stem : {"A", "Alpha", "Mid", "Query", "Sel", "Zulu", "zz"}) {
        for (int i = 0; i < 4; ++i) {
            pool.push_back(std::string(stem) + " " + std::to_string(i));
        }
    }
    std::mt19937 random(seed);
    for (int step = 0; step < steps; ++step) {
        const std::string& name = pool[random() % pool.size()];
        const bool save = random() % 3 != 0;
        SCOPED_TRACE("step " + std::to_string(step) + (save ? ": save " : ": delete ") + name);
        Status status =
            save ? createQueryDef(path, name, randomSql(random)) : deleteQueryDef(path, name);
        const bool present = model.count(name) > 0;
        if (save && present) {
            EXPECT_EQ(status.code(), ErrorCode::Invalid) << status.message();
        } else if (!save && !present) {
            EXPECT_EQ(status.code(), ErrorCode::NotFound) << status.message();
        } else {
            ASSERT_TRUE(status) << status.message();
            save ? (void)model.insert(name) : (void)model.erase(name);
        }
        ASSERT_EQ(queryNames(path), model);
    }
    // Everything added can be removed again, leaving the original catalog.
    for (const std::string& name : std::set<std::string>(model)) {
        if (!original.count(name)) {
            ASSERT_TRUE(deleteQueryDef(path, name)) << name;
        }
    }
    EXPECT_EQ(queryNames(path), original);
}

TEST(CatalogProperty, RandomSavesAndDeletesJet4) {
    runSequence("jackcess/V2000/queryTestV2000.mdb", 20261209, 80);
}

TEST(CatalogProperty, RandomSavesAndDeletesJet3) {
    runSequence("jackcess/V1997/queryTestV1997.mdb", 977, 80);
}

}  // namespace
}  // namespace jet::write
