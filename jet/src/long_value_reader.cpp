#include "long_value_reader.h"

#include <algorithm>
#include <unordered_set>

#include "byte_reader.h"
#include "data_page.h"

namespace jet {
namespace {

constexpr uint32_t kLengthMask = 0x3FFFFFFF;
constexpr uint32_t kInline = 2;
constexpr uint32_t kOtherPage = 1;
constexpr uint32_t kChain = 0;

std::string where(uint32_t pointer) {
    return "row " + std::to_string(pointerRow(pointer)) + " of page " +
           std::to_string(pointerPage(pointer));
}

}  // namespace

LongValueReader::LongValueReader(const DatabaseFile& file) : file_(file) {}

const LongValueReader::CachedPage* LongValueReader::page(uint32_t number, Status& status) {
    for (const CachedPage& p : cache_)
        if (p.valid && p.number == number)
            return &p;
    CachedPage& slot = cache_[nextVictim_];
    nextVictim_ = (nextVictim_ + 1) % kCachedPages;
    slot.valid = false;
    slot.bytes.resize(file_.pageSize());
    status = file_.readPage(number, slot.bytes.data());
    if (!status)
        return nullptr;
    slot.number = number;
    slot.valid = true;
    return &slot;
}

Status LongValueReader::row(uint32_t pointer, const uint8_t*& data, uint32_t& size) {
    Status status;
    const CachedPage* p = page(pointerPage(pointer), status);
    if (!p)
        return Status(ErrorCode::Corrupt,
                      "Long value at " + where(pointer) + ": " + status.message());
    const DataPage dp{p->bytes.data(), file_.pageSize(), file_.jet3()};
    uint32_t start = 0, end = 0;
    const uint32_t slot = pointerRow(pointer);
    if (p->bytes[0] != DataPage::kType || slot >= dp.slotCount() || !dp.slotRange(slot, start, end))
        return Status(ErrorCode::Corrupt, "Long value points to a missing " + where(pointer) + ".");
    data = p->bytes.data() + start;
    size = end - start;
    return Status::ok();
}

Status LongValueReader::read(const uint8_t* field, uint32_t size, std::string& out) {
    if (size == 0)
        return Status::ok();
    if (size < kHeaderSize)
        return Status(ErrorCode::Corrupt,
                      "Long value header is " + std::to_string(size) + " bytes.");
    const uint32_t header = le32(field);
    const uint32_t length = header & kLengthMask;
    const uint32_t kind = header >> 30;
    const uint32_t pointer = le32(field + 4);
    if (kind == kInline) {
        out.append(reinterpret_cast<const char*>(field) + kHeaderSize,
                   std::min(length, size - kHeaderSize));
        return Status::ok();
    }
    if (kind == kOtherPage) {
        const uint8_t* data = nullptr;
        uint32_t rowSize = 0;
        if (Status s = row(pointer, data, rowSize); !s)
            return s;
        out.append(reinterpret_cast<const char*>(data), std::min(length, rowSize));
        return Status::ok();
    }
    if (kind == kChain)
        return readChain(pointer, length, out);
    return Status(ErrorCode::Corrupt, "Long value has an unknown storage kind.");
}

Status LongValueReader::readChain(uint32_t pointer, uint32_t length, std::string& out) {
    std::unordered_set<uint32_t> seen;
    const size_t begin = out.size();
    while (pointer != 0 && out.size() - begin < length) {
        if (!seen.insert(pointer).second)
            return Status(ErrorCode::Corrupt, "Long value chain loops at " + where(pointer) + ".");
        const uint8_t* data = nullptr;
        uint32_t rowSize = 0;
        if (Status s = row(pointer, data, rowSize); !s)
            return s;
        if (rowSize < 4)
            return Status(ErrorCode::Corrupt,
                          "Long value piece too short at " + where(pointer) + ".");
        const uint32_t next = le32(data);
        const size_t want = length - (out.size() - begin);
        out.append(reinterpret_cast<const char*>(data) + 4, std::min<size_t>(want, rowSize - 4));
        pointer = next;
    }
    return Status::ok();
}

}  // namespace jet
