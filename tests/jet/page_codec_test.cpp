// The header mask and the page encoding of "encoded" Jet databases: the key
// stream is checked against its known bytes, and an encoded copy of a real
// file must read exactly like the original.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "header_page.h"
#include "jet/database.h"
#include "jet_page_codec.h"
#include "rc4.h"
#include "test_files.h"

namespace {

TEST(PageCodec, HeaderMaskKeyStream) {
    const uint8_t key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    std::vector<uint8_t> stream(62, 0);
    jet::Rc4(key).apply(stream);
    const std::vector<uint8_t> first = {0xB5, 0x6F, 0x03, 0x62, 0x61, 0x08, 0xC2, 0x55,
                                        0xEB, 0xA9, 0x67, 0x72, 0x43, 0x3F, 0x00, 0x9C};
    const std::vector<uint8_t> password = {0x86, 0xFB, 0xEC, 0x37, 0x5D, 0x44, 0x9C,
                                           0xFA, 0xC6, 0x5E, 0x28, 0xE6, 0x13, 0xB6,
                                           0x8A, 0x60, 0x54, 0x94, 0x7B, 0x36};
    EXPECT_EQ(std::vector<uint8_t>(stream.begin(), stream.begin() + 16), first);
    EXPECT_EQ(std::vector<uint8_t>(stream.begin() + 42, stream.begin() + 62), password);
}

std::vector<std::string> dumpAll(const jet::Database& db) {
    std::vector<std::string> out;
    for (const jet::TableDef& t : db.tables()) {
        auto cursor = db.openTable(t);
        if (!cursor) {
            out.push_back(t.name + ": " + cursor.status().message());
            continue;
        }
        while ((*cursor)->next()) {
            std::string row = t.name + ":";
            for (size_t i = 0; i < (*cursor)->columnCount(); ++i) {
                const jet::Value v = (*cursor)->value(i);
                row += std::to_string(static_cast<int>(v.type())) + "/" + std::to_string(v.i()) +
                       "/" + std::to_string(v.d()) + "/" + v.data() + "|";
            }
            out.push_back(row);
        }
        if (!(*cursor)->status())
            out.push_back(t.name + ": " + (*cursor)->status().message());
    }
    return out;
}

TEST(PageCodec, EncodedCopyReadsLikeTheOriginal) {
    for (const char* rel : {"mdb-reader/V1997/test.mdb", "mdb-reader/V2000/test.mdb"}) {
        const std::string path = jettest::testFile(rel);
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        const bool jet3 = bytes[0x14] == 0;
        const size_t pageSize = jet3 ? 2048 : 4096;
        const uint32_t key = 0x5A17C0DE;
        // Put the key into the masked header, then encode every other page.
        std::vector<uint8_t> header =
            jet::HeaderPage::unmask(std::span<const uint8_t>(bytes.data(), pageSize), jet3);
        for (int k = 0; k < 4; ++k)
            header[0x3E + k] = static_cast<uint8_t>(key >> (8 * k));
        header = jet::HeaderPage::unmask(header, jet3);
        std::copy(header.begin(), header.end(), bytes.begin());
        const jet::JetPageCodec codec(key);
        for (size_t page = 1; page * pageSize < bytes.size(); ++page) {
            ASSERT_TRUE(codec
                            .encode(static_cast<uint32_t>(page),
                                    std::span<uint8_t>(bytes.data() + page * pageSize, pageSize))
                            .isOk());
        }
        const std::string dir = jettest::makeTempDir();
        const std::string copy = dir + "/encoded.mdb";
        std::ofstream(copy, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        auto original = jet::Database::open(path);
        auto encoded = jet::Database::open(copy);
        ASSERT_TRUE(original.isOk() && encoded.isOk()) << encoded.status().message();
        EXPECT_TRUE((*encoded)->isEncrypted());
        EXPECT_FALSE((*original)->isEncrypted());
        const auto expected = dumpAll(**original);
        EXPECT_GT(expected.size(), 20u);
        EXPECT_EQ(dumpAll(**encoded), expected) << rel;
        std::filesystem::remove_all(dir);
    }
}

}  // namespace
