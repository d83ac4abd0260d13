#include "write/page_image.h"

#include <cstring>
#include <string>

namespace jet::write {

Result<PageImage> PageImage::fromFile(std::vector<uint8_t> fileBytes, uint32_t pageSize, bool jet3,
                                      const PageCodec* codec) {
    if (pageSize == 0 || fileBytes.empty() || fileBytes.size() % pageSize != 0) {
        return Result<PageImage>(ErrorCode::Corrupt, "the file size (" +
                                                         std::to_string(fileBytes.size()) +
                                                         " bytes) is not a whole number of pages");
    }
    PageImage image;
    image.bytes_ = std::move(fileBytes);
    image.pageSize_ = pageSize;
    image.jet3_ = jet3;
    image.originalCount_ = image.pageCount();
    if (codec) {
        for (uint32_t n = 1; n < image.pageCount(); ++n) {
            std::span<uint8_t> page(image.bytes_.data() + size_t(n) * pageSize, pageSize);
            if (Status status = codec->decode(n, page); !status) {
                return status;
            }
        }
    }
    return image;
}

uint8_t* PageImage::mutablePage(uint32_t number) {
    changed_.insert(number);
    return bytes_.data() + size_t(number) * pageSize_;
}

uint32_t PageImage::appendPage() {
    const uint32_t number = pageCount();
    bytes_.resize(bytes_.size() + pageSize_, 0);
    changed_.insert(number);
    return number;
}

Result<std::vector<uint8_t>> PageImage::encode(const PageCodec* codec) const {
    std::vector<uint8_t> out = bytes_;
    if (codec) {
        for (uint32_t n = 1; n < pageCount(); ++n) {
            std::span<uint8_t> page(out.data() + size_t(n) * pageSize_, pageSize_);
            if (Status status = codec->encode(n, page); !status) {
                return status;
            }
        }
    }
    return out;
}

}  // namespace jet::write
