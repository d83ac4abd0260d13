// The open file behind a Database: reads whole pages, or runs of them, with
// pread (so a file that shrinks gives an error, never SIGBUS), decodes encoded pages, and
// knows the header facts every reader needs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "header_page.h"
#include "jet/status.h"
#include "page_codec.h"
#include "text_decoder.h"

namespace jet {

class DatabaseFile {
  public:
    // Opens `path`, checks the header and the password, sets up the codec.
    static Result<std::unique_ptr<DatabaseFile>> open(const std::string& path,
                                                      std::string_view password);
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    const std::string& path() const { return path_; }
    const HeaderPage& header() const { return header_; }
    bool jet3() const { return header_.format == FileFormat::Jet3; }
    uint32_t pageSize() const { return header_.pageSize; }
    // Pages in the file when it was opened (or last refreshed).
    uint32_t pageCount() const { return pageCount_; }
    const CodePageDecoder& codePage() const { return *decoder_; }
    const PageCodec* codec() const { return codec_.get(); }
    int fd() const { return fd_; }

    // Reads page `number` into `out` (pageSize() bytes), decoded. Fails with
    // Corrupt when the page lies past the end of the file.
    Status readPage(uint32_t number, uint8_t* out) const;
    // Reads up to `count` consecutive pages from `first` into `out` in one
    // read, decoded, and sets `read` to the number of whole pages that came
    // (at least one on success). Fails as readPage does when page `first`
    // cannot be read; pages after it that cannot are simply not counted, for
    // a later read of them to report.
    Status readRun(uint32_t first, uint32_t count, uint8_t* out, uint32_t& read) const;
    // Re-reads the file size (after a writer extended the file).
    Status refreshSize();
    // Whether `other` names this file (same device and inode): any spelling,
    // a symbolic or a hard link.
    bool isFile(const std::string& other) const;

  private:
    DatabaseFile() = default;
    Status setUpCodec(std::span<const uint8_t> page0, std::string_view password);

    std::string path_;
    int fd_ = -1;
    HeaderPage header_;
    uint32_t pageCount_ = 0;
    std::unique_ptr<PageCodec> codec_;
    std::unique_ptr<CodePageDecoder> decoder_;
};

}  // namespace jet
