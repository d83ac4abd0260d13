// The damage campaign: copies of real Access files cut short at many sizes,
// with page-sized holes on every page and with the header of every page
// changed. For each copy a strict read gives every table's rows exactly as
// the intact file does or an error that names what is missing, and a
// salvaging read gives only rows of the intact file, with a report whose
// counts add up to the intact file's rows. Never fewer rows without a word.
#include <gtest/gtest.h>

#include <algorithm>

#include "damaged_file.h"
#include "table_rows.h"

namespace jet {
namespace {

std::string sourceFile(const std::string& name) {
    if (name.starts_with("samples/"))
        return std::string(TABLESCOPE_SOURCE_DIR) + "/" + name;
    return std::string(TABLESCOPE_TESTDATA) + "/" + name;
}

const char* const kFiles[] = {
    "samples/shop.mdb",                      // Jet 4, the bundled sample
    "jackcess/V1997/overflowTestV1997.mdb",  // Jet 3, moved rows
    "jackcess/V2000/queryTestV2000.mdb",     // Jet 4, saved queries
    "mdb-reader/V2016/longtext.accdb",       // ACE, long values over pages
};

struct Tally {
    int cases = 0, sameRows = 0, namedErrors = 0, salvaged = 0;
};

class DamageCampaign : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        auto db = Database::open(file.write());
        ASSERT_TRUE(db) << db.status().message();
        intact = readTables(**db);
        for (const auto& [name, rows] : intact)
            ASSERT_TRUE(rows.status) << name << ": " << rows.status.message();
    }

    void TearDown() override {
        RecordProperty("cases", tally.cases);
        RecordProperty("same_rows", tally.sameRows);
        RecordProperty("named_errors", tally.namedErrors);
        RecordProperty("salvaged_tables", tally.salvaged);
        std::printf("%s: %d cases, %d read as intact, %d named errors, %d tables salvaged\n",
                    GetParam(), tally.cases, tally.sameRows, tally.namedErrors, tally.salvaged);
    }

    void judge(const std::string& what) {
        ++tally.cases;
        const std::string path = file.write();
        judgeStrict(path, what);
        judgeSalvage(path, what);
    }

    // Every table as intact, or its error names it (or the open failed).
    void judgeStrict(const std::string& path, const std::string& what) {
        auto db = Database::open(path);
        if (!db) {
            EXPECT_FALSE(db.status().message().empty()) << what;
            ++tally.namedErrors;
            return;
        }
        const auto damaged = readTables(**db);
        bool same = true;
        for (const auto& [name, rows] : intact) {
            const auto it = damaged.find(name);
            if (it == damaged.end()) {
                ADD_FAILURE() << what << ": table " << name << " vanished without a word";
                continue;
            }
            if (!it->second.status) {
                same = false;
                const std::string& message = it->second.status.message();
                EXPECT_TRUE(message.find(name) != std::string::npos ||
                            message.find("page") != std::string::npos)
                    << what << ": " << message;
                continue;
            }
            EXPECT_EQ(it->second.rows, rows.rows)
                << what << ": table " << name << " read differently without a word";
            same = same && it->second.rows == rows.rows;
        }
        ++(same ? tally.sameRows : tally.namedErrors);
    }

    // Only rows of the intact file; read rows, rows on skipped pages and
    // skipped row slots add up to the intact rows.
    void judgeSalvage(const std::string& path, const std::string& what) {
        auto db = Database::open(path, {}, ReadMode::Salvage);
        if (!db)
            return;  // the header or the catalog's definition itself is gone
        const auto damaged = readTables(**db);
        const DamageReport& report = (*db)->damage();
        for (const auto& [name, rows] : intact) {
            const auto it = damaged.find(name);
            if (it == damaged.end()) {
                EXPECT_TRUE(report.tables().contains("MSysObjects"))
                    << what << ": table " << name << " vanished without a report";
                continue;
            }
            if (!it->second.status)
                continue;  // an unreadable definition: listed with its error
            const auto damage = report.tables().find(name);
            expectOnlyIntactRows(it->second, rows,
                                 damage == report.tables().end() ? nullptr : &damage->second,
                                 what + ", " + name);
        }
    }

    void expectOnlyIntactRows(const TableRows& salvaged, const TableRows& rows,
                              const TableDamage* damage, const std::string& what) {
        for (const auto& [id, values] : salvaged.rows) {
            const auto original = rows.rows.find(id);
            ASSERT_NE(original, rows.rows.end()) << what << ": row " << id << " made up";
            for (size_t c = 0; c < values.size(); ++c) {
                const bool reportedNull =
                    damage && damage->longValues.contains({static_cast<uint32_t>(id >> 8),
                                                           static_cast<uint32_t>(id & 0xFF),
                                                           salvaged.columns[c]});
                if (!reportedNull) {
                    EXPECT_EQ(values[c], original->second[c])
                        << what << ": row " << id << " column " << salvaged.columns[c];
                }
            }
        }
        if (!damage) {
            EXPECT_EQ(salvaged.rows.size(), rows.rows.size()) << what << ": rows lost, no report";
            return;
        }
        ++tally.salvaged;
        if (!damage->mapProblem.empty())
            return;  // its lost pages cannot be known; every row read is checked above
        std::vector<uint32_t> pages;
        for (const auto& [place, why] : damage->pages)
            pages.push_back(place.page);
        EXPECT_EQ(salvaged.rows.size() + rowsOnPages(rows, pages) + damage->rows.size(),
                  rows.rows.size())
            << what << ": the report does not account for every row";
    }

    DamagedFile file{sourceFile(GetParam())};
    std::map<std::string, TableRows> intact;
    Tally tally;
};

TEST_P(DamageCampaign, TruncatedAtManySizes) {
    const size_t size = file.original().size(), page = file.pageSize();
    const size_t pages = size / page;
    for (size_t cut :
         {3 * page, 4 * page + 100, pages / 4 * page, pages / 2 * page + 17, pages * 2 / 3 * page,
          pages * 3 / 4 * page, (pages - 2) * page, (pages - 1) * page, size - 1}) {
        file.reset();
        file.bytes.resize(std::min(cut, size));
        judge("cut at " + std::to_string(cut));
    }
}

TEST_P(DamageCampaign, PageSizedHoles) {
    for (uint32_t page = 1; page < file.pageCount(); ++page) {
        file.reset();
        std::fill_n(file.bytes.begin() + static_cast<std::ptrdiff_t>(page) * file.pageSize(),
                    file.pageSize(), 0);
        judge("page " + std::to_string(page) + " zeroed");
    }
}

// The type, the free-space count and the owner: the header every page type has.
TEST_P(DamageCampaign, PageHeadersChangedOnEveryPage) {
    for (uint32_t page = 1; page < file.pageCount(); ++page) {
        for (size_t at : {size_t(0), size_t(4 + page % 4)}) {
            file.reset();
            file.bytes[size_t(page) * file.pageSize() + at] ^= 0x5A;
            judge("page " + std::to_string(page) + " (type " + std::to_string(file.pageType(page)) +
                  ") byte " + std::to_string(at));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, DamageCampaign, ::testing::ValuesIn(kFiles));

}  // namespace
}  // namespace jet
