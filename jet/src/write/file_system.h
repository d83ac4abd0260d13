// The file operations of a safe save, behind an interface so tests can make
// any step fail (and can pretend a file is read-only, which root ignores).
// RealFileSystem is the POSIX implementation.
#pragma once

#include <cstdint>
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
    bool operator==(const FileStamp&) const = default;
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
    virtual Result<FileStamp> stamp(const std::string& path) = 0;
    virtual Result<std::vector<uint8_t>> readAll(const std::string& path) = 0;
    // Can this process write the file / create files in the folder?
    virtual Status checkWritable(const std::string& path) = 0;
    virtual Status checkFolderWritable(const std::string& folder) = 0;
    // An exclusive advisory lock on `path`; Io when another process holds one.
    virtual Result<std::unique_ptr<FileLock>> lock(const std::string& path) = 0;
    // Creates `path` (which must not exist) with `mode`, writes, flushes to disk.
    virtual Status writeNew(const std::string& path, const std::vector<uint8_t>& bytes,
                            uint32_t mode) = 0;
    // Makes `link` a second name of `path`, or a copy where links fail; never
    // replaces an existing `link`.
    virtual Status keepCopy(const std::string& path, const std::string& link) = 0;
    // Atomically replaces `to` with `from`, then flushes the folder.
    virtual Status replace(const std::string& from, const std::string& to) = 0;
    virtual Status remove(const std::string& path) = 0;
};

class RealFileSystem : public FileSystem {
  public:
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
};

}  // namespace jet::write
