// Password-protected ACE files: decrypted with the right password and read
// equal to an independent reader; refused with "Not a valid password."
// otherwise.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "jet/database.h"
#include "oracle_rows.h"

namespace jet {
namespace {

struct EncryptedFile {
    const char* path;  // below TABLESCOPE_TESTDATA, or below this test's data folder
    bool local;
    // The oracle derives an agile key in seconds per run (one run per table),
    // so for the agile file only the user table and the catalog are compared;
    // the RC4 file, which holds the same tables, is compared in full.
    bool everyTable;
};

std::string fullPath(const EncryptedFile& f) {
    std::string base = f.local ? TABLESCOPE_ROBUST_DATA : TABLESCOPE_TESTDATA;
    std::string path = base + "/" + f.path;
    if (!std::filesystem::exists(path)) {
        ADD_FAILURE() << "test file missing: " << path;
    }
    return path;
}

class EncryptedAce : public ::testing::TestWithParam<EncryptedFile> {};

TEST_P(EncryptedAce, RightPasswordReadsEveryTableLikeTheOracle) {
    std::string path = fullPath(GetParam());
    Result<std::unique_ptr<Database>> db = Database::open(path, "password");
    ASSERT_TRUE(db.isOk()) << db.status().message();
    EXPECT_TRUE((*db)->isEncrypted());
    ASSERT_NE((*db)->findTable("Table1"), nullptr);
    size_t compared = 0;
    for (const TableDef& table : (*db)->tables()) {
        if (table.isLinked() ||
            (!GetParam().everyTable && table.name != "Table1" && table.name != "MSysObjects")) {
            continue;
        }
        Result<std::vector<std::string>> theirs = oracleRows(path, table, "password");
        ASSERT_TRUE(theirs.isOk()) << table.name << ": " << theirs.status().message();
        Result<std::vector<std::string>> ours = rowsAsJson(**db, table);
        ASSERT_TRUE(ours.isOk()) << table.name << ": " << ours.status().message();
        EXPECT_EQ(*ours, *theirs) << "table " << table.name;
        ++compared;
    }
    EXPECT_GE(compared, GetParam().everyTable ? 20u : 2u);
}

TEST_P(EncryptedAce, WrongOrMissingPasswordIsRefused) {
    std::string path = fullPath(GetParam());
    for (const char* password : {"", "Password", "wrong-password", "password "}) {
        Result<std::unique_ptr<Database>> db = Database::open(path, password);
        ASSERT_FALSE(db.isOk()) << "opened with '" << password << "'";
        EXPECT_EQ(db.status().code(), ErrorCode::BadPassword);
        EXPECT_EQ(db.status().message(), "Not a valid password.");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, EncryptedAce,
    ::testing::Values(EncryptedFile{"mdb-reader/password/V2010_with-password.accdb", false, false},
                      EncryptedFile{"office-rc4-cryptoapi.accdb", true, true}),
    [](const ::testing::TestParamInfo<EncryptedFile>& info) {
        return info.param.local ? std::string("Rc4CryptoApi") : std::string("Agile");
    });

}  // namespace
}  // namespace jet
