#include "text_decoder.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jet {
namespace {

void appendCodePoint(uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Appends units [i, n) of a UTF-16 sequence given by `unit(k)`.
template <typename UnitAt>
void appendUtf16(size_t n, UnitAt unit, std::string& out) {
    for (size_t k = 0; k < n; ++k) {
        const uint32_t u = unit(k);
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u >= 0xD800 && u < 0xDC00 && k + 1 < n && unit(k + 1) >= 0xDC00 &&
                   unit(k + 1) < 0xE000) {
            appendCodePoint(0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00), out);
            ++k;
        } else if (u >= 0xD800 && u < 0xE000) {
            appendCodePoint(0xFFFD, out);
        } else {
            appendCodePoint(u, out);
        }
    }
}

std::string charsetFor(uint16_t codePage) {
    switch (codePage) {
        case 932:
            return "CP932";
        case 936:
            return "GBK";
        case 949:
            return "CP949";
        case 950:
            return "BIG5";
        case 0:
        case 1252:
            return "CP1252";
        default:
            return "CP" + std::to_string(codePage);
    }
}

bool isMultiByte(uint16_t codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

}  // namespace

std::string utf16ToUtf8(std::u16string_view units) {
    std::string out;
    appendUtf16(
        units.size(), [&](size_t k) { return static_cast<uint32_t>(units[k]); }, out);
    return out;
}

size_t copyAsciiUcs2le(const uint8_t* bytes, size_t units, char* out) {
    size_t k = 0;
#if defined(__SSE2__)
    // Eight units at a time while all are ASCII: pack their low bytes.
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; k + 8 <= units; k += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * k));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128())) !=
            0xFFFF)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(v, v));
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        // Four units at a time while all are ASCII: keep each low byte.
        for (; k + 4 <= units; k += 4) {
            uint64_t word;
            std::memcpy(&word, bytes + 2 * k, sizeof word);
            if (word & 0xFF80FF80FF80FF80ULL)
                break;
            const uint64_t pairs = word | (word >> 8);  // bytes 0-1 and 4-5
            const auto packed =
                static_cast<uint32_t>((pairs & 0xFFFF) | ((pairs >> 16) & 0xFFFF0000));
            std::memcpy(out + k, &packed, sizeof packed);
        }
    }
    for (; k < units; ++k) {
        if (bytes[2 * k + 1] != 0 || bytes[2 * k] >= 0x80)
            break;
        out[k] = static_cast<char>(bytes[2 * k]);
    }
    return k;
}

void appendUcs2le(const uint8_t* bytes, size_t size, std::string& out) {
    const size_t units = size / 2;
    // Fast path: plain ASCII text, written straight into the string.
    const size_t base = out.size();
    out.resize(base + units);
    const size_t k = copyAsciiUcs2le(bytes, units, out.data() + base);
    out.resize(base + k);
    if (k == units)
        return;
    const uint8_t* rest = bytes + 2 * k;
    appendUtf16(
        units - k,
        [&](size_t i) { return static_cast<uint32_t>(rest[2 * i] | (rest[2 * i + 1] << 8)); }, out);
}

void appendJet4Text(const uint8_t* bytes, size_t size, std::string& out) {
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        appendUcs2le(bytes, size, out);
        return;
    }
    // Compressed: single bytes are U+00xx; a 0x00 byte switches to UCS-2 units
    // and back. Access never compresses text with a 0x00 low byte, so the
    // switch cannot be mistaken for a character.
    out.reserve(out.size() + size);
    bool compressed = true;
    size_t i = 2;
    while (i < size) {
        if (bytes[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            appendCodePoint(bytes[i], out);
            ++i;
        } else {
            const size_t start = i;
            while (i + 1 < size && bytes[i] != 0)
                i += 2;
            appendUcs2le(bytes + start, i - start, out);
            if (i + 1 == size && bytes[i] != 0)
                ++i;  // odd trailing byte
        }
    }
}

CodePageDecoder::CodePageDecoder(uint16_t codePage)
    : codePage_(codePage), charset_(charsetFor(codePage)), singleByte_(!isMultiByte(codePage)) {
    iconv_t probe = iconv_open("UTF-8", charset_.c_str());
    if (probe == reinterpret_cast<iconv_t>(-1)) {
        charset_ = "CP1252";
        singleByte_ = true;
    } else {
        iconv_close(probe);
    }
    if (singleByte_)
        buildTable();
}

CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::buildTable() {
    for (int b = 0; b < 128; ++b)
        table_[b] = std::string(1, static_cast<char>(b));
    for (int b = 128; b < 256; ++b) {
        const uint8_t byte = static_cast<uint8_t>(b);
        std::string s;
        appendIconv(&byte, 1, s);
        table_[b] = s.empty() ? std::string("\xEF\xBF\xBD") : s;
    }
}

namespace {

// Converts through iconv, putting `replacement` in place of each byte the
// target cannot take, and closes the converter.
void convertAll(iconv_t cd, const char* bytes, size_t size, std::string_view replacement,
                std::string& out) {
    std::vector<char> buffer(size * 4 + 16);
    char* in = const_cast<char*>(bytes);
    size_t inLeft = size;
    while (inLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer.data(), buffer.size() - dstLeft);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            out.append(replacement);
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
}

}  // namespace

void CodePageDecoder::appendIconv(const uint8_t* bytes, size_t size, std::string& out) const {
    iconv_t cd = iconv_open("UTF-8", charset_.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return;
    // An undefined or truncated byte shows as the replacement character.
    convertAll(cd, reinterpret_cast<const char*>(bytes), size, "\xEF\xBF\xBD", out);
}

void CodePageDecoder::append(const uint8_t* bytes, size_t size, std::string& out) const {
    if (!singleByte_) {
        appendIconv(bytes, size, out);
        return;
    }
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] < 0x80) {
            out.push_back(static_cast<char>(bytes[i]));
        } else {
            out.append(table_[bytes[i]]);
        }
    }
}

std::string CodePageDecoder::decode(std::string_view bytes) const {
    std::string out;
    append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
    return out;
}

std::string CodePageDecoder::encode(std::string_view utf8) const {
    iconv_t cd = iconv_open((charset_ + "//TRANSLIT").c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(utf8);
    std::string out;
    convertAll(cd, utf8.data(), utf8.size(), "?", out);
    return out;
}

}  // namespace jet
