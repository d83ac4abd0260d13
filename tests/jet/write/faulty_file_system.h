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
    std::vector<std::string> listFolder(const std::string& folder) override;
    Result<std::vector<uint8_t>> readAll(const std::string& path, size_t limit) override;
    Status checkWritable(const std::string& path) override;
    Status checkFolderWritable(const std::string& folder) override;
    Result<std::unique_ptr<FileLock>> lock(const std::string& path) override;
    Status writeCopy(const std::string& source, const std::string& path, const PagePatch& patch,
                     uint32_t mode) override;
    Status exchange(const std::string& a, const std::string& b) override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;

  private:
    bool fails() { return calls++ == failAt; }
    static Status injected() { return {ErrorCode::Io, "injected failure"}; }
    RealFileSystem real_;
};

}  // namespace jet::write::testing
