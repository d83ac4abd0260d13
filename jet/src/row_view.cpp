#include "row_view.h"

#include "byte_reader.h"

namespace jet {

bool RowView::parse(const uint8_t* row, uint32_t length, bool jet3, bool hasVariable) {
    row_ = row;
    length_ = length;
    jet3_ = jet3;
    const uint32_t countSize = jet3 ? 1 : 2;
    if (length < countSize)
        return false;
    columns_ = jet3 ? row[0] : le16(row);
    const uint32_t maskSize = (columns_ + 7) / 8;
    if (countSize + maskSize > length)
        return false;
    mask_ = row + length - maskSize;
    dataEnd_ = length - maskSize;
    varCount_ = 0;
    return jet3 ? parseJet3Offsets(hasVariable) : parseJet4Offsets(hasVariable);
}

bool RowView::parseJet4Offsets(bool hasVariable) {
    if (!hasVariable)
        return true;
    const uint32_t maskEnd = dataEnd_;
    if (maskEnd < 2 + 2)
        return false;
    varCount_ = le16(row_ + maskEnd - 2);
    // Offsets 0..V, each two bytes, below the count.
    if (static_cast<uint64_t>(varCount_ + 1) * 2 + 2 + 2 > maskEnd)
        return false;
    jet4Offsets_ = row_ + maskEnd - 4;
    dataEnd_ = maskEnd - 2 - 2 * (varCount_ + 1);
    return true;
}

// One-byte offsets; entries of the jump table say at which variable column
// each further 256 bytes begin.
bool RowView::parseJet3Offsets(bool hasVariable) {
    if (!hasVariable)
        return true;
    const uint32_t maskEnd = dataEnd_;  // L - M
    if (maskEnd < 1 + 1)
        return false;
    varCount_ = row_[maskEnd - 1];
    uint32_t jumps = (length_ - 1) / 256;
    if (maskEnd < 2 + jumps)
        return false;
    const uint32_t tableStart = maskEnd - 2 - jumps;  // P: offset 0
    if (tableStart < varCount_ + 1)
        return false;
    if ((tableStart - varCount_) / 256 < jumps)
        --jumps;  // last jump entry is a dummy
    offsets_.resize(varCount_ + 1);
    uint32_t passed = 0;
    for (uint32_t k = 0; k <= varCount_; ++k) {
        while (passed < jumps && row_[maskEnd - 2 - passed] == k)
            ++passed;
        offsets_[k] = row_[tableStart - k] + 256 * passed;
    }
    dataEnd_ = tableStart - varCount_;
    return true;
}

}  // namespace jet
