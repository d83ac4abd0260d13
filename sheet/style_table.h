// StyleTable: every distinct combination of cell properties in a sheet,
// stored once and named by a number. Cells hold only that number, so a
// million bold cells cost four bytes each. Number 0 is the default look.
#pragma once

#include "sheet/cell_props.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace sheet {

class StyleTable {
  public:
    StyleTable();

    const CellProps& get(uint32_t id) const { return styles_[id]; }
    uint32_t intern(const CellProps& props);
    std::size_t size() const { return styles_.size(); }
    void clear();

  private:
    std::vector<CellProps> styles_;
    std::unordered_map<CellProps, uint32_t, CellPropsHash> ids_;
};

}  // namespace sheet
