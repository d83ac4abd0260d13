#include "sheet/style_table.h"

#include <bit>
#include <functional>

namespace sheet {

StyleTable::StyleTable() {
    clear();
}

void StyleTable::clear() {
    styles_.assign(1, CellProps());
    ids_.clear();
    ids_.emplace(CellProps(), 0);
}

std::size_t StyleTable::Hash::operator()(const CellProps& p) const {
    // +0 and -0 are equal properties, so they must hash alike.
    const double percent = p.barPercent == 0 ? 0.0 : p.barPercent;
    uint64_t h = std::bit_cast<uint64_t>(percent);
    const auto mix = [&h](uint64_t v) { h = (h ^ v) * 0x9E3779B97F4A7C15ULL; };
    mix(p.foreColor);
    mix(p.backColor);
    mix(p.barColor);
    mix(uint64_t(p.picture) << 32 | uint64_t(p.pictureAlignment) << 24 |
        uint64_t(p.alignment) << 16 | uint64_t(p.checked) << 8 | p.style);
    return std::size_t(h ^ (h >> 29));
}

uint32_t StyleTable::intern(const CellProps& props) {
    const auto [at, added] = ids_.try_emplace(props, static_cast<uint32_t>(styles_.size()));
    if (added) {
        styles_.push_back(props);
    }
    return at->second;
}

void StyleTable::trim() {
    styles_.shrink_to_fit();
}

void StyleTable::reserve(std::size_t more) {
    styles_.reserve(styles_.size() + more);
    ids_.reserve(ids_.size() + more);
}

}  // namespace sheet
