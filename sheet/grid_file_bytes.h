// Little-endian byte writing and bounds-checked reading for the grid file.
// The reader never reads past its end: a short or damaged file turns into a
// failure naming the part of the file and the byte offset.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>
#include <string_view>

namespace sheet {

class GridFileWriter {
  public:
    QByteArray& bytes() { return out_; }
    void u8(uint32_t v) { out_.append(char(v & 0xFF)); }
    void u32(uint32_t v);
    void f64(double v);
    void varint(uint64_t v);
    void text(std::string_view s);  // varint length, then the bytes
    void raw(std::string_view s) { out_.append(s.data(), qsizetype(s.size())); }

  private:
    QByteArray out_;
};

class GridFileReader {
  public:
    explicit GridFileReader(const QByteArray& bytes)
        : p_(bytes.constData()), n_(std::size_t(bytes.size())) {}

    // Each read names what it reads, for the failure message. After the
    // first failure every read returns 0 or empty and ok() stays false.
    uint32_t u8(const char* what);
    uint32_t u32(const char* what);
    double f64(const char* what);
    uint64_t varint(const char* what);
    std::string_view bytes(std::size_t length, const char* what);
    std::string_view text(const char* what);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    std::size_t offset() const { return i_; }
    std::size_t remaining() const { return n_ - i_; }
    void seek(std::size_t offset) { i_ = offset; }
    void fail(const std::string& what);

  private:
    bool need(std::size_t count, const char* what);

    const char* p_;
    std::size_t n_;
    std::size_t i_ = 0;
    std::string error_;
};

}  // namespace sheet
