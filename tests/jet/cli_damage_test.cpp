// tablescope-cli on damaged files and odd input: check, --salvage, tables with
// an unreadable definition, #Error values, long date formats, --param
// mistakes, saved queries named like keywords.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "jet/database.h"
#include "test_files.h"

namespace {

const std::string kCli = std::string(TABLESCOPE_CLI) + " ";
const std::string kShop = std::string(TABLESCOPE_TEST_SOURCE_DIR) + "/../../samples/shop.mdb";

std::string run(const std::string& args, int& rc) {
    return jettest::runCommand(kCli + args, rc);
}

size_t lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A copy of the sample database, cut to `fraction` of its length or with
// `edit` applied, in a fresh folder.
std::string damagedShop(double fraction, void (*edit)(std::vector<char>&) = nullptr) {
    std::ifstream in(kShop, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    bytes.resize(static_cast<size_t>(static_cast<double>(bytes.size()) * fraction) / 4096 * 4096);
    if (edit)
        edit(bytes);
    const std::string path = jettest::makeTempDir() + "/damaged.mdb";
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return jettest::shellQuote(path);
}

TEST(CliDamage, CheckTellsASoundFileFromADamagedOne) {
    int rc = 0;
    const std::string sound = run("check " + jettest::shellQuote(kShop), rc);
    EXPECT_EQ(rc, 0) << sound;
    EXPECT_NE(sound.find("No damage found."), std::string::npos) << sound;
    const std::string damaged = run("check " + damagedShop(0.75), rc);
    EXPECT_EQ(rc, 3) << damaged;
    EXPECT_NE(damaged.find("Table 'Orders': page 120 skipped: it lies past the end of the file."),
              std::string::npos)
        << damaged;
    EXPECT_NE(damaged.find("Damage found:"), std::string::npos) << damaged;
}

TEST(CliDamage, SalvageExportsTheReadableRowsAndReportsTheRest) {
    const std::string file = damagedShop(0.75);
    int rc = 0;
    const std::string strict = run("export " + file + " Orders 2>&1", rc);
    EXPECT_EQ(rc, 3);
    EXPECT_NE(strict.find("Table 'Orders': its data pages 120,"), std::string::npos) << strict;
    const std::string rows = run("export " + file + " Orders --salvage 2>/dev/null", rc);
    EXPECT_EQ(rc, 3);
    EXPECT_EQ(lines(rows), 365u);  // the title and the 364 rows on pages still in the file
    const std::string report = run("export " + file + " Orders --salvage 2>&1 >/dev/null", rc);
    EXPECT_NE(report.find("Table 'Orders': skipped 12 pages, 0 row slots, 0 long values."),
              std::string::npos)
        << report;
    const std::string counted =
        run("run " + file + " 'SELECT Count(*) AS N FROM Orders' --salvage 2>/dev/null", rc);
    EXPECT_EQ(counted, "N\r\n364\r\n");
    EXPECT_EQ(rc, 3);
}

// A statement over a damaged table fails as the table's export does: a read
// error naming the table and its pages, and how to read past them.
TEST(CliDamage, TypedSqlOverADamagedTableIsAReadErrorThatOffersSalvage) {
    const std::string file = damagedShop(0.75);
    const std::string hint = "tablescope-cli: --salvage writes the rows that can be read\n";
    int rc = 0;
    for (const std::string sql : {"SELECT * FROM Orders", "SELECT Count(*) AS N FROM Orders",
                                  "SELECT TOP 3 OrderID FROM Orders ORDER BY Freight DESC"}) {
        SCOPED_TRACE(sql);
        const std::string err = run("run " + file + " '" + sql + "' 2>&1 >/dev/null", rc);
        EXPECT_EQ(rc, 3) << err;
        EXPECT_TRUE(err.starts_with("tablescope-cli: Table 'Orders': its data pages 120,")) << err;
        EXPECT_TRUE(err.ends_with(hint)) << err;
        EXPECT_EQ(lines(err), 2u) << err;
    }
    const std::string exported = run("export " + file + " Orders 2>&1 >/dev/null", rc);
    EXPECT_EQ(rc, 3);
    EXPECT_TRUE(exported.ends_with(hint)) << exported;
    // Salvaging already, or with nothing to salvage, there is no such advice.
    const std::string salvaged =
        run("run " + file + " 'SELECT * FROM Orders' --salvage 2>&1 >/dev/null", rc);
    EXPECT_EQ(salvaged.find("--salvage"), std::string::npos) << salvaged;
    const std::string wrong =
        run("run " + file + " 'SELECT Nonsense( FROM Orders' 2>&1 >/dev/null", rc);
    EXPECT_EQ(rc, 4) << wrong;
    EXPECT_EQ(wrong.find("--salvage"), std::string::npos) << wrong;
}

TEST(CliDamage, TablesListsAnUnreadableDefinitionWithItsReason) {
    auto db = jet::Database::open(kShop);
    ASSERT_TRUE(db);
    static uint32_t tdef = 0;
    tdef = (*db)->findTable("Orders")->tdefPage;
    const std::string file = damagedShop(1.0, [](std::vector<char>& bytes) {
        bytes[size_t(tdef) * 4096] = 0;  // no longer a definition page
    });
    int rc = 0;
    const std::string out = run("tables " + file + " 2>/dev/null", rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_NE(out.find("Customers\nEmployees\nOrder Details\nOrders\n"), std::string::npos) << out;
    const std::string err = run("tables " + file + " 2>&1 >/dev/null", rc);
    EXPECT_TRUE(err.starts_with("tablescope-cli: Table 'Orders'")) << err;
    EXPECT_EQ(lines(err), 1u) << err;
    const std::string exported = run("export " + file + " Orders 2>&1 >/dev/null", rc);
    EXPECT_EQ(rc, 3);
    EXPECT_EQ(exported.find("--salvage"), std::string::npos) << "nothing of it can be salvaged";
    const std::string selected = run("run " + file + " 'SELECT * FROM Orders' 2>&1 >/dev/null", rc);
    EXPECT_EQ(rc, 3);
    EXPECT_TRUE(selected.starts_with("tablescope-cli: Table 'Orders'")) << selected;
    EXPECT_EQ(selected.find("--salvage"), std::string::npos) << selected;
}

TEST(CliDamage, Fault11_ErrorValuesAreMarkedAndCounted) {
    int rc = 0;
    const std::string file = jettest::shellQuote(kShop);
    const std::string sql = " 'SELECT CategoryID, CInt(\"x\" & CategoryID) AS X FROM Categories'";
    const std::string csv = run("run " + file + sql + " 2>/dev/null", rc);
    EXPECT_EQ(rc, 0);
    EXPECT_NE(csv.find("1,#Error\r\n"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("234572726f72"), std::string::npos) << csv;
    const std::string jsonl = run("run " + file + sql + " --format jsonl 2>/dev/null", rc);
    EXPECT_NE(jsonl.find("{\"CategoryID\":1,\"X\":{\"error\":\"#Error\"}}"), std::string::npos)
        << jsonl;
    const std::string err = run("run " + file + sql + " 2>&1 >/dev/null", rc);
    EXPECT_NE(err.find("8 values could not be computed on its row (#Error)"), std::string::npos)
        << err;
}

TEST(CliDamage, Fault13_LongDateFormatsAreWrittenInFullOrRefused) {
    int rc = 0;
    const std::string file = jettest::shellQuote(kShop);
    std::string format;
    for (int i = 0; i < 20; ++i)
        format += "%Y-%m-%d ";  // 180 characters, 220 written per date
    const std::string csv = run("export " + file + " Orders --date-format '" + format + "'", rc);
    EXPECT_EQ(rc, 0);
    EXPECT_NE(csv.find("1,REDCG,2,2023-07-04 2023-07-04 2023-07-04"), std::string::npos)
        << csv.substr(0, 400);
    const std::string refused =
        run("export " + file + " Orders --date-format '" + format + format + "' 2>&1", rc);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(refused.find("--date-format is too long"), std::string::npos) << refused;
}

TEST(CliDamage, Fault16_ParamWithoutEqualsNamesTheMistake) {
    int rc = 0;
    const std::string file = jettest::shellQuote(kShop);
    for (const std::string& command :
         {"run " + file + " 'SELECT [X] AS Y FROM Categories'", "export " + file + " Orders"}) {
        const std::string err = run(command + " --param X 2>&1", rc);
        EXPECT_EQ(rc, 1) << command;
        EXPECT_NE(err.find("--param needs NAME=VALUE, not 'X' (the '=' is missing)"),
                  std::string::npos)
            << command << ": " << err;
    }
}

TEST(CliDamage, Fault4_QueriesNamedLikeKeywordsOpen) {
    const std::string dir = jettest::makeTempDir();
    const std::string copy = dir + "/keywords.mdb";
    std::filesystem::copy_file(kShop, copy);
    const std::string file = jettest::shellQuote(copy);
    int rc = 0;
    const std::string saved =
        run("save-query " + file + " Table 'SELECT CategoryName FROM Categories' 2>&1", rc);
    ASSERT_EQ(rc, 0) << saved;
    run("save-query " + file + " Uses 'SELECT * FROM [Table]' 2>&1", rc);
    const std::string direct = run("export " + file + " Table 2>&1", rc);
    EXPECT_EQ(rc, 0) << direct;
    EXPECT_EQ(lines(direct), 9u) << direct;
    const std::string through = run("export " + file + " Uses 2>&1", rc);
    EXPECT_EQ(rc, 0) << through;
    EXPECT_EQ(lines(through), 9u) << through;
}

}  // namespace
