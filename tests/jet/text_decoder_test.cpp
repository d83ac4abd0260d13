// Stored text to UTF-8: Jet 4 UCS-2 and its compressed form, Jet 3 code pages.
#include "text_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string jet4(const std::vector<uint8_t>& bytes) {
    std::string out;
    jet::appendJet4Text(bytes.data(), bytes.size(), out);
    return out;
}

TEST(TextDecoder, Jet4PlainAndCompressedText) {
    struct Case {
        std::vector<uint8_t> bytes;
        const char* text;
    };
    const Case cases[] = {
        {{0xFF, 0xFE, 0x6F, 0x6E, 0x6C, 0x79}, "only"},
        {{0xFF, 0xFE, 0xE4, 0xE4, 0x6B, 0x6B, 0xF6, 0x73, 0x69, 0xE4}, "ääkkösiä"},
        {{0x1C, 0x04, 0x38, 0x04, 0x40, 0x04}, "Мир"},
        {{0x61, 0x00}, "a"},
        {{0xFF, 0xFE, 0x61, 0x00, 0x1C, 0x04, 0x00, 0x62}, "aМb"},
        {{0xFF, 0xFE, 0x61, 0x00, 0x1C, 0x04}, "aМ"},
        {{0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},
        {{0x00, 0xD8, 0x41, 0x00},
         "\xEF\xBF\xBD"
         "A"},
        {{0xFF, 0xFE}, ""},
        {{0x41, 0x00, 0x42}, "A"},
        {{}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(jet4(c.bytes), c.text);
}

TEST(TextDecoder, CodePages) {
    const jet::CodePageDecoder cp1252(1252), cp1251(1251), cp932(932);
    EXPECT_EQ(cp1252.decode("\x80\xE4 ok"), "€ä ok");
    EXPECT_EQ(cp1251.decode("\xC0\xE1"), "Аб");
    EXPECT_EQ(cp932.decode("\x82\xA0"), "あ");
    EXPECT_EQ(cp1252.encode("Zürich"), "Z\xFCrich");
    EXPECT_EQ(jet::CodePageDecoder(65000).codePage(), 65000) << "unknown code pages fall back";
    EXPECT_EQ(jet::CodePageDecoder(65000).decode("\xE4"), "ä");
}

}  // namespace
