// The one way the program changes a database file: refuse while a lock file
// says the database is open elsewhere or the file or folder cannot be
// written; hold an advisory lock; build the new contents from the original's
// bytes; write them to a temporary file in the same folder; verify that file;
// make sure the original did not change meanwhile; keep "NAME.mdb.bak" (only
// if no such file exists); and atomically rename the temporary file over the
// original. Any failure leaves the original byte for byte as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "jet/status.h"
#include "write/file_system.h"

namespace jet::write {

struct SafeWriteSteps {
    // New file contents from the original's.
    std::function<Result<std::vector<uint8_t>>(const std::vector<uint8_t>& original)> change;
    // Checks the written temporary file, read back from disk.
    std::function<Status(const std::string& tempPath)> verify;
};

Status safeWrite(FileSystem& fs, const std::string& path, const SafeWriteSteps& steps);

// "C:/x/Shop.mdb" -> "C:/x/Shop.ldb": where Jet keeps the lock file.
std::string lockFilePath(const std::string& path);
std::string temporaryPath(const std::string& path);
std::string backupPath(const std::string& path);

}  // namespace jet::write
