#include "sheet/grid_file_bytes.h"

#include <bit>
#include <cstring>

namespace sheet {

void GridFileWriter::u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        u8(v >> (8 * i));
    }
}

void GridFileWriter::f64(double v) {
    const auto bits = std::bit_cast<uint64_t>(v);
    u32(uint32_t(bits));
    u32(uint32_t(bits >> 32));
}

void GridFileWriter::varint(uint64_t v) {
    while (v >= 0x80) {
        out_.append(char((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out_.append(char(v));
}

void GridFileWriter::text(std::string_view s) {
    varint(s.size());
    raw(s);
}

void GridFileReader::fail(const std::string& what) {
    if (error_.empty()) {
        error_ = what + " at byte " + std::to_string(i_);
    }
}

bool GridFileReader::need(std::size_t count, const char* what) {
    if (!ok()) {
        return false;
    }
    if (count > n_ - i_) {
        fail(std::string("the file ends inside ") + what);
        return false;
    }
    return true;
}

uint32_t GridFileReader::u8(const char* what) {
    if (!need(1, what)) {
        return 0;
    }
    return uint8_t(p_[i_++]);
}

uint32_t GridFileReader::u32(const char* what) {
    if (!need(4, what)) {
        return 0;
    }
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
        v |= uint32_t(uint8_t(p_[i_++])) << (8 * k);
    }
    return v;
}

double GridFileReader::f64(const char* what) {
    if (!need(8, what)) {
        return 0;
    }
    const uint64_t low = u32(what);
    const uint64_t high = u32(what);
    return std::bit_cast<double>(low | high << 32);
}

uint64_t GridFileReader::varint(const char* what) {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (!need(1, what)) {
            return 0;
        }
        const auto byte = uint8_t(p_[i_++]);
        v |= uint64_t(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            return v;
        }
    }
    fail(std::string("an over-long number in ") + what);
    return 0;
}

std::string_view GridFileReader::bytes(std::size_t length, const char* what) {
    if (!need(length, what)) {
        return {};
    }
    const std::string_view view(p_ + i_, length);
    i_ += length;
    return view;
}

std::string_view GridFileReader::text(const char* what) {
    const uint64_t length = varint(what);
    if (ok() && length > remaining()) {
        fail(std::string("a length past the end of the file in ") + what);
        return {};
    }
    return bytes(std::size_t(length), what);
}

}  // namespace sheet
