#include "data_page.h"

#include "byte_reader.h"

namespace jet {
namespace {
uint32_t countOffset(bool jet3) {
    return jet3 ? 8 : 12;
}
}  // namespace

uint32_t DataPage::owner() const {
    return le32(bytes + 4);
}

uint32_t DataPage::slotCount() const {
    const uint32_t at = countOffset(jet3);
    const uint32_t count = le16(bytes + at);
    if (at + 2 + 2 * count > pageSize)
        return 0;
    return count;
}

uint16_t DataPage::slotEntry(uint32_t slot) const {
    return le16(bytes + countOffset(jet3) + 2 + 2 * slot);
}

bool DataPage::slotRange(uint32_t slot, uint32_t& start, uint32_t& end) const {
    start = slotEntry(slot) & kOffsetMask;
    end = slot == 0 ? pageSize : (slotEntry(slot - 1) & kOffsetMask);
    const uint32_t tableEnd = countOffset(jet3) + 2 + 2 * slotCount();
    return start < end && end <= pageSize && start >= tableEnd;
}

}  // namespace jet
