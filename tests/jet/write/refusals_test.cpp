// What the writer refuses, with the message the user sees, and that a
// refusal writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "jet/database.h"
#include "jet/query_writer.h"
#include "temp_copy.h"
#include "write/query_name_rules.h"
#include "write/safe_writer.h"

namespace jet::write {
namespace {

using namespace jet::write::testing;

struct Refusal {
    const char* name;
    const char* sql;
    ErrorCode code;
    const char* words;  // part of the message
};

void expectRefusals(const char* file, const std::vector<Refusal>& cases) {
    TempFolder folder;
    const std::string path = folder.copyIn(file);
    const std::string before = fileBytes(path);
    for (const Refusal& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.sql);
        Status status = createQueryDef(path, c.name, c.sql);
        EXPECT_EQ(status.code(), c.code) << status.message();
        EXPECT_NE(status.message().find(c.words), std::string::npos) << status.message();
    }
    EXPECT_TRUE(fileBytes(path) == before);
    EXPECT_FALSE(std::filesystem::exists(backupPath(path)));
}

const char* const kGood = "SELECT * FROM Table1;";

TEST(Refusals, BadOrTakenNamesInJet4) {
    expectRefusals("jackcess/V2000/queryTestV2000.mdb",
                   {
                       {"", kGood, ErrorCode::Invalid, "cannot be empty"},
                       {"   ", kGood, ErrorCode::Invalid, "cannot be empty"},
                       {"AB123456789012345678901234567890123456789012345678901234567890123", kGood,
                        ErrorCode::Invalid, "longer than 64"},
                       {" Lead", kGood, ErrorCode::Invalid, "begins with a space"},
                       {"a.b", kGood, ErrorCode::Invalid, ". ! ` [ ]"},
                       {"a!b", kGood, ErrorCode::Invalid, ". ! ` [ ]"},
                       {"a[b]", kGood, ErrorCode::Invalid, ". ! ` [ ]"},
                       {"tab\there", kGood, ErrorCode::Invalid, "control characters"},
                       {"~sq_hidden", kGood, ErrorCode::Invalid, "reserved for Access"},
                       {"MSysMine", kGood, ErrorCode::Invalid, "reserved for Access"},
                       {"msysmine", kGood, ErrorCode::Invalid, "reserved for Access"},
                       {"Bob's Query", kGood, ErrorCode::Invalid, "cannot yet store"},
                       {"Customer-Orders", kGood, ErrorCode::Invalid, "cannot yet store"},
                       {"\xC3\x9C"
                        "bersicht",
                        kGood, ErrorCode::Invalid, "non-ASCII"},
                       {"SelectQuery", kGood, ErrorCode::Invalid,
                        "A query named 'SelectQuery' already exists"},
                       {"selectquery", kGood, ErrorCode::Invalid, "already exists"},
                       {"TABLE1", kGood, ErrorCode::Invalid, "A table named"},
                       {"Table1  ", kGood, ErrorCode::Invalid, "A table named"},
                   });
}

TEST(Refusals, StatementsThatAreNotAPlainSelect) {
    expectRefusals(
        "jackcess/V2000/queryTestV2000.mdb",
        {
            {"Q", "UPDATE Table1 SET col1 = 'x';", ErrorCode::Unsupported, "SELECT"},
            {"Q", "DELETE FROM Table1;", ErrorCode::Unsupported, "SELECT"},
            {"Q", "INSERT INTO Table1 (col1) VALUES ('x');", ErrorCode::Unsupported, "SELECT"},
            {"Q", "SELECT * INTO NewTable FROM Table1;", ErrorCode::Unsupported, "SELECT"},
            {"Q", "CREATE TABLE T (a TEXT);", ErrorCode::Unsupported, "SELECT"},
            {"Q", "TRANSFORM Count(*) AS n SELECT col1 FROM Table1 GROUP BY col1 PIVOT col2;",
             ErrorCode::Unsupported, "crosstab"},
            {"Q", "SELECT x.col1 FROM (SELECT col1 FROM Table1) AS x;", ErrorCode::Unsupported,
             "subquery"},
            {"Q", "SELEC * FROM Table1;", ErrorCode::Syntax, ""},
            {"Q", "SELECT * FROM Table1 WHERE (col1 = 1;", ErrorCode::Syntax, ""},
            {"Q", "", ErrorCode::Syntax, ""},
        });
}

TEST(Refusals, Jet3AcceptsApostropheAndHyphen) {
    EXPECT_TRUE(checkQueryName("Bob's Query", true));
    EXPECT_TRUE(checkQueryName("Customer-Orders", true));
    EXPECT_FALSE(checkQueryName("Bob's Query", false));
}

TEST(Refusals, DeletingWhatIsNotAQuery) {
    TempFolder folder;
    const std::string path = folder.copyIn("jackcess/V2000/queryTestV2000.mdb");
    const std::string before = fileBytes(path);
    Status missing = deleteQueryDef(path, "NoSuchQuery");
    EXPECT_EQ(missing.code(), ErrorCode::NotFound);
    EXPECT_EQ(missing.message(), "There is no query named 'NoSuchQuery' in this database.");
    Status table = deleteQueryDef(path, "Table1");
    EXPECT_EQ(table.code(), ErrorCode::Invalid);
    EXPECT_TRUE(fileBytes(path) == before);
}

TEST(Refusals, DeletingAnAccessMadeQueryOfEveryKind) {
    TempFolder folder;
    const std::string path = folder.copyIn("jackcess/V2000/queryTestV2000.mdb");
    for (const char* name : {"SelectQuery", "UnionQuery", "CrosstabQuery", "PassthroughQuery",
                             "DataDefinitionQuery", "updatequery"}) {
        Status status = deleteQueryDef(path, name);
        EXPECT_TRUE(status) << name << ": " << status.message();
    }
}

}  // namespace
}  // namespace jet::write

namespace jet::write {
namespace {

// Fault: one byte of MSysQueries' definition changed (its column count set to
// 0) made save-query write past an empty vector. Damaged definitions are
// refused and the file stays as it was.
TEST(Refusals, ADamagedCatalogDefinitionIsRefusedNotWrittenFrom) {
    struct Patch {
        uint32_t offset;  // in the Jet 4 definition page
        uint16_t value;
        const char* what;
    } patches[] = {{45, 0, "column count 0"},
                   {41, 1, "row column count 1"},
                   {43, 0, "variable column count 0"}};
    for (const Patch& patch : patches) {
        SCOPED_TRACE(patch.what);
        TempFolder folder;
        const std::string path = folder.copyIn("jackcess/V2000/queryTestV2000.mdb");
        uint32_t tdef = 0;
        {
            auto db = Database::open(path);
            ASSERT_TRUE(db);
            tdef = (*db)->findTable("MSysQueries")->tdefPage;
        }
        {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(std::streamoff(tdef) * 4096 + patch.offset);
            const char bytes[2] = {static_cast<char>(patch.value & 0xFF),
                                   static_cast<char>(patch.value >> 8)};
            file.write(bytes, 2);
        }
        const std::string before = fileBytes(path);
        Status saved = createQueryDef(path, "Fresh", "SELECT * FROM Table1;");
        EXPECT_FALSE(saved);
        Status deleted = deleteQueryDef(path, "SelectQuery");
        EXPECT_FALSE(deleted);
        EXPECT_TRUE(fileBytes(path) == before);
    }
}

}  // namespace
}  // namespace jet::write
