#include "write/safe_writer.h"

#include <cctype>

namespace jet::write {
namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string lowered(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// "computer NAME, user NAME" from the first record of a lock file.
std::string lockHolder(FileSystem& files, const std::string& ldb) {
    auto bytes = files.readAll(ldb, 1 << 16);
    if (!bytes || bytes->size() < 64) {
        return {};
    }
    auto field = [&](size_t at) {
        std::string s;
        for (size_t i = at; i < at + 32 && (*bytes)[i] != 0; ++i) {
            const char c = static_cast<char>((*bytes)[i]);
            s.push_back(c >= 0x20 && c < 0x7F ? c : '?');
        }
        while (!s.empty() && s.back() == ' ') {
            s.pop_back();
        }
        return s;
    };
    return " (computer " + field(0) + ", user " + field(32) + ")";
}

// The lock file beside the database in any spelling ("F.LDB" from Windows
// shares as well as "F.ldb", ".laccdb" beside .accdb files).
std::string findLockFile(FileSystem& files, const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string expected = lowered(lockFilePath(path).substr(folder.size() + 1));
    const std::string other = lowered(expected.ends_with(".laccdb")
                                          ? expected.substr(0, expected.size() - 7) + ".ldb"
                                          : expected.substr(0, expected.size() - 4) + ".laccdb");
    for (const std::string& name : files.listFolder(folder)) {
        const std::string key = lowered(name);
        if (key == expected || key == other) {
            return folder + "/" + name;
        }
    }
    return {};
}

Status checkNotOpenElsewhere(FileSystem& files, const std::string& path) {
    const std::string ldb = findLockFile(files, path);
    if (!ldb.empty()) {
        return {ErrorCode::Io, "The database is open in another program" + lockHolder(files, ldb) +
                                   ": the lock file '" + ldb +
                                   "' exists. Close the database there and try again; if no "
                                   "one has it open, the lock file was left by a crash and "
                                   "can be deleted by hand."};
    }
    return Status::ok();
}

Status changedMeanwhile(const std::string& path) {
    return {ErrorCode::Io, "The database '" + path +
                               "' was changed by another program while the query was being "
                               "saved; nothing was written."};
}

Status checkUnchanged(FileSystem& files, const std::string& path, const FileStamp& before) {
    if (Status status = checkNotOpenElsewhere(files, path); !status) {
        return status;
    }
    auto now = files.stamp(path);
    if (!now) {
        return now.status();
    }
    return *now == before ? Status::ok() : changedMeanwhile(path);
}

// Moves another program's file out of the temporary name, which the next
// save clears, to "NAME.~foreign-N" (the first N free), which nothing of
// ours ever removes. Returns where the file is now.
std::string setAside(FileSystem& files, const std::string& path, const std::string& temp) {
    for (int n = 1; n <= 1000; ++n) {
        const std::string aside = foreignPath(path, n);
        if (files.exists(aside)) {
            continue;
        }
        if (files.renameNoReplace(temp, aside)) {
            return aside;
        }
    }
    return temp;
}

// Puts the verified copy in place. The exchange leaves the old file at
// `temp`; if that is not the file that was read, another program replaced
// the database meanwhile: swap back so its file stays.
Status exchangeInto(FileSystem& files, const std::string& path, const std::string& temp,
                    const FileStamp& before, bool keepBackup, bool& keepTemp) {
    if (Status status = files.exchange(temp, path); !status) {
        return status;
    }
    auto old = files.stamp(temp);
    if (!old || !(*old == before)) {
        Status back = files.exchange(temp, path);
        if (!back) {
            keepTemp = true;  // it holds the other program's file
            return {ErrorCode::Io, "The database '" + path +
                                       "' was replaced by another program while the query was "
                                       "being saved; that program's file is now '" +
                                       setAside(files, path, temp) + "'."};
        }
        return changedMeanwhile(path);
    }
    const std::string backup = backupPath(path);
    if (keepBackup && !files.exists(backup) && files.renameNoReplace(temp, backup)) {
        return Status::ok();
    }
    (void)files.remove(temp);  // the database is already changed; a failure here loses nothing
    return Status::ok();
}

// Steps after the temporary file exists; the caller removes it on failure.
Status finishWithTemp(FileSystem& files, const std::string& path, const std::string& temp,
                      const FileStamp& before, const SafeWriteSteps& steps, bool& keepTemp) {
    if (Status status = steps.verify(temp); !status) {
        return {status.code(),
                "The changed database did not pass its check, so the original "
                "was left as it was: " +
                    status.message()};
    }
    if (Status status = checkUnchanged(files, path, before); !status) {
        return status;
    }
    return exchangeInto(files, path, temp, before, steps.keepBackup, keepTemp);
}

Status checkCanWrite(FileSystem& files, const std::string& path) {
    if (Status status = checkNotOpenElsewhere(files, path); !status) {
        return status;
    }
    for (Status status : {files.checkWritable(path), files.checkFolderWritable(folderOf(path))}) {
        if (!status) {
            return status;
        }
    }
    return Status::ok();
}

}  // namespace

std::string lockFilePath(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + ".ldb";
    }
    const bool ace = lowered(path.substr(dot)) == ".accdb";
    return path.substr(0, dot) + (ace ? ".laccdb" : ".ldb");
}

std::string temporaryPath(const std::string& path) {
    return path + ".~tmp";
}

std::string backupPath(const std::string& path) {
    return path + ".bak";
}

std::string foreignPath(const std::string& path, int n) {
    return path + ".~foreign-" + std::to_string(n);
}

void removeStaleTemporary(FileSystem& files, const std::string& path, const FileLock&) {
    // Holding the lock, a temporary file can only be left by an interrupted
    // save of ours.
    const std::string temp = temporaryPath(path);
    if (files.exists(temp)) {
        (void)files.remove(temp);
    }
}

void removeStaleTemporary(FileSystem& files, const std::string& path) {
    if (!files.exists(temporaryPath(path))) {
        return;
    }
    if (auto lock = files.lock(path)) {
        removeStaleTemporary(files, path, **lock);
    }
}

Status safeWrite(FileSystem& files, const std::string& path, const SafeWriteSteps& steps) {
    if (Status status = checkCanWrite(files, path); !status) {
        return status;
    }
    auto lock = files.lock(path);
    if (!lock) {
        return lock.status();
    }
    const std::string temp = temporaryPath(path);
    removeStaleTemporary(files, path, **lock);
    auto before = files.stamp(path);
    if (!before) {
        return before.status();
    }
    auto patch = steps.change(path);
    if (!patch) {
        return patch.status();
    }
    if (Status status = files.writeCopy(path, temp, *patch, before->mode); !status) {
        (void)files.remove(temp);
        return status;
    }
    bool keepTemp = false;
    Status status = finishWithTemp(files, path, temp, *before, steps, keepTemp);
    if (!status && !keepTemp) {
        (void)files.remove(temp);
    }
    return status;
}

}  // namespace jet::write
