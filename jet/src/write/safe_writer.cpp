#include "write/safe_writer.h"

namespace jet::write {
namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// "computer NAME, user NAME" from the first record of a lock file.
std::string lockHolder(FileSystem& fs, const std::string& ldb) {
    auto bytes = fs.readAll(ldb);
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

Status checkNotOpenElsewhere(FileSystem& fs, const std::string& path) {
    const std::string ldb = lockFilePath(path);
    if (fs.exists(ldb)) {
        return {ErrorCode::Io, "The database is open in another program" + lockHolder(fs, ldb) +
                                   ": the lock file '" + ldb +
                                   "' exists. Close the database there and try again; if no "
                                   "one has it open, the lock file was left by a crash and "
                                   "can be deleted by hand."};
    }
    return Status::ok();
}

Status checkUnchanged(FileSystem& fs, const std::string& path, const FileStamp& before) {
    if (Status status = checkNotOpenElsewhere(fs, path); !status) {
        return status;
    }
    auto now = fs.stamp(path);
    if (!now) {
        return now.status();
    }
    if (!(*now == before)) {
        return {ErrorCode::Io, "The database '" + path +
                                   "' was changed by another program while the query was "
                                   "being saved; nothing was written."};
    }
    return Status::ok();
}

// Steps after the temporary file exists; the caller removes it on failure.
Status finishWithTemp(FileSystem& fs, const std::string& path, const std::string& temp,
                      const FileStamp& before, const SafeWriteSteps& steps) {
    if (Status status = steps.verify(temp); !status) {
        return {status.code(),
                "The changed database did not pass its check, so the original "
                "was left as it was: " +
                    status.message()};
    }
    if (Status status = checkUnchanged(fs, path, before); !status) {
        return status;
    }
    const std::string backup = backupPath(path);
    if (!fs.exists(backup)) {
        if (Status status = fs.keepCopy(path, backup); !status) {
            return {status.code(),
                    "The backup copy could not be made, so nothing was "
                    "changed: " +
                        status.message()};
        }
    }
    return fs.replace(temp, path);
}

}  // namespace

std::string lockFilePath(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + ".ldb";
    }
    return path.substr(0, dot) + ".ldb";
}

std::string temporaryPath(const std::string& path) {
    return path + ".~tmp";
}

std::string backupPath(const std::string& path) {
    return path + ".bak";
}

Status safeWrite(FileSystem& fs, const std::string& path, const SafeWriteSteps& steps) {
    if (Status status = checkNotOpenElsewhere(fs, path); !status) {
        return status;
    }
    for (Status status : {fs.checkWritable(path), fs.checkFolderWritable(folderOf(path))}) {
        if (!status) {
            return status;
        }
    }
    auto lock = fs.lock(path);
    if (!lock) {
        return lock.status();
    }
    auto before = fs.stamp(path);
    if (!before) {
        return before.status();
    }
    auto original = fs.readAll(path);
    if (!original) {
        return original.status();
    }
    auto changed = steps.change(*original);
    if (!changed) {
        return changed.status();
    }
    const std::string temp = temporaryPath(path);
    if (fs.exists(temp)) {
        (void)fs.remove(temp);  // left by an interrupted save of ours
    }
    if (Status status = fs.writeNew(temp, *changed, before->mode); !status) {
        (void)fs.remove(temp);
        return status;
    }
    Status status = finishWithTemp(fs, path, temp, *before, steps);
    if (!status) {
        (void)fs.remove(temp);
    }
    return status;
}

}  // namespace jet::write
