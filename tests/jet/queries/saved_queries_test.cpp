// The saved queries of the query test databases (one of each kind, Jet 3 and
// Jet 4), read through the engine, against the reference texts in
// expected-queries.tsv.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "jet/database.h"

namespace jet {
namespace {

struct Expected {
    std::string file;
    std::string query;
    std::string type;
    std::string sql;
};

std::vector<Expected> loadExpected() {
    std::string path = std::string(TABLESCOPE_TESTDATA) + "/jackcess/expected-queries.tsv";
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::vector<Expected> out;
    std::string line;
    std::getline(in, line);  // title line
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Expected e;
        std::getline(fields, e.file, '\t');
        std::getline(fields, e.query, '\t');
        std::getline(fields, e.type, '\t');
        std::getline(fields, e.sql);
        out.push_back(e);
    }
    return out;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos)) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

// The reference joins clauses with one blank where Access breaks the line,
// and differs from Access's own text in two documented points, applied here:
// - parameter names are written bracketed: "PARAMETERS [User Name] Text;"
//   where the reference has "PARAMETERS User Name Text;";
// - the INSERT INTO column list has blanks inside its parentheses:
//   "INSERT INTO Table3 ( col2, col2, col3 )" for "(col2, col2, col3)".
// (Its other documented difference, TOP dropped beside DISTINCTROW, does not
// occur in these files.)
std::string asAccessWritesIt(std::string reference) {
    replaceAll(reference, "PARAMETERS User Name Text;", "PARAMETERS [User Name] Text;");
    replaceAll(reference, "INSERT INTO Table3 (col2, col2, col3)",
               "INSERT INTO Table3 ( col2, col2, col3 )");
    return reference;
}

std::string oneLine(std::string sql) {
    replaceAll(sql, "\r\n", " ");
    return sql;
}

QueryKind kindNamed(const std::string& type) {
    static const std::map<std::string, QueryKind> kinds = {
        {"SELECT", QueryKind::Select},
        {"UPDATE", QueryKind::Update},
        {"APPEND", QueryKind::Append},
        {"DELETE", QueryKind::Delete},
        {"MAKE_TABLE", QueryKind::MakeTable},
        {"CROSS_TAB", QueryKind::Crosstab},
        {"UNION", QueryKind::Union},
        {"PASSTHROUGH", QueryKind::PassThrough},
        {"DATA_DEFINITION", QueryKind::DataDefinition}};
    auto it = kinds.find(type);
    return it == kinds.end() ? QueryKind::Unknown : it->second;
}

TEST(SavedQueries, EveryQueryOfBothTestFilesMatchesTheReference) {
    std::vector<Expected> expected = loadExpected();
    ASSERT_EQ(expected.size(), 18u);
    std::map<std::string, std::unique_ptr<Database>> open;
    for (const Expected& e : expected) {
        auto& db = open[e.file];
        if (!db) {
            Result<std::unique_ptr<Database>> opened =
                Database::open(std::string(TABLESCOPE_TESTDATA) + "/jackcess/" + e.file);
            ASSERT_TRUE(opened.isOk()) << e.file << ": " << opened.status().message();
            db = std::move(*opened);
        }
        const QueryDef* query = db->findQuery(e.query);
        ASSERT_NE(query, nullptr) << e.file << " lacks " << e.query;
        ASSERT_TRUE(query->status.isOk()) << query->status.message();
        EXPECT_EQ(oneLine(query->info.sql), asAccessWritesIt(e.sql)) << e.file << " " << e.query;
        EXPECT_EQ(query->info.kind, kindNamed(e.type)) << e.file << " " << e.query;
    }
    for (const auto& [file, db] : open) {
        EXPECT_EQ(db->queries().size(), 9u) << file;
    }
}

TEST(SavedQueries, ClausesAreSeparatedByCrLfAndEndInASemicolon) {
    Result<std::unique_ptr<Database>> db =
        Database::open(std::string(TABLESCOPE_TESTDATA) + "/jackcess/V2000/queryTestV2000.mdb");
    ASSERT_TRUE(db.isOk()) << db.status().message();
    const QueryDef* update = (*db)->findQuery("UpdateQuery");
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->info.sql,
              "PARAMETERS [User Name] Text;\r\n"
              "UPDATE Table1 SET Table1.col1 = \"foo\", Table1.col2 = [Table2].[col3], "
              "[Table2].[col1] = [User Name]\r\n"
              "WHERE ((([Table2].[col1]) Is Not Null));");
    ASSERT_EQ(update->info.parameters.size(), 1u);
    EXPECT_EQ(update->info.parameters[0].name, "User Name");
    EXPECT_EQ(update->info.parameters[0].typeName, "Text");
    EXPECT_EQ(update->info.parameters[0].typeCode, 0x0A);

    const QueryDef* select = (*db)->findQuery("SelectQuery");
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(select->info.fields, (std::vector<std::string>{"Table1.*", "col1", "col2", "col3"}));
    const QueryDef* ddl = (*db)->findQuery("DataDefinitionQuery");
    ASSERT_NE(ddl, nullptr);
    EXPECT_EQ(ddl->info.sql, "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);");
}

}  // namespace
}  // namespace jet
