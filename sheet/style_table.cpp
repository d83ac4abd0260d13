#include "sheet/style_table.h"

namespace sheet {

StyleTable::StyleTable() {
    clear();
}

void StyleTable::clear() {
    styles_.assign(1, CellProps());
    ids_.clear();
    ids_.emplace(CellProps(), 0);
}

uint32_t StyleTable::intern(const CellProps& props) {
    const auto [at, added] = ids_.try_emplace(props, static_cast<uint32_t>(styles_.size()));
    if (added) {
        styles_.push_back(props);
    }
    return at->second;
}

}  // namespace sheet
