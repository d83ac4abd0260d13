// Linked tables and FROM ... IN: the back-end is found where the link says,
// beside the front-end or in a folder the user names; its table then reads,
// exports and joins like a local one. Links to other sources and missing
// back-ends are refused by name.
#include <gtest/gtest.h>

#include <filesystem>

#include "jet/database.h"
#include "jet/sql_session.h"
#include "jet/sql_value_text.h"
#include "link_registry.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

const char* kFrontEnd = "../testdata-modern/V2007/linkerTestV2007.accdb";
const char* kBackEnd = "../testdata-modern/linkeeTest.accdb";

std::unique_ptr<jet::Database> open(const std::string& path) {
    auto db = jet::Database::open(path);
    EXPECT_TRUE(db) << path << ": " << db.status().message();
    return db ? std::move(db.value()) : nullptr;
}

// Every row of a cursor as "a|b" lines.
std::string rowsOf(jet::TableCursor& cursor) {
    std::string out;
    while (cursor.next()) {
        for (std::size_t i = 0; i < cursor.columnCount(); ++i)
            out += (i ? "|" : "") + jet::displayText(cursor.get(i).toValue());
        out += "\n";
    }
    return out;
}

std::string rowsOf(jet::SqlSession& session, const std::string& sql) {
    auto rs = session.openRecordset(sql);
    if (!rs)
        return "ERR " + rs.status().message();
    std::string out;
    while ((*rs)->next()) {
        for (std::size_t i = 0; i < (*rs)->row().size(); ++i)
            out += (i ? "|" : "") + jet::displayText((*rs)->row()[i]);
        out += "\n";
    }
    return out;
}

std::string backEndTable1() {
    auto backEnd = open(jettest::testFile(kBackEnd));
    auto cursor = backEnd->openTable("Table1");
    EXPECT_TRUE(cursor);
    return rowsOf(**cursor);
}

TEST(LinkedTables, CandidatesMapWindowsPathsByFileName) {
    EXPECT_EQ(jet::linkCandidates("Z:\\jackcess_test\\linkeeTest.accdb", "/data/front", {"/x"}),
              (std::vector<std::string>{"/data/front/linkeeTest.accdb", "/x/linkeeTest.accdb"}));
    EXPECT_EQ(jet::linkCandidates("\\\\server\\share\\b.mdb", "/f", {}),
              (std::vector<std::string>{"/f/b.mdb"}));
    EXPECT_EQ(jet::linkCandidates("/srv/b.mdb", "/f", {}),
              (std::vector<std::string>{"/srv/b.mdb", "/f/b.mdb"}));
    EXPECT_EQ(jet::linkCandidates("sub/b.mdb", "/f", {}),
              (std::vector<std::string>{"/f/sub/b.mdb", "/f/b.mdb"}));
    EXPECT_TRUE(jet::linkCandidates("", "/f", {"/x"}).empty());
}

TEST(LinkedTables, OtherSourcesAreNamed) {
    EXPECT_EQ(jet::linkedSourceName(";DATABASE=C:\\b.mdb"), "");
    EXPECT_EQ(jet::linkedSourceName("MS Access;PWD=x;DATABASE=C:\\b.mdb"), "");
    EXPECT_EQ(jet::linkedSourceName("Excel 12.0 Xml;HDR=YES;IMEX=2;DATABASE=C:\\a.xlsx"),
              "an Excel workbook");
    EXPECT_EQ(jet::linkedSourceName("Text;DSN=x;FMT=Delimited;HDR=NO;DATABASE=C:\\t"),
              "a text file");
    EXPECT_EQ(jet::linkedSourceName("ODBC;DSN=sales;UID=sa"), "an ODBC data source");
    EXPECT_EQ(jet::linkedFilePath("", "Excel 8.0;DATABASE=C:\\a.xls;HDR=YES"), "C:\\a.xls");
}

TEST(LinkedTables, BackEndInAFolderTheUserNamesReadsLikeALocalTable) {
    auto frontEnd = open(jettest::testFile(kFrontEnd));
    ASSERT_TRUE(frontEnd);
    const jet::TableDef* linked = frontEnd->findTable("Table2");
    ASSERT_TRUE(linked && linked->isLinked());

    auto missing = frontEnd->openTable(*linked);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.status().code(), jet::ErrorCode::NotFound);
    EXPECT_NE(missing.status().message().find("linkeeTest.accdb"), std::string::npos)
        << missing.status().message();

    frontEnd->setLinkFolders({fs::path(jettest::testFile(kBackEnd)).parent_path().string()});
    auto source = frontEnd->resolveTable(*linked);
    ASSERT_TRUE(source) << source.status().message();
    EXPECT_EQ(source->table->name, "Table1");
    EXPECT_EQ(source->table->columns.size(), 2u);
    auto cursor = frontEnd->openTable(*linked);
    ASSERT_TRUE(cursor) << cursor.status().message();
    EXPECT_EQ(rowsOf(**cursor), backEndTable1());

    auto session = jet::SqlSession::open(*frontEnd);
    ASSERT_TRUE(session);
    EXPECT_EQ(rowsOf(**session, "SELECT * FROM Table2"), backEndTable1());
    EXPECT_EQ(rowsOf(**session,
                     "SELECT l.Field1 FROM Table1 AS t INNER JOIN Table2 AS l ON "
                     "t.ID = l.ID ORDER BY 1"),
              rowsOf(**session,
                     "SELECT Field1 FROM Table2 WHERE ID IN (SELECT ID FROM Table1) "
                     "ORDER BY 1"));
}

