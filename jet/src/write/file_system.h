// The file operations of a safe save, behind an interface so tests can make
// any step fail (and can pretend a file is read-only, which root ignores).
// RealFileSystem is the POSIX implementation.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "jet/status.h"

namespace jet::write {

// What identifies one version of a file: changed size, time or inode means
// someone else wrote or replaced it.
struct FileStamp {
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    uint64_t inode = 0;
    uint64_t device = 0;
    uint32_t mode = 0;
    bool regular = true;
    bool operator==(const FileStamp&) const = default;
};

// The pages a change writes: the new file is the original with these pages
// replaced or appended (bytes as stored, encoded where the file is).
struct PagePatch {
    uint32_t pageSize = 0;
    uint32_t pageCount = 0;  // pages of the new file
    std::map<uint32_t, std::vector<uint8_t>> pages;
};

// Held while the database is being changed; releases the lock when destroyed.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0;
    // Names in `folder` (not . and ..).
    virtual std::vector<std::string> listFolder(const std::string& folder) = 0;
    virtual Result<FileStamp> stamp(const std::string& path) = 0;
    // A small file whole (lock files); Io past `limit` bytes.
    virtual Result<std::vector<uint8_t>> readAll(const std::string& path,
                                                 size_t limit = 1 << 20) = 0;
    // Can this process write the file / create files in the folder? Honours
    // the permission bits for root too.
    virtual Status checkWritable(const std::string& path) = 0;
    virtual Status checkFolderWritable(const std::string& folder) = 0;
    // An exclusive advisory lock on `path`; Io when another process holds one.
    virtual Result<std::unique_ptr<FileLock>> lock(const std::string& path) = 0;
    // Creates `path` (which must not exist) with `mode` as a copy of `source`
    // with `patch` applied, streaming, and flushes it to disk.
    virtual Status writeCopy(const std::string& source, const std::string& path,
                             const PagePatch& patch, uint32_t mode) = 0;
    // Swaps the files `a` and `b` atomically, then flushes the folder.
    virtual Status exchange(const std::string& a, const std::string& b) = 0;
    // Renames `from` to `to` unless `to` exists.
    virtual Status renameNoReplace(const std::string& from, const std::string& to) = 0;
    virtual Status remove(const std::string& path) = 0;
};

class RealFileSystem : public FileSystem {
  public:
    bool exists(const std::string& path) override;
    std::vector<std::string> listFolder(const std::string& folder) override;
    Result<FileStamp> stamp(const std::string& path) override;
    Result<std::vector<uint8_t>> readAll(const std::string& path, size_t limit) override;
    Status checkWritable(const std::string& path) override;
    Status checkFolderWritable(const std::string& folder) override;
    Result<std::unique_ptr<FileLock>> lock(const std::string& path) override;
    Status writeCopy(const std::string& source, const std::string& path, const PagePatch& patch,
                     uint32_t mode) override;
    Status exchange(const std::string& a, const std::string& b) override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;
};

}  // namespace jet::write
