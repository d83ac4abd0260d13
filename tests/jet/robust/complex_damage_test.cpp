// Damaged complex-column storage: a value table the catalog points past, a
// value table whose page lies about its rows, an attachment whose data is
// gone. Each gives an error naming the column; nothing crashes or hangs.
#include <gtest/gtest.h>

#include "damaged_file.h"
#include "jet/database.h"

namespace {

const std::string kFile =
    std::string(TABLESCOPE_TESTDATA) + "/../testdata-modern/V2010/complexDataTestV2010.accdb";
// Facts of that file: MSysComplexColumns' row for "attach-data" holds
// (ComplexTypeObjectID 39, FlatTableID 46, ConceptualTableID 109, ComplexID 4)
// at this offset; the attachment value table (definition page 46) keeps its
// rows on page 49.
constexpr size_t kAttachLinkRow = 478970;
constexpr uint32_t kAttachRowsPage = 49;

// Reads every value and complex cell of Table1; the cursor's final status.
jet::Status readAll(const std::string& path) {
    auto db = jet::Database::open(path);
    if (!db)
        return db.status();
    auto cursor = (*db)->openTable("Table1");
    if (!cursor)
        return cursor.status();
    jet::TableCursor& c = **cursor;
    while (c.next())
        for (size_t i = 0; i < c.columnCount(); ++i) {
            c.get(i);
            if (const jet::ComplexCell* cell = c.complexCell(i))
                for (const jet::Attachment& a : cell->attachments)
                    if (auto data = (*db)->attachmentData(a); !data)
                        return data.status();
        }
    return c.status();
}

TEST(ComplexDamage, IntactFileReadsWhole) {
    jet::DamagedFile file(kFile);
    ASSERT_EQ(file.original()[kAttachLinkRow + 4], 46);
    EXPECT_TRUE(readAll(file.write()).isOk());
}

TEST(ComplexDamage, MissingValueTableNamesTheColumn) {
    jet::DamagedFile file(kFile);
    file.put32(kAttachLinkRow + 4, 9999);
    const jet::Status s = readAll(file.write());
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.code(), jet::ErrorCode::Corrupt);
    EXPECT_NE(s.message().find("Column 'attach-data' of table 'Table1': its hidden value table is "
                               "missing."),
              std::string::npos)
        << s.message();
}

TEST(ComplexDamage, UnknownComplexIdNamesTheColumn) {
    jet::DamagedFile file(kFile);
    file.put32(kAttachLinkRow + 12, 77);
    const jet::Status s = readAll(file.write());
    ASSERT_FALSE(s.isOk());
    EXPECT_NE(s.message().find("complex id 4 is not in MSysComplexColumns"), std::string::npos)
        << s.message();
}

TEST(ComplexDamage, BrokenValueTablePageIsAnError) {
    jet::DamagedFile file(kFile);
    file.put16(size_t(kAttachRowsPage) * file.pageSize() + 12, 0x7FFF);
    const jet::Status s = readAll(file.write());
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.code(), jet::ErrorCode::Corrupt);
    EXPECT_NE(s.message().find("'attach-data'"), std::string::npos) << s.message();
}

// Bytes of the attachment rows flipped in turn: each read ends with the
// data or an error that says what failed, never a crash.
TEST(ComplexDamage, FlippedValueRowsNeverCrash) {
    jet::DamagedFile file(kFile);
    const size_t page = size_t(kAttachRowsPage) * file.pageSize();
    for (size_t at = page + 0xE00; at < page + file.pageSize(); at += 7) {
        file.reset();
        file.bytes[at] ^= 0xFF;
        const jet::Status s = readAll(file.write());
        EXPECT_TRUE(s.isOk() || !s.message().empty()) << "byte " << at - page;
    }
}

}  // namespace
