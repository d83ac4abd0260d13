// PageCodec: turns a page as stored on disk into plain page bytes. Jet 3/4
// "encoded" files use RC4 per page; encrypted ACE files use Office encryption
// keyed by the password. Page 0 is never passed through a codec.
#pragma once

#include <cstdint>
#include <span>

#include "jet/status.h"

namespace jet {

class PageCodec {
public:
    virtual ~PageCodec() = default;

    // Decodes `page` (page number `pageNumber`, whole page) in place.
    virtual Status decode(uint32_t pageNumber, std::span<uint8_t> page) const = 0;

    // Encodes `page` in place, for the saved-query writer. A codec that cannot
    // encode returns ErrorCode::Unsupported.
    virtual Status encode(uint32_t pageNumber, std::span<uint8_t> page) const = 0;
};

}  // namespace jet
