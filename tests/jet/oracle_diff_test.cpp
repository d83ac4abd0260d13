// Every table (system tables included) of every test file, every row and
// value, compared with the independent reader mdb-reader (one node process
// per file). Rows compare as sorted lists: that reader shows a moved row where
// it now lies, we show it where it was written (its slot points to the new
// place). Tables that reader refuses are listed below and checked against
// mdbtools' row count instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include "jet/database.h"
#include "oracle_format.h"
#include "test_files.h"

namespace {

using jettest::shellQuote;

// Tables mdb-reader cannot read, with its error: type 0x11 is the fixed
// 3992-byte "Data" column of Access's own object table.
const std::map<std::string, std::string> kReaderRefuses = {
    {"MSysAccessObjects", "Unsupported column type"},
};

struct OracleTable {
    std::string columns;  // JSON array of names, in the reader's order
    std::vector<std::string> rows;
    std::string error;
};

std::map<std::string, OracleTable> runOracle(const std::string& path, const std::string& password,
                                             std::string& failure) {
    std::map<std::string, OracleTable> tables;
    const char* nodePath = std::getenv("TABLESCOPE_ORACLE_NODE_PATH");
    if (!nodePath || !*nodePath) {
        failure =
            "TABLESCOPE_ORACLE_NODE_PATH is not set: point it at a node_modules folder "
            "holding mdb-reader@3";
        return tables;
    }
    std::string cmd = "NODE_PATH=" + shellQuote(nodePath) + " node " +
                      shellQuote(TABLESCOPE_TEST_SOURCE_DIR "/oracle_dump_all.mjs") + " " +
                      shellQuote(path) + (password.empty() ? "" : " " + shellQuote(password));
    int rc = 0;
    std::istringstream in(jettest::runCommand(cmd, rc));
    if (rc != 0)
        failure = "the reference reader failed (exit " + std::to_string(rc) + ")";
    OracleTable* current = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("#TABLE ")) {
            current = &tables[line.substr(7)];
        } else if (!current || line.empty()) {
            continue;
        } else if (line.starts_with("#COLUMNS ")) {
            current->columns = line.substr(9);
        } else if (line.starts_with("#ERROR ")) {
            current->error = line.substr(7);
        } else {
            current->rows.push_back(line);
        }
    }
    return tables;
}

// The reader's column order (column number); complex columns left out.
std::vector<size_t> readerColumnOrder(const jet::TableDef& t) {
    std::vector<size_t> order;
    for (size_t i = 0; i < t.columns.size(); ++i)
        if (t.columns[i].type() != jet::ColumnType::Complex)
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return t.columns[a].number < t.columns[b].number; });
    return order;
}

std::vector<std::string> ourRows(const jet::Database& db, const jet::TableDef& t,
                                 const std::vector<size_t>& columns) {
    std::vector<std::string> rows;
    auto cursor = db.openTable(t);
    EXPECT_TRUE(cursor.isOk()) << cursor.status().message();
    if (!cursor)
        return rows;
    while ((*cursor)->next()) {
        std::string row = "[";
        for (size_t k = 0; k < columns.size(); ++k) {
            if (k)
                row += ",";
            row += jettest::oracleJson((*cursor)->get(columns[k]), t.columns[columns[k]]);
        }
        rows.push_back(row + "]");
    }
    EXPECT_TRUE((*cursor)->status().isOk()) << (*cursor)->status().message();
    return rows;
}

void compareRows(std::vector<std::string> ours, std::vector<std::string> theirs) {
    ASSERT_EQ(ours.size(), theirs.size()) << "row counts differ";
    std::sort(theirs.begin(), theirs.end());
    std::sort(ours.begin(), ours.end());
    int shown = 0;
    for (size_t r = 0; r < ours.size() && shown < 5; ++r) {
        if (ours[r] != theirs[r]) {
            ++shown;
            ADD_FAILURE() << "sorted row " << r << "\n ours:   " << ours[r].substr(0, 600)
                          << "\n theirs: " << theirs[r].substr(0, 600);
        }
    }
}

// For a table the reader refuses: our row count equals mdbtools' count.
void compareWithMdbtools(const jet::Database& db, const jet::TableDef& t, const std::string& path) {
    int rc = 0;
    const std::string out =
        jettest::runCommand("mdb-count " + shellQuote(path) + " " + shellQuote(t.name), rc);
    ASSERT_EQ(rc, 0) << "mdb-count failed; is mdbtools installed?";
    auto count = db.countRows(t);
    ASSERT_TRUE(count.isOk()) << count.status().message();
    EXPECT_EQ(std::to_string(*count), out.substr(0, out.find_first_of("\r\n")));
}

void compareTable(const jet::Database& db, const jet::TableDef& t, const OracleTable& theirs,
                  const std::string& path) {
    SCOPED_TRACE("table " + t.name);
    if (!theirs.error.empty()) {
        const auto known = kReaderRefuses.find(t.name);
        ASSERT_TRUE(known != kReaderRefuses.end()) << "reference reader failed: " << theirs.error;
        EXPECT_EQ(theirs.error, known->second);
        compareWithMdbtools(db, t, path);
        return;
    }
    const std::vector<size_t> columns = readerColumnOrder(t);
    std::string names = "[";
    for (size_t k = 0; k < columns.size(); ++k)
        names += (k ? "," : "") + jettest::jsonString(t.columns[columns[k]].name);
    EXPECT_EQ(names + "]", theirs.columns);
    compareRows(ourRows(db, t, columns), theirs.rows);
}

class OracleDiff : public testing::TestWithParam<std::string> {};

TEST_P(OracleDiff, TablesAndEveryRowMatchTheReferenceReader) {
    const std::string rel = GetParam();
    const std::string path = jettest::testFile(rel);
    ASSERT_FALSE(path.empty());
    std::string failure;
    const auto theirs = runOracle(path, jettest::passwordFor(rel), failure);
    ASSERT_TRUE(failure.empty()) << failure;
    auto db = jet::Database::open(path, jettest::passwordFor(rel));
    ASSERT_TRUE(db.isOk()) << db.status().message();

    std::vector<std::string> ourNames, theirNames;
    for (const auto& [name, table] : theirs)
        theirNames.push_back(name);
    for (const jet::TableDef& t : (*db)->tables())
        if (!t.isLinked())
            ourNames.push_back(jettest::jsonString(t.name));
    std::sort(ourNames.begin(), ourNames.end());
    EXPECT_EQ(ourNames, theirNames);

    for (const jet::TableDef& t : (*db)->tables()) {
        const auto it = theirs.find(jettest::jsonString(t.name));
        if (!t.isLinked() && it != theirs.end())
            compareTable(**db, t, it->second, path);
    }
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(AllTestFiles, OracleDiff, testing::ValuesIn(jettest::allTestFiles()),
                         testName);

TEST(OracleDiffSetup, FindsTheTestFiles) {
    EXPECT_GE(jettest::allTestFiles().size(), 20u) << "test data folder: " << TABLESCOPE_TESTDATA;
}

}  // namespace
