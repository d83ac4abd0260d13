// SheetColumn: everything one grid column holds, so that moving a column
// moves its cells with all their properties: texts, typed values (only when a
// result delivered them), cell properties (only where set) and the column's
// own settings. Cells are addressed by physical row id.
#pragma once

#include "sheet/cell_props.h"
#include "sheet/text_column.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace sheet {

class SheetColumn {
  public:
    static constexpr int kDefaultWidth = 1500;  // twips
    static constexpr int kGeneral = 9;

    TextColumn texts;
    std::vector<double> values;  // NaN = no typed value; may be shorter than the rows
    std::unordered_map<uint32_t, CellProps> props;

    int width = kDefaultWidth;
    int alignment = kGeneral;
    QString format;
    int dataType = 0;
    bool merge = false;

    bool hasValue(uint32_t row) const { return row < values.size() && !std::isnan(values[row]); }
    void setValue(uint32_t row, double value) {
        if (row >= values.size()) {
            values.resize(std::size_t{row} + 1, std::numeric_limits<double>::quiet_NaN());
        }
        values[row] = value;
    }
    void dropValue(uint32_t row) {
        if (row < values.size()) {
            values[row] = std::numeric_limits<double>::quiet_NaN();
        }
    }
};

}  // namespace sheet
