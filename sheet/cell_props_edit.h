// What setting one cell property to a value does to a cell's properties: the
// edit Grid::setCell applies to every cell of a block. Out-of-range codes are
// held within their ranges and non-finite bar lengths become empty bars.
#pragma once

#include <QVariant>

#include <functional>

#include "sheet/cell_props.h"
#include "sheet/grid.h"

namespace sheet {

// Empty for the settings that are not cell properties (text, picture).
std::function<void(CellProps&)> cellPropsEdit(CellSetting setting, const QVariant& value);

}  // namespace sheet
