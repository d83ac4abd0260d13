#include "write/page_image.h"

#include <algorithm>
#include <memory>
#include <string>

namespace jet::write {

PageImage PageImage::onDemand(PageReader reader, uint32_t pageCount, uint32_t pageSize, bool jet3) {
    PageImage image;
    image.reader_ = std::move(reader);
    image.pageSize_ = pageSize;
    image.pageCount_ = pageCount;
    image.originalCount_ = pageCount;
    image.jet3_ = jet3;
    return image;
}

Result<PageImage> PageImage::fromFile(std::vector<uint8_t> fileBytes, uint32_t pageSize, bool jet3,
                                      const PageCodec* codec) {
    if (pageSize == 0 || fileBytes.empty() || fileBytes.size() % pageSize != 0) {
        return Result<PageImage>(ErrorCode::Corrupt, "the file size (" +
                                                         std::to_string(fileBytes.size()) +
                                                         " bytes) is not a whole number of pages");
    }
    auto bytes = std::make_shared<std::vector<uint8_t>>(std::move(fileBytes));
    const auto count = static_cast<uint32_t>(bytes->size() / pageSize);
    auto reader = [bytes, pageSize, codec](uint32_t number, uint8_t* out) {
        std::copy_n(bytes->data() + size_t(number) * pageSize, pageSize, out);
        return codec && number > 0 ? codec->decode(number, std::span<uint8_t>(out, pageSize))
                                   : Status::ok();
    };
    return onDemand(std::move(reader), count, pageSize, jet3);
}

const uint8_t* PageImage::page(uint32_t number) const {
    auto it = pages_.find(number);
    if (it != pages_.end()) {
        return it->second.data();
    }
    std::vector<uint8_t>& bytes = pages_[number];
    bytes.assign(pageSize_, 0);
    if (number < originalCount_ && reader_) {
        if (Status status = reader_(number, bytes.data()); !status && status_) {
            status_ = status;
            bytes.assign(pageSize_, 0);
        }
    }
    return bytes.data();
}

uint8_t* PageImage::mutablePage(uint32_t number) {
    changed_.insert(number);
    return const_cast<uint8_t*>(page(number));
}

uint32_t PageImage::appendPage() {
    const uint32_t number = pageCount_++;
    pages_[number].assign(pageSize_, 0);
    changed_.insert(number);
    return number;
}

Result<std::map<uint32_t, std::vector<uint8_t>>> PageImage::encodedChanges(
    const PageCodec* codec) const {
    std::map<uint32_t, std::vector<uint8_t>> out;
    for (uint32_t number : changed_) {
        std::vector<uint8_t> bytes(page(number), page(number) + pageSize_);
        if (codec && number > 0) {
            if (Status status = codec->encode(number, bytes); !status) {
                return status;
            }
        }
        out.emplace(number, std::move(bytes));
    }
    if (!status_) {
        return status_;
    }
    return out;
}

}  // namespace jet::write
