// Turns stored text into UTF-8: Jet 4 / ACE UCS-2 (plain or in Access's
// compressed form) and Jet 3 code-page bytes (through iconv).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace jet {

// Appends UTF-16 code units as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view units);
// Appends `size` bytes of UCS-2 little-endian text (an odd last byte is dropped).
void appendUcs2le(const uint8_t* bytes, size_t size, std::string& out);
// Appends Jet 4 text: compressed when it starts with FF FE, else UCS-2.
void appendJet4Text(const uint8_t* bytes, size_t size, std::string& out);
// Copies the leading ASCII characters of `units` UCS-2 little-endian code
// units to `out` (room for `units` bytes), one byte each; returns how many.
// All of them for plain ASCII text, the usual case.
size_t copyAsciiUcs2le(const uint8_t* bytes, size_t units, char* out);

// Decodes one Windows code page (1252, 1251, 932, ...). Single-byte code pages
// use a 256-entry table built once; others go through iconv per call. Unknown
// code pages fall back to 1252.
class CodePageDecoder {
  public:
    explicit CodePageDecoder(uint16_t codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    uint16_t codePage() const { return codePage_; }
    void append(const uint8_t* bytes, size_t size, std::string& out) const;
    std::string decode(std::string_view bytes) const;
    // UTF-8 back to this code page (for comparing Jet 3 passwords); unmappable
    // characters become '?'.
    std::string encode(std::string_view utf8) const;

  private:
    void buildTable();
    void appendIconv(const uint8_t* bytes, size_t size, std::string& out) const;

    uint16_t codePage_;
    std::string charset_;
    bool singleByte_ = true;
    std::string table_[256];
};

}  // namespace jet