TEST(LinkedTables, BackEndBesideTheFrontEndIsFoundWithoutFolders) {
    const std::string dir = jettest::makeTempDir();
    fs::copy_file(jettest::testFile(kFrontEnd), dir + "/front.accdb");
    fs::copy_file(jettest::testFile(kBackEnd), dir + "/LINKEETEST.ACCDB");  // case differs
    auto frontEnd = open(dir + "/front.accdb");
    ASSERT_TRUE(frontEnd);
    auto cursor = frontEnd->openTable("Table2");
    ASSERT_TRUE(cursor) << cursor.status().message();
    EXPECT_EQ(rowsOf(**cursor), backEndTable1());
    fs::remove_all(dir);
}

TEST(LinkedTables, RefusalsNameTheSourceAndSelfLinksEnd) {
    auto frontEnd = open(jettest::testFile(kFrontEnd));
    ASSERT_TRUE(frontEnd);
    jet::TableDef sheet;
    sheet.name = "Prices";
    sheet.kind = jet::TableKind::LinkedJet;
    sheet.connect = "Excel 12.0 Xml;HDR=YES;IMEX=2;ACCDB=YES;DATABASE=C:\\data\\prices.xlsx";
    auto refused = frontEnd->resolveTable(sheet);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.status().code(), jet::ErrorCode::Unsupported);
    EXPECT_EQ(refused.status().message(),
              "The table 'Prices' is linked to an Excel workbook ('C:\\data\\prices.xlsx'); only "
              "tables linked to Access files are read.");

    // A link back into the front-end itself reaches its local table, once.
    jet::TableDef self;
    self.name = "Again";
    self.kind = jet::TableKind::LinkedJet;
    self.linkedDatabase = "C:\\elsewhere\\" + fs::path(frontEnd->path()).filename().string();
    self.foreignName = "Table1";
    auto local = frontEnd->resolveTable(self);
    ASSERT_TRUE(local) << local.status().message();
    EXPECT_EQ(local->database, frontEnd.get());

    self.foreignName = "NoSuchTable";
    auto gone = frontEnd->resolveTable(self);
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.status().code(), jet::ErrorCode::NotFound);
}

TEST(LinkedTables, FromInReadsAnotherFileAndInEmptyIsThisOne) {
    auto frontEnd = open(jettest::testFile(kFrontEnd));
    ASSERT_TRUE(frontEnd);
    auto session = jet::SqlSession::open(*frontEnd);
    ASSERT_TRUE(session);
    const std::string backEnd = jettest::testFile(kBackEnd);
    EXPECT_EQ(rowsOf(**session, "SELECT * FROM Table1 IN '" + backEnd + "'"), backEndTable1());
    EXPECT_EQ(rowsOf(**session, "SELECT * FROM Table1 IN ''"),
              rowsOf(**session, "SELECT * FROM Table1"));
    const std::string missing = rowsOf(**session, "SELECT * FROM Table1 IN 'C:\\no\\where.mdb'");
    EXPECT_EQ(missing.rfind("ERR Cannot find the database 'C:\\no\\where.mdb'", 0), 0u) << missing;
}

}  // namespace

namespace {

// A front-end whose Table2 links to a back-end with complex columns: the
// linking file beside the complex-data file under the name the link stores.
// The front-end knows Table2 by two plain columns; the back-end's Table1 has
// six, three of them complex.
std::string frontEndOverComplexBackEnd() {
    const std::string dir = jettest::makeTempDir();
    fs::copy_file(jettest::testFile(kFrontEnd), dir + "/front.accdb");
    fs::copy_file(jettest::testFile("../testdata-modern/V2010/complexDataTestV2010.accdb"),
                  dir + "/linkeeTest.accdb");
    return dir;
}

std::string cli(const std::string& args, int& rc) {
    return jettest::runCommand(std::string(TABLESCOPE_CLI) + " " + args + " 2>&1", rc);
}

}  // namespace

// The export took its complex columns from the front-end's definition and
// the attachments' sizes from the front-end file: a linked table's complex
// columns came out as text (or past the end of the front-end's list).
TEST(LinkedTables, ComplexColumnsOfALinkedTableExportFromTheBackEndsDefinition) {
    const std::string dir = frontEndOverComplexBackEnd();
    const std::string backEnd = jettest::shellQuote(dir + "/linkeeTest.accdb");
    const std::string frontEnd = jettest::shellQuote(dir + "/front.accdb");
    int rc = 0;
    const std::string direct = cli("export " + backEnd + " Table1 --format jsonl", rc);
    ASSERT_EQ(rc, 0) << direct;
    ASSERT_NE(direct.find(R"("attach-data":[{"name":"test_data.txt","type":"txt","size":38})"),
              std::string::npos)
        << direct;
    ASSERT_NE(direct.find(R"("multi-value-data":["value1","value4"])"), std::string::npos)
        << direct;
    EXPECT_EQ(cli("export " + frontEnd + " Table2 --format jsonl", rc), direct);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(cli("export " + frontEnd + " Table2", rc), cli("export " + backEnd + " Table1", rc));
    // The attachments command read the same front-end columns.
    const std::string listed = cli("attachments " + backEnd + " Table1", rc);
    ASSERT_EQ(rc, 0) << listed;
    ASSERT_NE(listed.find("test_data2.txt"), std::string::npos) << listed;
    EXPECT_EQ(cli("attachments " + frontEnd + " Table2", rc), listed);
    EXPECT_EQ(rc, 0);
    fs::remove_all(dir);
}
