#include "database_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "crypto/ace_codec.h"
#include "jet_page_codec.h"

namespace jet {
namespace {

std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Status readFully(int fd, uint8_t* out, size_t size, off_t offset, size_t& got) {
    got = 0;
    while (got < size) {
        const ssize_t n = pread(fd, out + got, size - got, offset + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Status(ErrorCode::Io, std::string("Read error: ") + std::strerror(errno));
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return Status::ok();
}

}  // namespace

DatabaseFile::~DatabaseFile() {
    if (fd_ >= 0)
        close(fd_);
}

Result<std::unique_ptr<DatabaseFile>> DatabaseFile::open(const std::string& path,
                                                         std::string_view password) {
    std::unique_ptr<DatabaseFile> file(new DatabaseFile());
    file->path_ = path;
    // O_NONBLOCK: opening a FIFO in the database's place must not wait for a
    // writer; it is refused below like any file that is not a regular one.
    file->fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file->fd_ < 0) {
        const int err = errno;
        if (err == ENOENT)
            return Status(ErrorCode::NotFound, "Could not find file '" + path + "'.");
        return Status(ErrorCode::Io, "Cannot open '" + path + "': " + std::strerror(err));
    }
    struct stat st {};
    if (fstat(file->fd_, &st) != 0)
        return Status(ErrorCode::Io, "Cannot open '" + path + "': " + std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return Status(ErrorCode::Unrecognized,
                      "Unrecognized database format '" + fileName(path) + "': " +
                          (S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file") +
                          ", not a database file.");
    // Regular files never block; reads go on as usual.
    fcntl(file->fd_, F_SETFL, fcntl(file->fd_, F_GETFL) & ~O_NONBLOCK);
    std::vector<uint8_t> page0(4096);
    size_t got = 0;
    if (Status s = readFully(file->fd_, page0.data(), page0.size(), 0, got); !s)
        return s;
    page0.resize(got);
    Result<HeaderPage> header = HeaderPage::parse(page0, fileName(path));
    if (!header)
        return header.status();
    file->header_ = *header;
    file->pageCount_ =
        static_cast<uint32_t>(std::min<off_t>(st.st_size / file->header_.pageSize, 0xFFFFFF + 1));
    file->decoder_ = std::make_unique<CodePageDecoder>(file->header_.codePage);
    if (Status s = file->setUpCodec(page0, password); !s)
        return s;
    return file;
}

Status DatabaseFile::setUpCodec(std::span<const uint8_t> page0, std::string_view password) {
    if (header_.format == FileFormat::Ace) {
        if (header_.databaseKey == 0)
            return Status::ok();
        Result<std::unique_ptr<PageCodec>> codec = makeAceCodec(page0, password);
        if (!codec)
            return codec.status();
        codec_ = std::move(codec.value());
        return Status::ok();
    }
    // Jet 3 passwords are stored in the database code page.
    std::string typed(password);
    if (header_.format == FileFormat::Jet3) {
        header_.password = decoder_->decode(header_.password);
    }
    if (!header_.acceptsPassword(typed))
        return Status(ErrorCode::BadPassword, "Not a valid password.");
    if (header_.databaseKey != 0)
        codec_ = std::make_unique<JetPageCodec>(header_.databaseKey);
    return Status::ok();
}

Status DatabaseFile::readPage(uint32_t number, uint8_t* out) const {
    const uint32_t size = header_.pageSize;
    if (number >= pageCount_)
        return Status(ErrorCode::Corrupt, "Page " + std::to_string(number) +
                                              " lies past the end of the file (" +
                                              std::to_string(pageCount_) + " pages).");
    size_t got = 0;
    if (Status s = readFully(fd_, out, size, static_cast<off_t>(number) * size, got); !s)
        return s;
    if (got < size)
        return Status(ErrorCode::Io, "The file ended inside page " + std::to_string(number) +
                                         "; it may have been truncated.");
    if (codec_ && number != 0)
        return codec_->decode(number, std::span<uint8_t>(out, size));
    return Status::ok();
}

Status DatabaseFile::readRun(uint32_t first, uint32_t count, uint8_t* out, uint32_t& read) const {
    read = 0;
    const uint32_t size = header_.pageSize;
    if (first >= pageCount_ || count <= 1) {
        Status s = readPage(first, out);
        read = s.isOk() ? 1 : 0;
        return s;
    }
    count = std::min(count, pageCount_ - first);
    size_t got = 0;
    if (Status s = readFully(fd_, out, size_t{count} * size, static_cast<off_t>(first) * size, got);
        !s)
        return s;
    const uint32_t whole = static_cast<uint32_t>(got / size);
    if (whole == 0)
        return readPage(first, out);
    for (uint32_t i = 0; i < whole; ++i) {
        const uint32_t number = first + i;
        if (codec_ && number != 0) {
            Status s = codec_->decode(number, std::span<uint8_t>(out + size_t{i} * size, size));
            if (!s)
                return i == 0 ? s : (read = i, Status::ok());
        }
    }
    read = whole;
    return Status::ok();
}

Status DatabaseFile::refreshSize() {
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        return Status(ErrorCode::Io,
                      std::string("Cannot read the file size: ") + std::strerror(errno));
    pageCount_ =
        static_cast<uint32_t>(std::min<off_t>(st.st_size / header_.pageSize, 0xFFFFFF + 1));
    return Status::ok();
}

bool DatabaseFile::isFile(const std::string& other) const {
    struct stat target {};
    if (::stat(other.c_str(), &target) != 0)
        return false;
    // The file held open and whatever the path names now: a save renames a
    // new file over the path, so either may be the one the user sees.
    struct stat held {};
    struct stat named {};
    const auto same = [&](const struct stat& st) {
        return st.st_dev == target.st_dev && st.st_ino == target.st_ino;
    };
    return (fstat(fd_, &held) == 0 && same(held)) ||
           (::stat(path_.c_str(), &named) == 0 && same(named));
}

}  // namespace jet
