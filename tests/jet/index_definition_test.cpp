// Index definitions read from table definitions: compared with mdb-schema's
// index statements on every test file, and damage in the index blocks that
// leaves the table itself readable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "jet/database.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Our indexes in mdb-schema's PostgreSQL form (lower-case names, the primary
// key as a constraint, relationship indexes left out), one statement a line.
std::vector<std::string> ourStatements(const jet::Database& db) {
    std::vector<std::string> out;
    for (const jet::TableDef& t : db.tables()) {
        if (t.isSystem() || t.isLinked())
            continue;
        EXPECT_TRUE(t.indexError.empty()) << t.indexError;
        const std::string table = lower(t.name);
        for (const jet::IndexDef& index : t.indexes) {
            if (index.foreignKey)
                continue;
            std::string keys;
            for (const jet::IndexDef::Key& k : index.keys) {
                if (k.column < 0)
                    continue;
                keys += (keys.empty() ? "\"" : ", \"") + lower(t.columns[k.column].name) + "\"";
                if (!k.ascending && !index.primaryKey)
                    keys += " DESC";
            }
            if (index.primaryKey) {
                out.push_back("ALTER TABLE \"" + table + "\" ADD CONSTRAINT \"" + table +
                              "_pkey\" PRIMARY KEY (" + keys + ");");
            } else {
                out.push_back(std::string("CREATE ") + (index.unique ? "UNIQUE " : "") +
                              "INDEX \"" + table + "_" + lower(index.name) + "_idx\" ON \"" +
                              table + "\" (" + keys + ");");
            }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> mdbSchemaStatements(const std::string& path) {
    int rc = 0;
    const std::string text = jettest::runCommand(
        "mdb-schema --indexes --no-relations " + jettest::shellQuote(path) + " postgres", rc);
    EXPECT_EQ(rc, 0) << "mdb-schema failed on " << path;
    std::vector<std::string> out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const bool index = line.starts_with("CREATE INDEX") || line.starts_with("CREATE UNIQUE");
        const bool key = line.find("PRIMARY KEY") != std::string::npos;
        if ((index || key) && lower(line).find("msys") == std::string::npos)
            out.push_back(line);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(IndexDefinitions, MatchMdbSchemaOnEveryTestFile) {
    int compared = 0;
    for (const std::string& rel : jettest::allTestFiles()) {
        if (!jettest::passwordFor(rel).empty())
            continue;  // mdb-schema cannot open protected files
        const std::string path = jettest::testFile(rel);
        auto db = jet::Database::open(path);
        ASSERT_TRUE(db) << rel << ": " << db.status().message();
        std::vector<std::string> ours = ourStatements(**db);
        const std::vector<std::string> theirs = mdbSchemaStatements(path);
        // mdb-schema loses the key columns of an index after a column was
        // deleted ("can't find index", an empty list); we find them by their
        // row column number. Compare the rest of such a statement.
        for (const std::string& line : theirs) {
            if (!line.ends_with(" ();"))
                continue;
            const std::string head = line.substr(0, line.size() - 3);
            for (std::string& our : ours) {
                if (our.starts_with(head) && our.size() > line.size())
                    our = line;
            }
        }
        EXPECT_EQ(ours, theirs) << rel;
        ++compared;
    }
    EXPECT_GT(compared, 10);
}

TEST(IndexDefinitions, KeysFlagsAndNames) {
    auto db = jet::Database::open(jettest::testFile("mdb-reader/V2000/test.mdb"));
    ASSERT_TRUE(db);
    const jet::TableDef* t = (*db)->findTable("Table2");
    ASSERT_TRUE(t);
    const auto pk = std::find_if(t->indexes.begin(), t->indexes.end(),
                                 [](const jet::IndexDef& i) { return i.primaryKey; });
    ASSERT_NE(pk, t->indexes.end());
    EXPECT_EQ(pk->name, "PrimaryKey");
    EXPECT_TRUE(pk->unique);
    ASSERT_EQ(pk->keys.size(), 1u);
    EXPECT_EQ(t->columns[pk->keys[0].column].name, "column1");
}

// A damaged logical index count must cost the indexes, not the table.
TEST(IndexDefinitions, DamagedIndexBlocksLeaveTheTableReadable) {
    const std::string dir = jettest::makeTempDir();
    const std::string copy = dir + "/damaged.mdb";
    fs::copy_file(jettest::testFile("mdb-reader/V2000/test.mdb"), copy);
    uint32_t tdefPage = 0;
    {
        auto db = jet::Database::open(copy);
        ASSERT_TRUE(db);
        tdefPage = (*db)->findTable("Table1")->tdefPage;
    }
    {
        std::fstream f(copy, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(tdefPage) * 4096 + 47);  // Jet 4 logical index count
        const char huge[4] = {'\xff', '\xff', '\xff', '\x7f'};
        f.write(huge, 4);
    }
    auto db = jet::Database::open(copy);
    ASSERT_TRUE(db) << db.status().message();
    const jet::TableDef* t = (*db)->findTable("Table1");
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->indexes.empty());
    EXPECT_NE(t->indexError.find("Table1"), std::string::npos) << t->indexError;
    auto rows = (*db)->countRows(*t);
    ASSERT_TRUE(rows);
    EXPECT_GT(*rows, 0u);
    fs::remove_all(dir);
}

}  // namespace
