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

// The word-at-a-time copy of ASCII text stops exactly at the first unit that
// is not ASCII, wherever it falls in or after a block, and the text decodes
// the same as unit by unit.
TEST(TextDecoder, AsciiCopyStopsAtTheFirstOtherUnitInEveryPosition) {
    const uint16_t others[] = {0x0080, 0x00FF, 0x0100, 0x041C, 0x8041, 0xD83D};
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            for (const uint16_t other : others) {
                std::vector<uint8_t> bytes;
                std::u16string units;
                for (size_t k = 0; k < length; ++k) {
                    const auto unit =
                        static_cast<uint16_t>(k == at ? other : 'a' + static_cast<int>(k % 26));
                    units.push_back(static_cast<char16_t>(unit));
                    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
                    bytes.push_back(static_cast<uint8_t>(unit >> 8));
                }
                std::string copied(length, '?');
                const size_t ascii = jet::copyAsciiUcs2le(bytes.data(), length, copied.data());
                ASSERT_EQ(ascii, at) << "length " << length << ", other unit " << other;
                EXPECT_EQ(copied.substr(0, ascii), jet::utf16ToUtf8(units.substr(0, ascii)));
                std::string appended = "x";
                jet::appendUcs2le(bytes.data(), bytes.size(), appended);
                EXPECT_EQ(appended, "x" + jet::utf16ToUtf8(units));
            }
        }
    }
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
