// The one way the program changes a database file: refuse while a lock file
// says the database is open elsewhere or the file or folder cannot be
// written; hold an advisory lock; write a copy of the file with the changed
// pages to a temporary file in the same folder (streamed, never the whole
// file in memory); verify that copy; make sure the original did not change
// meanwhile; exchange the two atomically and check that what was swapped out
// is the file that was read (else swap back and refuse, and should the swap
// back fail, keep the other file under a name no save removes); keep the old file as
// "NAME.bak" when asked and no such file exists. Any failure leaves the
// original byte for byte as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "jet/status.h"
#include "write/file_system.h"

namespace jet::write {

struct SafeWriteSteps {
    // The pages to write, planned from the file at the path given.
    std::function<Result<PagePatch>(const std::string& path)> change;
    // Checks the written temporary file, read back from disk.
    std::function<Status(const std::string& tempPath)> verify;
    bool keepBackup = true;
};

// `path` must name the database itself, not a symbolic link to it.
Status safeWrite(FileSystem& files, const std::string& path, const SafeWriteSteps& steps);

// Removes the temporary file an interrupted save left beside `path`, so a
// save refused before it writes anything clears it too. The first form takes
// the lock itself and does nothing while another save holds it.
void removeStaleTemporary(FileSystem& files, const std::string& path);
void removeStaleTemporary(FileSystem& files, const std::string& path, const FileLock& held);

// "/x/Shop.mdb" -> "/x/Shop.ldb": where Jet keeps the lock file (".laccdb"
// beside an .accdb file).
std::string lockFilePath(const std::string& path);
std::string temporaryPath(const std::string& path);
std::string backupPath(const std::string& path);
// Where another program's file is kept when it could not be given back its
// place: "NAME.~foreign-N", never removed by a save.
std::string foreignPath(const std::string& path, int n);

}  // namespace jet::write
