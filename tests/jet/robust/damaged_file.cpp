#include "damaged_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace jet {

DamagedFile::DamagedFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "test file missing: " << path;
        original_.assign(4096, 0);
    } else {
        original_.assign(std::istreambuf_iterator<char>(in), {});
    }
    pageSize_ = original_.size() > 0x14 && original_[0x14] == 0 ? 2048 : 4096;
    bytes = original_;
}

bool DamagedFile::isLongValuePage(uint32_t page) const {
    size_t at = size_t(page) * pageSize_;
    return original_[at] == 0x01 && original_[at + 4] == 'L' && original_[at + 5] == 'V' &&
           original_[at + 6] == 'A' && original_[at + 7] == 'L';
}

void DamagedFile::put16(size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void DamagedFile::put32(size_t offset, uint32_t value) {
    put16(offset, static_cast<uint16_t>(value));
    put16(offset + 2, static_cast<uint16_t>(value >> 16));
}

std::string DamagedFile::write() const {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("tablescope-damaged-" + std::to_string(getpid()) + ".mdb"))
                           .string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace jet
