// One test for each way damage once went unnoticed or unsalvaged: pages past
// the end of a truncated file, listed pages zeroed or of another type, rows
// and long values that fail their checks, an unreadable table definition, a
// FIFO in the database's place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "damaged_file.h"
#include "jet/sql_session.h"
#include "table_rows.h"

namespace jet {
namespace {

const std::string kShop = std::string(TABLESCOPE_SOURCE_DIR) + "/samples/shop.mdb";
constexpr size_t kOrders = 830;

std::map<std::string, TableRows> intactTables(const std::string& path) {
    auto db = Database::open(path);
    EXPECT_TRUE(db) << db.status().message();
    return db ? readTables(**db) : std::map<std::string, TableRows>{};
}

std::vector<uint32_t> pagesOf(const TableRows& rows) {
    std::set<uint32_t> pages;
    for (const auto& [id, values] : rows.rows)
        pages.insert(static_cast<uint32_t>(id >> 8));
    return {pages.begin(), pages.end()};
}

std::vector<uint32_t> skippedPages(const TableDamage& damage) {
    std::vector<uint32_t> pages;
    for (const auto& [place, why] : damage.pages)
        pages.push_back(place.page);
    return pages;
}

// Strict: the table's read fails naming it and `page`. Salvage: the rows of
// every other page, and the report names the page.
void expectPageReported(const std::string& path, const TableRows& intact, uint32_t page) {
    auto db = Database::open(path);
    ASSERT_TRUE(db) << db.status().message();
    auto strict = readTables(**db);
    ASSERT_FALSE(strict["Orders"].status) << "page " << page << " lost without a word";
    EXPECT_NE(strict["Orders"].status.message().find("Orders"), std::string::npos);
    EXPECT_NE(strict["Orders"].status.message().find(std::to_string(page)), std::string::npos)
        << strict["Orders"].status.message();

    auto salvage = Database::open(path, {}, ReadMode::Salvage);
    ASSERT_TRUE(salvage);
    auto rows = readTables(**salvage);
    ASSERT_TRUE(rows["Orders"].status) << rows["Orders"].status.message();
    const TableDamage& damage = (*salvage)->damage().tables().at("Orders");
    EXPECT_EQ(skippedPages(damage), std::vector<uint32_t>{page});
    EXPECT_EQ(rows["Orders"].rows.size() + rowsOnPages(intact, {page}), kOrders);
}

TEST(DamageFaults, Fault1_PagesPastTheEndOfATruncatedFileAreAnError) {
    DamagedFile file(kShop);
    const TableRows intact = intactTables(file.write())["Orders"];
    ASSERT_EQ(intact.rows.size(), kOrders);
    file.bytes.resize(file.bytes.size() * 3 / 4);
    const std::string path = file.write();

    auto db = Database::open(path);
    ASSERT_TRUE(db) << db.status().message();
    auto cursor = (*db)->openTable("Orders");
    ASSERT_FALSE(cursor) << "364 of 830 rows read without a word";
    EXPECT_NE(cursor.status().message().find("Table 'Orders'"), std::string::npos);
    EXPECT_NE(cursor.status().message().find("past the end of the file"), std::string::npos);
    auto session = SqlSession::open(**db);
    ASSERT_TRUE(session);
    auto count = (*session)->openRecordset("SELECT Count(*) FROM Orders");
    EXPECT_FALSE(count && (*count)->next()) << "a count over lost pages";

    auto salvage = Database::open(path, {}, ReadMode::Salvage);
    ASSERT_TRUE(salvage);
    const TableRows rows = readTables(**salvage)["Orders"];
    const std::vector<uint32_t> lost = skippedPages((*salvage)->damage().tables().at("Orders"));
    EXPECT_FALSE(lost.empty());
    EXPECT_EQ(rows.rows.size() + rowsOnPages(intact, lost), kOrders);
    EXPECT_EQ(rows.rows.size(), 364u);
}

TEST(DamageFaults, Fault7_ListedDataPageZeroedOrOfAnotherTypeIsAnError) {
    DamagedFile file(kShop);
    const TableRows intact = intactTables(file.write())["Orders"];
    const std::vector<uint32_t> pages = pagesOf(intact);
    ASSERT_GT(pages.size(), 2u);
    const uint32_t page = pages[pages.size() / 2];
    const size_t at = size_t(page) * file.pageSize();

    std::fill_n(file.bytes.begin() + static_cast<std::ptrdiff_t>(at), file.pageSize(), 0);
    expectPageReported(file.write(), intact, page);
    file.reset();
    file.bytes[at] = 0x02;  // a definition page where rows should be
    expectPageReported(file.write(), intact, page);
    file.reset();
    file.put32(at + 4, 2);  // rows of the catalog's table
    expectPageReported(file.write(), intact, page);
}

// Reads `sql` to its end; the status it ends with.
Status statementOutcome(const Database& db, const std::string& sql, size_t& rows) {
    rows = 0;
    auto session = SqlSession::open(db);
    if (!session)
        return session.status();
    auto rs = (*session)->openRecordset(sql);
    if (!rs)
        return rs.status();
    while ((*rs)->next())
        ++rows;
    return (*rs)->status();
}

// Typed SQL over a damaged table fails as the table's own read does
// (Corrupt, naming the table and the page), not as a faulty statement, so
// callers can offer to read past the damage; salvaging, it reads the rest.
TEST(DamageFaults, TypedSqlOverADamagedTableFailsAsCorruptNotAsInvalidSql) {
    DamagedFile file(kShop);
    const TableRows intact = intactTables(file.write())["Orders"];
    const std::vector<uint32_t> pages = pagesOf(intact);
    const uint32_t middle = pages[pages.size() / 2];
    const char* const statements[] = {
        "SELECT * FROM Orders",
        "SELECT Count(*) AS N FROM Orders",
        "SELECT TOP 5 OrderID FROM Orders ORDER BY Freight DESC",
        "SELECT o.OrderID, c.CompanyName FROM Customers AS c INNER JOIN Orders AS o "
        "ON c.CustomerID = o.CustomerID",
        "SELECT CustomerID FROM Customers WHERE CustomerID IN (SELECT CustomerID FROM Orders)",
    };
    for (const bool zeroed : {false, true}) {
        file.reset();
        if (zeroed)
            std::fill_n(file.bytes.begin() + std::ptrdiff_t(size_t(middle) * file.pageSize()),
                        file.pageSize(), 0);
        else
            file.bytes.resize(size_t(middle) * file.pageSize());
        const std::string path = file.write();
        auto db = Database::open(path);
        ASSERT_TRUE(db) << db.status().message();
        auto salvage = Database::open(path, {}, ReadMode::Salvage);
        ASSERT_TRUE(salvage);
        for (const char* sql : statements) {
            SCOPED_TRACE(std::string(zeroed ? "zeroed: " : "cut off: ") + sql);
            size_t rows = 0;
            const Status strict = statementOutcome(**db, sql, rows);
            EXPECT_EQ(strict.code(), ErrorCode::Corrupt) << strict.message();
            EXPECT_NE(strict.message().find("Table 'Orders'"), std::string::npos)
                << strict.message();
            EXPECT_NE(strict.message().find(std::to_string(middle)), std::string::npos)
                << strict.message();
            EXPECT_TRUE(statementOutcome(**salvage, sql, rows)) << "salvaging";
            EXPECT_GT(rows, 0u);
        }
        auto session = SqlSession::open(**salvage);
        ASSERT_TRUE(session);
        auto count = (*session)->openRecordset("SELECT Count(*) FROM Orders");
        ASSERT_TRUE(count && (*count)->next());
        const std::vector<uint32_t> lost = skippedPages((*salvage)->damage().tables().at("Orders"));
        EXPECT_EQ(static_cast<size_t>((*count)->value(0).i()) + rowsOnPages(intact, lost), kOrders);
    }
}

TEST(DamageFaults, SalvageSkipsAndCountsRowsThatFailTheirChecks) {
    DamagedFile file(kShop);
    const TableRows intact = intactTables(file.write())["Orders"];
    const uint32_t page = pagesOf(intact).front();
    // Row 1 claims 65,535 columns: more than its bytes can describe.
    const size_t base = size_t(page) * file.pageSize();
    const size_t row = base + ((file.bytes[base + 16] | file.bytes[base + 17] << 8) & 0x1FFF);
    file.put16(row, 0xFFFF);
    const std::string path = file.write();

    auto strict = Database::open(path);
    ASSERT_TRUE(strict);
    EXPECT_FALSE(readTables(**strict)["Orders"].status) << "a row lost without a word";
    auto salvage = Database::open(path, {}, ReadMode::Salvage);
    ASSERT_TRUE(salvage);
    const TableRows rows = readTables(**salvage)["Orders"];
    const TableDamage& damage = (*salvage)->damage().tables().at("Orders");
    ASSERT_EQ(damage.rows.size(), 1u);
    EXPECT_EQ(damage.rows.begin()->first.page, page);
    EXPECT_EQ(damage.rows.begin()->first.slot, 1u);
    EXPECT_TRUE(damage.pages.empty());
    EXPECT_EQ(rows.rows.size() + 1, kOrders);
    EXPECT_FALSE(rows.rows.contains(uint64_t(page) << 8 | 1));
}

TEST(DamageFaults, SalvageReadsUnreadableLongValuesAsNullAndReportsThem) {
    DamagedFile file(std::string(TABLESCOPE_TESTDATA) + "/mdb-reader/V2016/longtext.accdb");
    const auto intact = intactTables(file.write());
    int tried = 0;
    for (uint32_t page = 1; page < file.pageCount(); ++page) {
        if (!file.isLongValuePage(page))
            continue;
        file.reset();
        std::fill_n(file.bytes.begin() + static_cast<std::ptrdiff_t>(page) * file.pageSize(),
                    file.pageSize(), 0);
        // Pages no live value uses any more (left by edits) change nothing.
        auto strict = Database::open(file.write());
        ASSERT_TRUE(strict);
        bool used = false;
        for (const auto& [name, rows] : readTables(**strict))
            used = used || !rows.status;
        if (!used)
            continue;
        auto salvage = Database::open(file.write(), {}, ReadMode::Salvage);
        ASSERT_TRUE(salvage);
        const auto rows = readTables(**salvage);
        size_t longValues = 0;
        for (const auto& [name, damage] : (*salvage)->damage().tables()) {
            longValues += damage.longValues.size();
            EXPECT_TRUE(damage.rows.empty() && damage.pages.empty()) << name;
            EXPECT_EQ(rows.at(name).rows.size(), intact.at(name).rows.size()) << name;
        }
        EXPECT_GT(longValues, 0u) << "long value page " << page << " lost without a word";
        ++tried;
    }
    EXPECT_GT(tried, 0);
}

TEST(DamageFaults, UnreadableDefinitionIsListedAndTheRestOpens) {
    DamagedFile file(kShop);
    const auto intact = intactTables(file.write());
    auto db = Database::open(file.write());
    ASSERT_TRUE(db);
    const uint32_t tdef = (*db)->findTable("Orders")->tdefPage;
    file.bytes[size_t(tdef) * file.pageSize()] = 0x00;

    auto damaged = Database::open(file.write());
    ASSERT_TRUE(damaged) << "one bad definition fails the whole open: "
                         << damaged.status().message();
    const TableDef* orders = (*damaged)->findTable("Orders");
    ASSERT_NE(orders, nullptr) << "the damaged table is not listed";
    EXPECT_NE(orders->definitionError.find("Orders"), std::string::npos);
    auto cursor = (*damaged)->openTable(*orders);
    ASSERT_FALSE(cursor);
    EXPECT_EQ(cursor.status().message(), orders->definitionError);
    const auto rows = readTables(**damaged);
    EXPECT_EQ(rows.at("Customers").rows, intact.at("Customers").rows);
    EXPECT_FALSE((*damaged)->queries().empty());
}

TEST(DamageFaults, Fault5_FifoInTheDatabasesPlaceIsRefusedNotWaitedOn) {
    const std::string fifo = (std::filesystem::temp_directory_path() /
                              ("tablescope-fifo-" + std::to_string(getpid()) + ".mdb"))
                                 .string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    alarm(30);  // a hang ends the test with SIGALRM instead of holding CI
    auto db = Database::open(fifo);
    alarm(0);
    std::filesystem::remove(fifo);
    ASSERT_FALSE(db);
    EXPECT_NE(db.status().message().find("not a regular file"), std::string::npos)
        << db.status().message();
}

}  // namespace
}  // namespace jet
