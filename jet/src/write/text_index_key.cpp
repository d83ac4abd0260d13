#include "write/text_index_key.h"

#include <array>

namespace jet::write {
namespace {

struct Code {
    char c;
    uint8_t jet4[2];  // second byte 0 when the code is one byte
    uint8_t jet3;
};

// Punctuation codes; letters and digits follow regular patterns below.
constexpr Code kPunctuation[] = {
    {' ', {0x07, 0}, 0x11},    {'"', {0x0A, 0}, 0x13},    {'#', {0x0C, 0}, 0x14},
    {'$', {0x0E, 0}, 0x15},    {'%', {0x10, 0}, 0x16},    {'&', {0x12, 0}, 0x17},
    {'(', {0x14, 0}, 0x19},    {')', {0x16, 0}, 0x1A},    {'*', {0x18, 0}, 0x1B},
    {'+', {0x2C, 0}, 0x1C},    {',', {0x1A, 0}, 0x1D},    {'/', {0x1E, 0}, 0x20},
    {'\\', {0x29, 0}, 0x29},   {'^', {0x2B, 0x02}, 0x2B}, {'_', {0x2B, 0x03}, 0x2C},
    {'|', {0x2B, 0x0B}, 0x2F}, {'~', {0x2B, 0x0F}, 0x31}, {':', {0x20, 0}, 0x21},
    {';', {0x22, 0}, 0x22},    {'<', {0x2E, 0}, 0x23},    {'=', {0x30, 0}, 0x24},
    {'>', {0x32, 0}, 0x25},    {'?', {0x24, 0}, 0x26},    {'@', {0x26, 0}, 0x27},
    {'{', {0x2B, 0x09}, 0x2E}, {'}', {0x2B, 0x0D}, 0x30},
};

constexpr std::array<uint8_t, 26> kJet4Letters = {
    0x4A, 0x4C, 0x4D, 0x4F, 0x51, 0x53, 0x55, 0x57, 0x59, 0x5B, 0x5C, 0x5E, 0x60,
    0x62, 0x64, 0x66, 0x68, 0x69, 0x6B, 0x6D, 0x6F, 0x71, 0x73, 0x75, 0x76, 0x78};
constexpr std::array<uint8_t, 26> kJet3Letters = {
    0x60, 0x61, 0x62, 0x64, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F,
    0x70, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E};

// The General order of Access 2010: two code bytes for every printable ASCII
// character from ' ' (0x20) to '~' (0x7E); zeros where a character has no
// plain code (' and -, which carry extra codes).
constexpr uint16_t kGeneralCodes[] = {
    0x0702, 0x071C, 0x071D, 0x071F, 0x0721, 0x0723, 0x0725, 0,      0x0727, 0x072A, 0x072D, 0x0803,
    0x072F, 0,      0x0733, 0x0735, 0x0D17, 0x0D19, 0x0D1A, 0x0D1B, 0x0D1C, 0x0D1D, 0x0D1E, 0x0D1F,
    0x0D20, 0x0D21, 0x0737, 0x073A, 0x080E, 0x0812, 0x0814, 0x073C, 0x073E, 0x0E02, 0x0E09, 0x0E0A,
    0x0E1A, 0x0E21, 0x0E23, 0x0E25, 0x0E2C, 0x0E32, 0x0E35, 0x0E36, 0x0E48, 0x0E51, 0x0E70, 0x0E7C,
    0x0E7E, 0x0E89, 0x0E8A, 0x0E91, 0x0E99, 0x0E9F, 0x0EA2, 0x0EA4, 0x0EA6, 0x0EA7, 0x0EA9, 0x073F,
    0x0741, 0x0742, 0x0743, 0x0744, 0x0748, 0x0E02, 0x0E09, 0x0E0A, 0x0E1A, 0x0E21, 0x0E23, 0x0E25,
    0x0E2C, 0x0E32, 0x0E35, 0x0E36, 0x0E48, 0x0E51, 0x0E70, 0x0E7C, 0x0E7E, 0x0E89, 0x0E8A, 0x0E91,
    0x0E99, 0x0E9F, 0x0EA2, 0x0EA4, 0x0EA6, 0x0EA7, 0x0EA9, 0x074A, 0x074C, 0x074E, 0x0750,
};

bool appendGeneralCode(char c, std::vector<uint8_t>& out) {
    if (c < 0x20 || c > 0x7E || kGeneralCodes[c - 0x20] == 0) {
        return false;
    }
    out.push_back(static_cast<uint8_t>(kGeneralCodes[c - 0x20] >> 8));
    out.push_back(static_cast<uint8_t>(kGeneralCodes[c - 0x20]));
    return true;
}

// Appends the code of `c`; false when it has none we can write.
bool appendCode(char c, bool jet3, std::vector<uint8_t>& out) {
    if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
    }
    if (c >= 'A' && c <= 'Z') {
        out.push_back(jet3 ? kJet3Letters[c - 'A'] : kJet4Letters[c - 'A']);
        return true;
    }
    if (c >= '0' && c <= '9') {
        out.push_back(static_cast<uint8_t>(jet3 ? 0x56 + (c - '0') : 0x36 + 2 * (c - '0')));
        return true;
    }
    if (jet3 && c == '\'') {
        out.push_back(0x18);
        return true;
    }
    if (jet3 && c == '-') {
        out.push_back(0x1E);
        return true;
    }
    for (const Code& code : kPunctuation) {
        if (code.c == c) {
            if (jet3) {
                out.push_back(code.jet3);
            } else {
                out.push_back(code.jet4[0]);
                if (code.jet4[1]) {
                    out.push_back(code.jet4[1]);
                }
            }
            return true;
        }
    }
    return false;
}

}  // namespace

bool hasPlainIndexCode(char c, bool jet3) {
    std::vector<uint8_t> scratch;
    return appendCode(c, jet3, scratch);
}

std::optional<std::vector<uint8_t>> textIndexKey(std::string_view text, bool jet3) {
    return textIndexKey(text, legacyCollation(jet3));
}

std::optional<std::vector<uint8_t>> textIndexKey(std::string_view text, NameCollation collation) {
    const bool jet3 = collation == NameCollation::General97;
    // Trailing spaces do not count; at most 255 characters are indexed.
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.size() > 255) {
        text = text.substr(0, 255);
    }
    std::vector<uint8_t> out;
    for (char c : text) {
        const bool coded = collation == NameCollation::General ? appendGeneralCode(c, out)
                                                               : appendCode(c, jet3, out);
        if (!coded) {
            return std::nullopt;
        }
    }
    if (jet3) {
        out.push_back(0x00);
    } else {
        out.push_back(0x01);
        out.push_back(0x00);
    }
    return out;
}

}  // namespace jet::write
