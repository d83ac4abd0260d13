// Runs the SQL translation cases under cases/: each case is an Access
// statement, optional parameter values, and the exact rows or error expected,
// run against the tables that cases/fixture.sql creates in memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "memory_catalog.h"

namespace jet::sql::test {
namespace {

struct SqlCase {
    std::string file;
    std::string name;
    std::string sql;
    ParameterValues params;
    std::string expected;
};

void PrintTo(const SqlCase& c, std::ostream* os) {
    *os << c.file << ": " << c.name;
}

std::string trimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    return s;
}

std::vector<SqlCase> loadCases() {
    std::vector<SqlCase> out;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(TABLESCOPE_SQL_CASES)) {
        if (entry.path().extension() == ".case")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream in(path);
        std::string line, section;
        while (std::getline(in, line)) {
            line = trimRight(line);
            if (line.rfind("=== ", 0) == 0) {
                out.push_back({path.stem().string(), line.substr(4), "", {}, ""});
                section = "sql";
            } else if (line.rfind("--- ", 0) == 0) {
                section = line.substr(4);
            } else if (out.empty() || (line.empty() && section != "expect")) {
                continue;
            } else if (section == "sql") {
                out.back().sql += (out.back().sql.empty() ? "" : "\n") + line;
            } else if (section == "params") {
                const auto eq = line.find('=');
                out.back().params.push_back(
                    {line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 1)});
            } else if (section == "expect" && !line.empty()) {
                out.back().expected += line + "\n";
            }
        }
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Fixture lines "-- query Name: SQL" define saved queries.
void loadFixture(MemoryCatalog& catalog) {
    const std::string text = readFile(std::string(TABLESCOPE_SQL_CASES) + "/fixture.sql");
    ASSERT_FALSE(text.empty()) << "missing cases/fixture.sql";
    catalog.exec(text);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("-- query ", 0) != 0)
            continue;
        const auto colon = line.find(':');
        std::string name = line.substr(9, colon - 9);
        QueryKind kind = QueryKind::Select;
        if (name.rfind("action ", 0) == 0) {
            kind = QueryKind::Update;
            name = name.substr(7);
        }
        catalog.addQuery(name, line.substr(colon + 2), kind);
    }
}

class SqlCaseTest : public ::testing::TestWithParam<SqlCase> {};

TEST_P(SqlCaseTest, GivesExpectedRowsOrError) {
    MemoryCatalog catalog;
    loadFixture(catalog);
    const SqlCase& c = GetParam();
    EXPECT_EQ(runToText(catalog, c.sql, c.params), c.expected) << "statement:\n" << c.sql;
}

std::string caseName(const ::testing::TestParamInfo<SqlCase>& info) {
    std::string name = info.param.file + "_" + info.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, SqlCaseTest, ::testing::ValuesIn(loadCases()), caseName);

TEST(SqlCaseFiles, ArePresent) {
    EXPECT_GT(loadCases().size(), 50u) << "case files missing under " << TABLESCOPE_SQL_CASES;
}

}  // namespace
}  // namespace jet::sql::test
