// A small RAM file system (tmpfs) mounted on a folder for the life of the
// object, for tests of what a full disk does to a save. Mounting needs root
// (or CAP_SYS_ADMIN); where that is missing, mounted() is false and whyNot()
// says why, so the test can skip with the reason. Header-only: used by the
// engine's and the window's tests alike.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace testsupport {

class SmallFileSystem {
  public:
    // Mounts a tmpfs of `bytes` (rounded up to whole pages) on `folder`,
    // which must exist and be empty.
    SmallFileSystem(std::string folder, unsigned long bytes) : folder_(std::move(folder)) {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        if (::mount("tablescope-test", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.c_str()) == 0) {
            mounted_ = true;
        } else {
            whyNot_ = "cannot mount a small tmpfs on " + folder_ + " (" + std::strerror(errno) +
                      "; the test needs root)";
        }
    }
    ~SmallFileSystem() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    const std::string& folder() const { return folder_; }

    // Bytes still free for new data.
    unsigned long long freeBytes() const {
        struct statvfs st {};
        if (::statvfs(folder_.c_str(), &st) != 0)
            return 0;
        return static_cast<unsigned long long>(st.f_bavail) * st.f_frsize;
    }

    // Takes all but `leave` of the free space with a filler file, so the
    // next write past that fails with ENOSPC. False when it cannot.
    bool fillLeaving(unsigned long long leave) {
        const unsigned long long free = freeBytes();
        if (free < leave)
            return false;
        const int fd = ::open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        std::vector<char> block(1 << 16, 'x');
        unsigned long long left = free - leave;
        bool ok = true;
        while (left > 0 && ok) {
            const size_t n = left < block.size() ? size_t(left) : block.size();
            const ssize_t written = ::write(fd, block.data(), n);
            ok = written > 0;
            left -= ok ? static_cast<unsigned long long>(written) : 0;
        }
        ::close(fd);
        return ok;
    }

  private:
    std::string folder_;
    bool mounted_ = false;
    std::string whyNot_;
};

}  // namespace testsupport
