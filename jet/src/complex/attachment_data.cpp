#include "complex/attachment_data.h"

#include <zlib.h>

#include "byte_reader.h"

namespace jet {
namespace {

constexpr size_t kWrapperSize = 8;
constexpr uint32_t kRaw = 0;
constexpr uint32_t kCompressed = 1;
constexpr size_t kMinHeader = 12;  // length, flag, extension length

Status corrupt(const std::string& what) {
    return Status(ErrorCode::Corrupt, "The attachment's stored data " + what + ".");
}

struct Wrapper {
    bool compressed = false;
    uint64_t contentLength = 0;  // header and file
    std::string_view body;
};

Result<Wrapper> readWrapper(std::string_view stored) {
    if (stored.size() < kWrapperSize)
        return corrupt("is too short for its header");
    const auto* p = reinterpret_cast<const uint8_t*>(stored.data());
    const uint32_t kind = le32(p);
    if (kind != kRaw && kind != kCompressed)
        return corrupt("has an unknown kind " + std::to_string(kind));
    Wrapper w{kind == kCompressed, le32(p + 4), stored.substr(kWrapperSize)};
    if (w.contentLength > kMaxAttachmentBytes + 4096)
        return Status(ErrorCode::Unsupported,
                      "The attachment declares " + std::to_string(w.contentLength) +
                          " bytes, more than the " + std::to_string(kMaxAttachmentBytes >> 20) +
                          " MB an attachment can hold.");
    return w;
}

// Inflates `w.body` until `limit` bytes are out (or the stream ends).
// Refuses output beyond the declared content length: a stream that inflates
// past it is damaged or hostile.
Result<std::string> inflateContent(const Wrapper& w, uint64_t limit) {
    std::string out;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return corrupt("cannot be inflated (zlib failed to start)");
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(w.body.data()));
    z.avail_in = static_cast<uInt>(w.body.size());
    char chunk[1 << 16];
    int rc = Z_OK;
    while (out.size() < limit && rc != Z_STREAM_END) {
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            break;
        const size_t produced = sizeof chunk - z.avail_out;
        if (out.size() + produced > w.contentLength) {
            inflateEnd(&z);
            return corrupt("inflates past its declared length");
        }
        out.append(chunk, produced);
        if (produced == 0 && rc == Z_BUF_ERROR)
            break;
    }
    inflateEnd(&z);
    if (rc != Z_OK && rc != Z_STREAM_END && !(rc == Z_BUF_ERROR && out.size() >= limit))
        return corrupt("is damaged (" + std::string(z.msg ? z.msg : "inflate failed") + ")");
    return out;
}

Result<std::string> content(const Wrapper& w, uint64_t limit) {
    if (!w.compressed)
        return std::string(w.body.substr(0, std::min<uint64_t>(limit, w.body.size())));
    return inflateContent(w, limit);
}

// The header's own length, checked against the content.
Result<uint32_t> headerLength(std::string_view content, uint64_t contentLength) {
    if (content.size() < 4)
        return corrupt("ends inside its header");
    const uint32_t length = le32(reinterpret_cast<const uint8_t*>(content.data()));
    if (length < kMinHeader || length > contentLength)
        return corrupt("has a header length that does not fit");
    return length;
}

}  // namespace

Result<std::string> decodeAttachmentData(std::string_view stored) {
    Result<Wrapper> w = readWrapper(stored);
    if (!w)
        return w.status();
    Result<std::string> all = content(*w, w->contentLength);
    if (!all)
        return all.status();
    Result<uint32_t> header = headerLength(*all, w->contentLength);
    if (!header)
        return header.status();
    if (all->size() < w->contentLength)
        return corrupt("ends before its declared length");
    return all->substr(*header, w->contentLength - *header);
}

Result<uint64_t> attachmentDataSize(std::string_view stored) {
    Result<Wrapper> w = readWrapper(stored);
    if (!w)
        return w.status();
    Result<std::string> start = content(*w, 4);
    if (!start)
        return start.status();
    Result<uint32_t> header = headerLength(*start, w->contentLength);
    if (!header)
        return header.status();
    return w->contentLength - *header;
}

}  // namespace jet
