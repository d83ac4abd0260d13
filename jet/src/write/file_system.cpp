#include "write/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace jet::write {
namespace {

Status ioError(const std::string& what, const std::string& path, int error = errno) {
    return {ErrorCode::Io, what + " '" + path + "': " + std::strerror(error)};
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

class FdLock : public FileLock {
  public:
    explicit FdLock(int fd) : fd_(fd) {}
    ~FdLock() override { ::close(fd_); }  // closing drops the lock

  private:
    int fd_;
};

// Closes the descriptor on every path out.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

Status writeAt(int fd, const uint8_t* bytes, size_t size, off_t at, const std::string& path) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, bytes + done, size - done, at + off_t(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return ioError("Cannot write", path, n < 0 ? errno : ENOSPC);
        }
        done += size_t(n);
    }
    return Status::ok();
}

// Copies `size` bytes in the kernel where it can, through a buffer elsewhere.
Status copyBytes(int from, int to, uint64_t size, const std::string& path) {
    uint64_t done = 0;
    while (done < size) {
        loff_t in = loff_t(done), out = loff_t(done);
        const ssize_t n = ::copy_file_range(from, &in, to, &out, size - done, 0);
        if (n > 0) {
            done += uint64_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 0 || errno == ENOSPC || errno == EIO || errno == EDQUOT) {
            return ioError("Cannot write", path, n == 0 ? EIO : errno);
        }
        break;  // not offered here (other file systems, old kernels)
    }
    std::vector<uint8_t> buffer(1 << 20);
    while (done < size) {
        const ssize_t n = ::pread(from, buffer.data(),
                                  std::min<uint64_t>(buffer.size(), size - done), off_t(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return ioError("Cannot read the database while copying it to", path,
                           n < 0 ? errno : EIO);
        }
        if (Status status = writeAt(to, buffer.data(), size_t(n), off_t(done), path); !status) {
            return status;
        }
        done += uint64_t(n);
    }
    return Status::ok();
}

Status syncFolder(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return ioError("Cannot open the folder of", path);
    }
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    return result == 0 ? Status::ok() : ioError("Cannot flush the folder of", path, error);
}

bool lacksWriteBits(const std::string& path) {
    struct stat st;
    return ::geteuid() == 0 && ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

}  // namespace

bool RealFileSystem::exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> RealFileSystem::listFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

Result<FileStamp> RealFileSystem::stamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        return ioError("Cannot examine", path);
    }
    return FileStamp{static_cast<uint64_t>(st.st_size),
                     int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<uint64_t>(st.st_ino),
                     static_cast<uint64_t>(st.st_dev),
                     static_cast<uint32_t>(st.st_mode & 07777),
                     S_ISREG(st.st_mode)};
}

Result<std::vector<uint8_t>> RealFileSystem::readAll(const std::string& path, size_t limit) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        return ioError("Cannot open", path);
    }
    if (!S_ISREG(st.st_mode) || uint64_t(st.st_size) > limit) {
        return Status(ErrorCode::Io, "'" + path + "' is not a small regular file");
    }
    std::vector<uint8_t> bytes(size_t(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd.get(), bytes.data() + done, bytes.size() - done, off_t(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return ioError("Cannot read", path, n < 0 ? errno : EIO);
        }
        done += size_t(n);
    }
    return bytes;
}

Status RealFileSystem::checkWritable(const std::string& path) {
    if (::access(path.c_str(), W_OK) != 0) {
        return ioError("The database is read-only:", path);
    }
    return lacksWriteBits(path) ? ioError("The database is read-only:", path, EACCES)
                                : Status::ok();
}

Status RealFileSystem::checkFolderWritable(const std::string& folder) {
    if (::access(folder.c_str(), W_OK | X_OK) != 0 || lacksWriteBits(folder)) {
        return ioError("Cannot create files in the folder", folder,
                       errno == 0 || lacksWriteBits(folder) ? EACCES : errno);
    }
    return Status::ok();
}

Result<std::unique_ptr<FileLock>> RealFileSystem::lock(const std::string& path) {
    // Non-blocking: a FIFO put in the database's place must not hang the save.
    Fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        return ioError("Cannot open for writing", path);
    }
    if (!S_ISREG(st.st_mode)) {
        return Status(ErrorCode::Io, "'" + path + "' is not a regular file");
    }
    // flock, not fcntl: closing any other descriptor of the file (the reader
    // opens its own) would silently drop an fcntl lock of this process.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return Status(ErrorCode::Io, "The database '" + path +
                                         "' is being changed by another program (" +
                                         std::strerror(errno) + ").");
    }
    return std::unique_ptr<FileLock>(new FdLock(fd.release()));
}

Status RealFileSystem::writeCopy(const std::string& source, const std::string& path,
                                 const PagePatch& patch, uint32_t mode) {
    Fd from(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (from.get() < 0 || ::fstat(from.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return ioError("Cannot read", source, from.get() < 0 ? errno : EINVAL);
    }
    Fd to(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (to.get() < 0) {
        return ioError("Cannot create", path);
    }
    ::fchmod(to.get(), mode);  // the umask must not narrow the original's permissions
    const uint64_t newSize = uint64_t(patch.pageCount) * patch.pageSize;
    Status status = copyBytes(from.get(), to.get(), std::min<uint64_t>(st.st_size, newSize), path);
    for (auto it = patch.pages.begin(); status && it != patch.pages.end(); ++it) {
        status = writeAt(to.get(), it->second.data(), it->second.size(),
                         off_t(uint64_t(it->first) * patch.pageSize), path);
    }
    if (status && ::ftruncate(to.get(), off_t(newSize)) != 0) {
        status = ioError("Cannot write", path);
    }
    if (status && ::fsync(to.get()) != 0) {
        status = ioError("Cannot write", path);
    }
    if (::close(to.release()) != 0 && status) {
        status = ioError("Cannot write", path);
    }
    return status;
}

Status RealFileSystem::exchange(const std::string& a, const std::string& b) {
    if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) != 0) {
        return ioError("Cannot replace", b);
    }
    return syncFolder(b);
}

Status RealFileSystem::renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        return ioError("Cannot rename to", to);
    }
    return syncFolder(to);
}

Status RealFileSystem::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? Status::ok() : ioError("Cannot remove", path);
}

}  // namespace jet::write
