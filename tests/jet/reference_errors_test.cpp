// Places where the public readers are wrong, pinned with the bytes and the
// right value (see the format notes on dates, descriptors and slot flags).
#include <gtest/gtest.h>

#include <cstring>

#include "byte_reader.h"
#include "jet/database.h"
#include "jet/value_format.h"
#include "oracle_format.h"
#include "test_files.h"

namespace {

TEST(ReferenceErrors, NegativeDatesKeepAPositiveTime) {
    // -1.25 is stored as 00 00 00 00 00 00 F4 BF. Access shows 1899-12-29
    // 06:00; a linear conversion (mdb-reader) gives 18:00 the day before and
    // mdbtools refuses negative dates.
    const uint8_t bytes[8] = {0, 0, 0, 0, 0, 0, 0xF4, 0xBF};
    const double d = jet::leDouble(bytes);
    EXPECT_EQ(d, -1.25);
    EXPECT_EQ(jet::formatDateTimeIso(d), "1899-12-29T06:00:00");
    EXPECT_EQ(jettest::oracleDate(d), "\"1899-12-28T18:00:00.000\"");
}

TEST(ReferenceErrors, DecimalPrecisionAndScaleOrder) {
    // Descriptor bytes 11 and 12 are precision then scale (mdbtools swaps
    // them): numeric.mdb stores 12 00 there, Decimal(18, 0).
    auto db = jet::Database::open(jettest::testFile("mdb-reader/V2003/numeric.mdb"));
    ASSERT_TRUE(db.isOk()) << db.status().message();
    const jet::Column* c = (*db)->findTable("test")->findColumn("col2");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->precision, 18);
    EXPECT_EQ(c->scale, 0);
}

TEST(ReferenceErrors, ComplexIdIsReadAtByteEleven) {
    // MSysResources.Data holds 01 00 00 00 at descriptor byte 11, matching
    // MSysComplexColumns' ComplexID 1; mdb-reader reads byte 9.
    auto db = jet::Database::open(jettest::testFile("mdb-reader/V2010/test.accdb"));
    ASSERT_TRUE(db.isOk()) << db.status().message();
    const jet::Column* c = (*db)->findTable("MSysResources")->findColumn("Data");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->type(), jet::ColumnType::Complex);
    EXPECT_EQ(c->complexId, 1);
    EXPECT_EQ(c->flags, 0x07);
}

TEST(ReferenceErrors, HeaderRowCountsCanBeStale) {
    // The definition's row count lags behind the rows on the pages.
    struct Case {
        const char* file;
        const char* table;
        uint32_t stored;
        uint64_t live;
    };
    const Case cases[] = {
        {"mdb-reader/V2000/test.mdb", "MSysACEs", 61, 64},
        {"mdb-reader/V2003/test.mdb", "MSysACEs", 78, 81},
        {"mdb-reader/V2016/withdeletedcol.accdb", "MSysAccessStorage", 2, 23},
        {"jackcess/V2000/queryTestV2000.mdb", "MSysQueries", 82, 90},
    };
    for (const Case& c : cases) {
        auto db = jet::Database::open(jettest::testFile(c.file));
        ASSERT_TRUE(db.isOk()) << db.status().message();
        const jet::TableDef* t = (*db)->findTable(c.table);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->storedRowCount, c.stored) << c.file;
        auto live = (*db)->countRows(*t);
        ASSERT_TRUE(live.isOk());
        EXPECT_EQ(*live, c.live) << c.file;
    }
}

}  // namespace
