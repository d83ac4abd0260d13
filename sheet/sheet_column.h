// SheetColumn: everything one grid column holds, so that moving a column
// moves its cells with all their properties: texts, typed values (only when a
// result delivered them), the style number of each formatted cell and the
// column's own settings. Cells are addressed by physical row id. Style
// numbers are kept in a map while few cells are formatted and in a plain
// array once many are. Bar fill percents live beside the style numbers, not
// in the styles: a bar chart gives nearly every cell its own percent, and
// would otherwise make a style of each. Payloads (binary values,
// attachments) are kept in a map: few columns have any.
#pragma once

#include "sheet/bulk_memory.h"
#include "sheet/cell_payload.h"
#include "sheet/text_column.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace sheet {

class SheetColumn {
  public:
    static constexpr int kDefaultWidth = 1500;  // twips
    static constexpr int kGeneral = 9;
    // Data type of a column of database text (memo, GUID): sorted as text.
    static constexpr int kTextType = 8;

    TextColumn texts;
    BulkVector<double> values;  // NaN = no typed value; may be shorter than the rows

    int width = kDefaultWidth;
    int alignment = kGeneral;
    QString format;
    int dataType = 0;
    bool merge = false;

    bool hasValue(uint32_t row) const { return row < values.size() && !std::isnan(values[row]); }
    void setValue(uint32_t row, double value);
    void dropValue(uint32_t row);

    const std::shared_ptr<const CellPayload>& payload(uint32_t row) const;
    void setPayload(uint32_t row, std::shared_ptr<const CellPayload> payload);
    void dropPayload(uint32_t row) {
        if (!payloads_.empty()) {
            payloads_.erase(row);
        }
    }

    uint32_t styleId(uint32_t row) const;
    // physicalRows decides when the map gives way to the array.
    void setStyleId(uint32_t row, uint32_t id, std::size_t physicalRows);
    double barPercent(uint32_t row) const { return row < bars_.size() ? bars_[row] : 0.0; }
    void setBarPercent(uint32_t row, double percent, std::size_t physicalRows);
    // Whether any cell has a style or a bar.
    bool hasStyles() const {
        return !sparseStyles_.empty() || !denseStyles_.empty() || !bars_.empty();
    }
    std::size_t styledCellsInMap() const { return sparseStyles_.size(); }
    bool stylesInArray() const { return !denseStyles_.empty(); }
    void clearCells();
    // New row i takes what old row order[i] held.
    void rebuild(std::span<const uint32_t> order);

  private:
    std::unordered_map<uint32_t, std::shared_ptr<const CellPayload>> payloads_;
    std::unordered_map<uint32_t, uint32_t> sparseStyles_;
    BulkVector<uint32_t> denseStyles_;
    BulkVector<double> bars_;  // empty until a cell gets a bar
};

}  // namespace sheet
