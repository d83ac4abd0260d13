// A file system for tests: the real one, except that call number N (counting
// every operation) fails, and the file or its folder can be made to look
// read-only (root can write anything, so permissions cannot show it).
#pragma once

#include <string>

#include "write/file_system.h"

namespace jet::write::testing {

class FaultyFileSystem : public FileSystem {
  public:
    int failAt = -1;  // the call to fail; -1: none
    int calls = 0;
    bool readOnlyFile = false;
    bool readOnlyFolder = false;

    bool exists(const std::string& path) override;
    Result<FileStamp> stamp(const std::string& path) override;
    Result<std::vector<uint8_t>> readAll(const std::string& path) override;
    Status checkWritable(const std::string& path) override;
    Status checkFolderWritable(const std::string& folder) override;
    Result<std::unique_ptr<FileLock>> lock(const std::string& path) override;
    Status writeNew(const std::string& path, const std::vector<uint8_t>& bytes,
                    uint32_t mode) override;
    Status keepCopy(const std::string& path, const std::string& link) override;
    Status replace(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;

  private:
    bool fails() { return calls++ == failAt; }
    static Status injected() { return {ErrorCode::Io, "injected failure"}; }
    RealFileSystem real_;
};

}  // namespace jet::write::testing
