// Record sets over the real Access files of the shared test data: tables,
// saved queries of every kind, SQL over the file's tables, parameters.
#include <gtest/gtest.h>

#include <filesystem>

#include "jet/database.h"
#include "jet/sql_session.h"

namespace jet {
namespace {

std::string testFile(const std::string& relative) {
    const std::string path = std::string(TABLESCOPE_TESTDATA) + "/" + relative;
    if (!std::filesystem::exists(path))
        ADD_FAILURE() << "test file missing: " << path;
    return path;
}

struct Opened {
    std::unique_ptr<Database> db;
    std::unique_ptr<SqlSession> session;
};

Opened openFile(const std::string& relative) {
    Opened o;
    auto db = Database::open(testFile(relative));
    if (!db) {
        ADD_FAILURE() << db.status().message();
        return o;
    }
    o.db = std::move(db.value());
    auto session = SqlSession::open(*o.db);
    if (!session) {
        ADD_FAILURE() << session.status().message();
        return o;
    }
    o.session = std::move(session.value());
    return o;
}

// "OK n" with the row count, or the error code and message.
std::string outcome(SqlSession& s, const std::string& source, const ParameterValues& params = {}) {
    auto rs = s.openRecordset(source, params);
    if (!rs)
        return "ERR " + std::to_string(static_cast<int>(rs.status().code())) + " " +
               rs.status().message();
    long rows = 0;
    while ((*rs)->next())
        ++rows;
    if (!(*rs)->status())
        return "ERR read " + (*rs)->status().message();
    return "OK " + std::to_string(rows);
}

struct SavedQueryCase {
    const char* file;
    const char* query;
    const char* expected;  // prefix of outcome()
};

class SavedQueryTest : public ::testing::TestWithParam<SavedQueryCase> {};

// Every saved query either opens or fails as Access would: the select query
// opens (the tables are empty); the union query's parts have no FROM clause,
// so its seven field names are parameters; the crosstab holds an aggregate in
// its WHERE clause on purpose; every action query is refused.
TEST_P(SavedQueryTest, OpensOrFailsAsAccessWould) {
    const SavedQueryCase& c = GetParam();
    Opened o = openFile(c.file);
    ASSERT_TRUE(o.session);
    const std::string got = outcome(*o.session, c.query);
    EXPECT_EQ(got.substr(0, std::string(c.expected).size()), c.expected) << got;
}

const std::string kReadOnly =
    "ERR " + std::to_string(static_cast<int>(ErrorCode::ReadOnly)) + " Cannot open an action query";
const std::string kSemantic = "ERR " + std::to_string(static_cast<int>(ErrorCode::Semantic)) + " ";
const std::string kUnsupported =
    "ERR " + std::to_string(static_cast<int>(ErrorCode::Unsupported)) + " ";

std::vector<SavedQueryCase> savedQueryCases() {
    static const std::vector<std::string> storage = {
        kReadOnly, kSemantic + "Cannot have aggregate function in WHERE clause",
        kUnsupported + "The query 'PassthroughQuery' is a pass-through",
        "ERR " + std::to_string(static_cast<int>(ErrorCode::Parameter)) +
            " Too few parameters. Expected 7."};
    std::vector<SavedQueryCase> out;
    for (const char* file :
         {"jackcess/V2000/queryTestV2000.mdb", "jackcess/V1997/queryTestV1997.mdb"}) {
        out.push_back({file, "SelectQuery", "OK 0"});
        out.push_back({file, "UnionQuery", storage[3].c_str()});
        out.push_back({file, "CrosstabQuery", storage[1].c_str()});
        out.push_back({file, "UpdateQuery", storage[0].c_str()});
        out.push_back({file, "AppendQuery", storage[0].c_str()});
        out.push_back({file, "DeleteQuery", storage[0].c_str()});
        out.push_back({file, "MakeTableQuery", storage[0].c_str()});
        out.push_back({file, "DataDefinitionQuery", storage[0].c_str()});
        out.push_back({file, "PassthroughQuery", storage[2].c_str()});
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(QueryTestFiles, SavedQueryTest, ::testing::ValuesIn(savedQueryCases()));

TEST(SqlSessionTest, TableRecordsetMatchesTheCursor) {
    Opened o = openFile("jackcess/V2000/queryTestV2000.mdb");
    ASSERT_TRUE(o.session);
    for (const TableDef& t : o.db->tables()) {
        if (t.isLinked() || t.name.rfind("MSys", 0) == 0)
            continue;
        auto rs = o.session->openRecordset(t.name);
        ASSERT_TRUE(rs) << t.name << ": " << rs.status().message();
        ASSERT_EQ((*rs)->fields().size(), t.columns.size()) << t.name;
        for (std::size_t i = 0; i < t.columns.size(); ++i)
            EXPECT_EQ((*rs)->fields()[i].name, t.columns[i].name);
        long rows = 0;
        while ((*rs)->next())
            ++rows;
        auto count = o.db->countRows(t);
        ASSERT_TRUE(count);
        EXPECT_EQ(static_cast<uint64_t>(rows), *count) << t.name;
    }
}

// Opening a table by name reads it without SQLite; every table of every test
// file must come out exactly as "SELECT * FROM table" gives it: same fields,
// same rows in the same order, same value types and payloads, whether read a
// row at a time or value by value as views.
TEST(SqlSessionTest, TableByNameReadsAsSelectStar) {
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TABLESCOPE_TESTDATA)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".mdb" && ext != ".accdb")
            continue;
        auto db = Database::open(entry.path().string());
        if (!db)
            continue;  // protected or deliberately broken files
        auto session = SqlSession::open(**db);
        ASSERT_TRUE(session) << entry.path();
        for (const TableDef& t : (*db)->tables()) {
            if (t.isLinked() || t.name.find(']') != std::string::npos)
                continue;
            auto direct = (*session)->openRecordset(t.name);
            auto viaSql = (*session)->openRecordset("SELECT * FROM [" + t.name + "]");
            auto viewed = (*session)->openRecordset(t.name);
            ASSERT_EQ(bool(direct), bool(viaSql)) << entry.path() << " " << t.name;
            if (!direct)
                continue;
            const auto& fields = (*direct)->fields();
            ASSERT_EQ(fields.size(), (*viaSql)->fields().size()) << t.name;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                EXPECT_EQ(fields[i].name, (*viaSql)->fields()[i].name);
                EXPECT_EQ(fields[i].type, (*viaSql)->fields()[i].type) << t.name;
            }
            long row = 0;
            for (;; ++row) {
                const bool more = (*direct)->next();
                ASSERT_EQ(more, (*viaSql)->next()) << entry.path() << " " << t.name << " " << row;
                if (!more)
                    break;
                ASSERT_EQ((*direct)->row(), (*viaSql)->row())
                    << entry.path() << " " << t.name << " row " << row;
                ASSERT_TRUE((*viewed)->advance()) << t.name << " row " << row;
                for (std::size_t i = 0; i < fields.size(); ++i)
                    ASSERT_EQ((*viewed)->cell(i).toValue(), (*viaSql)->row()[i])
                        << entry.path() << " " << t.name << " row " << row << " field " << i;
            }
            EXPECT_FALSE((*viewed)->advance()) << t.name;
            EXPECT_EQ((*viewed)->status().message(), (*viaSql)->status().message()) << t.name;
            EXPECT_EQ((*direct)->status().message(), (*viaSql)->status().message()) << t.name;
            EXPECT_EQ((*direct)->status().code(), (*viaSql)->status().code()) << t.name;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

TEST(SqlSessionTest, UnknownNamesAreParametersOfTheStatement) {
    Opened o = openFile("jackcess/V2000/queryTestV2000.mdb");
    ASSERT_TRUE(o.session);
    auto params = o.session->parameters(
        "PARAMETERS [B] Long; SELECT col1 FROM Table1 WHERE col1 = [A] OR col2 = [B] OR col3 = "
        "[a]");
    ASSERT_TRUE(params) << params.status().message();
    ASSERT_EQ(params->size(), 2u);
    EXPECT_EQ((*params)[0].name, "B");
    EXPECT_EQ((*params)[0].typeName, "Long");
    EXPECT_EQ((*params)[1].name, "A");
    EXPECT_EQ(outcome(*o.session, "SELECT col1 FROM Table1 WHERE col1 = [A]"),
              "ERR " + std::to_string(static_cast<int>(ErrorCode::Parameter)) +
                  " Too few parameters. Expected 1. Unknown name: A");
    EXPECT_EQ(outcome(*o.session, "SELECT col1 FROM Table1 WHERE col1 = [A]", {{"a", "x"}}),
              "OK 0");
}

TEST(SqlSessionTest, UnknownTableIsNamed) {
    Opened o = openFile("jackcess/V2000/queryTestV2000.mdb");
    ASSERT_TRUE(o.session);
    EXPECT_EQ(outcome(*o.session, "SELECT * FROM NoSuchTable"),
              "ERR " + std::to_string(static_cast<int>(ErrorCode::NotFound)) +
                  " The database engine cannot find the input table or query 'NoSuchTable'. Make "
                  "sure it exists and "
                  "that its name is spelled correctly.");
}

}  // namespace
}  // namespace jet
