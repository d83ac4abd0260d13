// A copy of a test database, held in memory, that tests damage on purpose
// (truncate, flip bytes, rewrite fields) and write to a scratch file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

class DamagedFile {
  public:
    // Loads `path`; an unreadable file is reported as a test failure.
    explicit DamagedFile(const std::string& path);

    const std::vector<uint8_t>& original() const { return original_; }
    uint32_t pageSize() const { return pageSize_; }
    uint32_t pageCount() const { return static_cast<uint32_t>(original_.size() / pageSize_); }
    uint8_t pageType(uint32_t page) const { return original_[size_t(page) * pageSize_]; }
    bool isLongValuePage(uint32_t page) const;
    bool isJet3() const { return pageSize_ == 2048; }

    // Bytes to write: starts as the original; tests edit it, then write().
    std::vector<uint8_t> bytes;
    void reset() { bytes = original_; }
    void put16(size_t offset, uint16_t value);
    void put32(size_t offset, uint32_t value);
    // Writes `bytes` to a scratch file (one per test process) and returns it.
    std::string write() const;

  private:
    std::vector<uint8_t> original_;
    uint32_t pageSize_ = 4096;
};

}  // namespace jet
