// Damaged databases: truncated files, flipped bytes in every page type,
// page numbers past the end, cycles in definition, overflow and long-value
// chains, absurd counts. Reading one must end in data or a clean error that
// says where (table, page), never in a crash, a hang or a huge allocation.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <random>
#include <set>
#include <string>

#include "damaged_file.h"
#include "read_everything.h"

namespace jet {
namespace {

// An absurd allocation must fail loudly (std::bad_alloc ends the test
// process) rather than push the machine into swap.
class AddressSpaceLimit : public ::testing::Environment {
  public:
    void SetUp() override {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = rlim_t(4) << 30;
        setrlimit(RLIMIT_AS, &limit);
    }
};
const auto* const kLimit = ::testing::AddGlobalTestEnvironment(new AddressSpaceLimit);

std::string testFile(const char* relative) {
    return std::string(TABLESCOPE_TESTDATA) + "/" + relative;
}

const char* const kFiles[] = {
    "jackcess/V1997/queryTestV1997.mdb",     // Jet 3, saved queries
    "jackcess/V1997/overflowTestV1997.mdb",  // Jet 3, moved rows
    "jackcess/V2000/overflowTestV2000.mdb",  // Jet 4, moved rows
    "jackcess/V2000/queryTestV2000.mdb",     // Jet 4, saved queries
    "mdb-reader/V2016/longtext.accdb",       // ACE, long values over pages
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Every failure carries a code and a message a user can read.
void expectCleanErrors(const ReadOutcome& outcome, const std::string& what) {
    if (!outcome.open.isOk()) {
        EXPECT_FALSE(outcome.open.message().empty()) << what;
    }
    for (const Status& failure : outcome.failures) {
        EXPECT_NE(failure.code(), ErrorCode::Ok) << what;
        EXPECT_FALSE(failure.message().empty()) << what;
    }
}

// The damage was found and reported with the table's name and the page.
void expectNamed(const ReadOutcome& outcome, const std::string& table, const std::string& what) {
    ASSERT_FALSE(outcome.clean()) << what << ": damage went unnoticed";
    std::string all = lower(outcome.describe());
    EXPECT_NE(all.find("page"), std::string::npos) << what << ":\n" << outcome.describe();
    if (outcome.open.isOk()) {
        EXPECT_NE(all.find(lower(table)), std::string::npos) << what << ":\n" << outcome.describe();
    }
}

class DamagedDatabase : public ::testing::TestWithParam<const char*> {
  protected:
    DamagedFile file{testFile(GetParam())};
};

TEST_P(DamagedDatabase, UndamagedFileReadsCleanly) {
    ReadOutcome outcome = readEverything(file.write());
    EXPECT_TRUE(outcome.clean()) << outcome.describe();
    EXPECT_GT(outcome.rows, 0u);
}

TEST_P(DamagedDatabase, TruncatedFilesFailCleanly) {
    const size_t size = file.original().size(), page = file.pageSize();
    for (size_t cut : {size_t(0), size_t(1), size_t(0x14), size_t(100), page - 1, page, page + 1,
                       2 * page, 3 * page + 17, size / 2, size - page, size - 1}) {
        file.reset();
        file.bytes.resize(std::min(cut, size));
        ReadOutcome outcome = readEverything(file.write());
        expectCleanErrors(outcome, "cut at " + std::to_string(cut));
        if (cut < 3 * page) {
            EXPECT_FALSE(outcome.open.isOk()) << "cut at " << cut << " opened";
        }
    }
}

TEST_P(DamagedDatabase, FlippedBytesInEveryPageFailCleanly) {
    std::mt19937 random(20261209);
    std::map<std::string, int> flippedByKind;
    for (uint32_t page = 1; page < file.pageCount(); ++page) {
        for (int round = 0; round < 6; ++round) {
            file.reset();
            size_t base = size_t(page) * file.pageSize();
            for (int k = 0; k < 3; ++k) {
                // Half the flips hit the page header and row offsets, where
                // counts and pointers live.
                size_t at = (round % 2 == 0) ? random() % 48 : random() % file.pageSize();
                file.bytes[base + at] ^= static_cast<uint8_t>(1 + random() % 255);
            }
            ReadOutcome outcome = readEverything(file.write());
            expectCleanErrors(outcome, "page " + std::to_string(page));
        }
        std::string kind = file.isLongValuePage(page)
                               ? "long value"
                               : "type " + std::to_string(file.pageType(page));
        ++flippedByKind[kind];
    }
    for (const char* kind : {"type 1", "type 2", "type 4", "long value"}) {
        if (std::string(GetParam()).find("overflowTestV1997") == std::string::npos ||
            std::string(kind) != "long value") {
            EXPECT_GT(flippedByKind[kind], 0) << "no page of kind " << kind;
        }
    }
}

// Tables of the undamaged file with the pages that hold them.
struct TablePages {
    std::string name;
    uint32_t tdefPage = 0;
};

std::vector<TablePages> localTables(const DamagedFile& file) {
    std::vector<TablePages> out;
    Result<std::unique_ptr<Database>> db = Database::open(file.write());
    EXPECT_TRUE(db.isOk()) << db.status().message();
    if (db) {
        for (const TableDef& table : (*db)->tables()) {
            if (!table.isLinked())
                out.push_back({table.name, table.tdefPage});
        }
    }
    return out;
}

// Where the fields of a page live in this file's format.
struct Layout {
    size_t rowCount, rowTable, columnCount, ownedMap;
};

Layout layoutOf(const DamagedFile& file) {
    return file.isJet3() ? Layout{8, 10, 0x19, 0x23} : Layout{12, 14, 0x2D, 0x37};
}

uint32_t rowPointer(uint32_t page, uint8_t row) {
    return page << 8 | row;
}

// First slot of a data page that holds a live row in place, or -1.
int firstPlainSlot(const DamagedFile& file, uint32_t page) {
    Layout layout = layoutOf(file);
    size_t base = size_t(page) * file.pageSize();
    uint16_t rows =
        uint16_t(file.bytes[base + layout.rowCount] | file.bytes[base + layout.rowCount + 1] << 8);
    for (int slot = 0; slot < std::min<int>(rows, 255); ++slot) {
        size_t at = base + layout.rowTable + 2 * slot;
        uint16_t entry = uint16_t(file.bytes[at] | file.bytes[at + 1] << 8);
        if ((entry & 0xC000) == 0 && (entry & 0x1FFF) + 4u <= file.pageSize())
            return slot;
    }
    return -1;
}

size_t slotOffset(const DamagedFile& file, uint32_t page, int slot) {
    size_t at = size_t(page) * file.pageSize() + layoutOf(file).rowTable + 2 * slot;
    return size_t(page) * file.pageSize() + ((file.bytes[at] | file.bytes[at + 1] << 8) & 0x1FFF);
}

// Data pages (not long-value pages) owned by the table defined on `tdefPage`.
std::vector<uint32_t> dataPagesOf(const DamagedFile& file, uint32_t tdefPage) {
    std::vector<uint32_t> pages;
    for (uint32_t page = 1; page < file.pageCount(); ++page) {
        size_t base = size_t(page) * file.pageSize();
        uint32_t owner = file.original()[base + 4] | file.original()[base + 5] << 8 |
                         file.original()[base + 6] << 16 |
                         uint32_t(file.original()[base + 7]) << 24;
        if (file.pageType(page) == 0x01 && owner == tdefPage)
            pages.push_back(page);
    }
    return pages;
}

TEST_P(DamagedDatabase, DefinitionChainPastTheEndOrInACycle) {
    for (const TablePages& table : localTables(file)) {
        size_t next = size_t(table.tdefPage) * file.pageSize() + 4;
        for (uint32_t target : {file.pageCount() + 1000, 0x00FFFFFFu, table.tdefPage}) {
            file.reset();
            file.put32(next, target);
            expectNamed(readEverything(file.write()), table.name,
                        table.name + " definition continues on page " + std::to_string(target));
        }
    }
}

// A reader may fall back to scanning every page for the table's own pages
// when its map is unreadable; then every row must still be there.
TEST_P(DamagedDatabase, UsageMapPointerPastTheEnd) {
    const size_t rows = readEverything(file.write()).rows;
    for (const TablePages& table : localTables(file)) {
        file.reset();
        file.put32(size_t(table.tdefPage) * file.pageSize() + layoutOf(file).ownedMap,
                   rowPointer(0xFFFFF0, 0));
        ReadOutcome outcome = readEverything(file.write());
        if (outcome.clean()) {
            EXPECT_EQ(outcome.rows, rows) << table.name << ": rows lost with a damaged usage map";
        } else {
            expectNamed(outcome, table.name, table.name + " usage map");
        }
    }
}

TEST_P(DamagedDatabase, AbsurdColumnAndRowCounts) {
    for (const TablePages& table : localTables(file)) {
        file.reset();
        file.put16(size_t(table.tdefPage) * file.pageSize() + layoutOf(file).columnCount, 0xFFFF);
        expectNamed(readEverything(file.write()), table.name, table.name + " with 65535 columns");
        for (uint32_t page : dataPagesOf(file, table.tdefPage)) {
            file.reset();
            file.put16(size_t(page) * file.pageSize() + layoutOf(file).rowCount, 0xFFFF);
            ReadOutcome outcome = readEverything(file.write());
            expectNamed(outcome, table.name,
                        table.name + " page " + std::to_string(page) + " with 65535 rows");
        }
    }
}

TEST_P(DamagedDatabase, OverflowPointersPastTheEndOrToThemselves) {
    int tried = 0;
    for (const TablePages& table : localTables(file)) {
        for (uint32_t page : dataPagesOf(file, table.tdefPage)) {
            file.reset();
            int slot = firstPlainSlot(file, page);
            if (slot < 0)
                continue;
            size_t entry = size_t(page) * file.pageSize() + layoutOf(file).rowTable + 2 * slot;
            size_t row = slotOffset(file, page, slot);
            file.put16(entry, uint16_t((file.bytes[entry] | file.bytes[entry + 1] << 8) | 0x4000));
            for (uint32_t target : {rowPointer(0xFFFFF0, 0), rowPointer(file.pageCount() + 7, 0),
                                    rowPointer(page, uint8_t(slot))}) {
                file.put32(row, target);
                std::string what = table.name + " page " + std::to_string(page) + " slot " +
                                   std::to_string(slot) + " moved to " + std::to_string(target);
                ReadOutcome outcome = readEverything(file.write());
                expectCleanErrors(outcome, what);
                if (target >> 8 != page)
                    expectNamed(outcome, table.name, what);
                ++tried;
            }
        }
    }
    EXPECT_GT(tried, 0);
}

// Rows of long-value pages that start with a pointer to another long-value
// row are chain pieces; they are pointed past the end or at themselves. A
// piece no value uses any more (left behind by an edit) may change unnoticed,
// but then every value read must be as before.
TEST_P(DamagedDatabase, LongValueChainsPastTheEndOrInACycle) {
    int tried = 0, noticed = 0;
    const Layout layout = layoutOf(file);
    const uint64_t undamaged = readEverything(file.write()).digest;
    for (uint32_t page = 1; page < file.pageCount(); ++page) {
        if (!file.isLongValuePage(page))
            continue;
        size_t base = size_t(page) * file.pageSize();
        int rows = file.original()[base + layout.rowCount] |
                   file.original()[base + layout.rowCount + 1] << 8;
        for (int slot = 0; slot < std::min(rows, 255); ++slot) {
            file.reset();
            size_t row = slotOffset(file, page, slot);
            uint32_t next = file.bytes[row] | file.bytes[row + 1] << 8 | file.bytes[row + 2] << 16 |
                            uint32_t(file.bytes[row + 3]) << 24;
            if (next == 0 || next >> 8 >= file.pageCount() || !file.isLongValuePage(next >> 8))
                continue;
            for (uint32_t target : {rowPointer(page, uint8_t(slot)), rowPointer(0xFFFFF0, 1)}) {
                file.put32(row, target);
                std::string what = "long value chain on page " + std::to_string(page) + " slot " +
                                   std::to_string(slot) + " to " + std::to_string(target);
                ReadOutcome outcome = readEverything(file.write());
                expectCleanErrors(outcome, what);
                ++tried;
                if (outcome.clean()) {
                    EXPECT_EQ(outcome.digest, undamaged) << what << ": wrong values, no error";
                } else {
                    ++noticed;
                    EXPECT_NE(lower(outcome.describe()).find("page"), std::string::npos)
                        << what << "\n"
                        << outcome.describe();
                }
            }
        }
    }
    RecordProperty("chains_noticed", std::to_string(noticed) + " of " + std::to_string(tried));
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedDatabase, ::testing::ValuesIn(kFiles));

}  // namespace
}  // namespace jet
