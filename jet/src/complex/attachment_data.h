// The stored form of an attachment's bytes: an 8-byte wrapper (kind: 0 raw,
// 1 deflate-compressed; the length of the content), then the content: a
// header (its own length, a flag, the file extension) and the file's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jet/status.h"

namespace jet {

// The largest file this reader inflates or copies out of an attachment;
// Access itself stores at most 256 MB per attachment.
constexpr uint64_t kMaxAttachmentBytes = uint64_t{256} << 20;

// The file's bytes. Corrupt when the wrapper or header is malformed, the
// compressed data is damaged, or it inflates past its declared length;
// Unsupported when the declared length exceeds kMaxAttachmentBytes.
Result<std::string> decodeAttachmentData(std::string_view stored);

// The file's length without inflating all of it.
Result<uint64_t> attachmentDataSize(std::string_view stored);

}  // namespace jet
