// A database whose pages are RC4-encoded with its database key: written
// pages are encoded the same way, and the file reads back.
#include <gtest/gtest.h>

#include <fstream>

#include "header_page.h"
#include "jet/database.h"
#include "jet/query_writer.h"
#include "jet_page_codec.h"
#include "temp_copy.h"
#include "write/byte_writer.h"

namespace jet::write {
namespace {

using namespace jet::write::testing;

// Turns a plain Jet 4 file into an encoded one with database key `key`.
void encodeFile(const std::string& path, uint32_t key) {
    std::string text = fileBytes(path);
    std::vector<uint8_t> bytes(text.begin(), text.end());
    std::vector<uint8_t> header = HeaderPage::unmask({bytes.data(), 4096}, false);
    putLe32(header.data() + 0x3E, key);
    header = HeaderPage::unmask({header.data(), 4096}, false);  // masking is its own inverse
    std::copy(header.begin(), header.end(), bytes.begin());
    JetPageCodec codec(key);
    for (size_t page = 1; page < bytes.size() / 4096; ++page) {
        ASSERT_TRUE(codec.encode(static_cast<uint32_t>(page), {bytes.data() + page * 4096, 4096}));
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TEST(EncodedFile, WrittenPagesAreEncodedLikeTheRest) {
    TempFolder folder;
    const std::string path = folder.copyIn("jackcess/V2000/queryTestV2000.mdb");
    encodeFile(path, 0x6B39DAC7);
    auto before = Database::open(path);
    ASSERT_TRUE(before) << before.status().message();
    ASSERT_TRUE((*before)->isEncrypted());
    const std::string sql = "SELECT Table1.col1 FROM Table1 WHERE Table1.col1 <> 'x';";
    Status saved = createQueryDef(path, "Encoded Query", sql);
    ASSERT_TRUE(saved) << saved.message();
    auto after = Database::open(path);
    ASSERT_TRUE(after) << after.status().message();
    const QueryDef* query = (*after)->findQuery("Encoded Query");
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query->info.sql, "SELECT Table1.col1\r\nFROM Table1\r\nWHERE Table1.col1 <> 'x';");
    // Page 1 (the global map) stays encoded on disk: its raw type byte is not 0x01 0x01.
    const std::string raw = fileBytes(path);
    EXPECT_FALSE(raw[4096] == 0x01 && raw[4097] == 0x01);
    ASSERT_TRUE(deleteQueryDef(path, "Encoded Query"));
}

}  // namespace
}  // namespace jet::write
