// HexDump: bytes as the lines of a hex viewer: an offset column, 16 bytes a
// line in hex, and the printable ASCII characters beside them ("." for the
// rest).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sheet {

class HexDump {
  public:
    static constexpr std::size_t kBytesPerLine = 16;

    // The lines of the first `limit` bytes, each ended by a line feed.
    static std::string lines(std::string_view bytes, std::size_t limit);
};

}  // namespace sheet
