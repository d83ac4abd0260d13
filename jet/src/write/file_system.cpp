#include "write/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

Status writeFully(int fd, const std::vector<uint8_t>& bytes, const std::string& path) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return ioError("Cannot write", path);
        }
        done += static_cast<size_t>(n);
    }
    return ::fsync(fd) == 0 ? Status::ok() : ioError("Cannot flush", path);
}

Status syncFolder(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return ioError("Cannot open the folder of", path);
    }
    ::fsync(fd);
    ::close(fd);
    return Status::ok();
}

}  // namespace

bool RealFileSystem::exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

Result<FileStamp> RealFileSystem::stamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        return ioError("Cannot examine", path);
    }
    return FileStamp{static_cast<uint64_t>(st.st_size),
                     int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_dev),
                     static_cast<uint32_t>(st.st_mode & 07777)};
}

Result<std::vector<uint8_t>> RealFileSystem::readAll(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return ioError("Cannot open", path);
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[1 << 16];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return ioError("Cannot read", path, error);
        }
        if (n == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return bytes;
}

Status RealFileSystem::checkWritable(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0 ? Status::ok()
                                             : ioError("The database is read-only:", path);
}

Status RealFileSystem::checkFolderWritable(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0
               ? Status::ok()
               : ioError("Cannot create files in the folder", folder);
}

Result<std::unique_ptr<FileLock>> RealFileSystem::lock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return ioError("Cannot open for writing", path);
    }
    // flock, not fcntl: closing any other descriptor of the file (the reader
    // opens its own) would silently drop an fcntl lock of this process.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return Status(ErrorCode::Io, "The database '" + path +
                                         "' is being changed by another program (" +
                                         std::strerror(error) + ").");
    }
    return std::unique_ptr<FileLock>(new FdLock(fd));
}

Status RealFileSystem::writeNew(const std::string& path, const std::vector<uint8_t>& bytes,
                                uint32_t mode) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        return ioError("Cannot create", path);
    }
    ::fchmod(fd, mode);  // the umask must not narrow the original's permissions
    Status status = writeFully(fd, bytes, path);
    if (::close(fd) != 0 && status) {
        status = ioError("Cannot close", path);
    }
    return status;
}

Status RealFileSystem::keepCopy(const std::string& path, const std::string& link) {
    if (::link(path.c_str(), link.c_str()) == 0) {
        return syncFolder(link);
    }
    if (errno == EEXIST) {
        return ioError("Will not replace the existing backup", link);
    }
    auto bytes = readAll(path);
    if (!bytes) {
        return bytes.status();
    }
    auto st = stamp(path);
    return writeNew(link, *bytes, st ? st->mode : 0644);
}

Status RealFileSystem::replace(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return ioError("Cannot replace", to);
    }
    return syncFolder(to);
}

Status RealFileSystem::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? Status::ok() : ioError("Cannot remove", path);
}

}  // namespace jet::write
