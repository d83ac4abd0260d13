#include "sheet/column_fit.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

#include "sheet/column_types.h"
#include "sheet/grid.h"

namespace sheet {
namespace {

// Room the cell painter keeps beside a text, both sides, in pixels.
constexpr int kPaddingPixels = 12;

// Numbers (the VarType codes 2 to 6, 14, 17 and 20) and dates are never cut.
bool showsWhole(int dataType) {
    return (dataType >= 2 && dataType <= 7) || dataType == 14 || dataType == 17 || dataType == 20 ||
           dataType == kBooleanType;
}

}  // namespace

int ColumnFit::fittedWidth(const Grid& grid, int col) {
    QFont titleFont = grid.font();
    titleFont.setBold(true);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics cellMetrics(grid.font());
    int pixels = 0;
    for (int r = 0; r < grid.fixedRows() && r < grid.rows(); ++r) {
        pixels = std::max(pixels, titleMetrics.horizontalAdvance(grid.textMatrix(r, col)));
    }
    const int last = std::min(grid.rows(), grid.fixedRows() + kSampleRows);
    for (int r = grid.fixedRows(); r < last; ++r) {
        // Only the first line of a multi-line text shows in a cell.
        const QString text = grid.textMatrix(r, col).section(QLatin1Char('\n'), 0, 0);
        pixels = std::max(pixels, cellMetrics.horizontalAdvance(text));
    }
    const double dpi = std::max(1, grid.logicalDpiX());
    const int twips = int(std::lround((pixels + kPaddingPixels) * 1440.0 / dpi));
    const int cap = showsWhole(grid.colDataType(col)) ? twips : kMaxTextTwips;
    return std::clamp(twips, kMinTwips, std::max(kMinTwips, cap));
}

void ColumnFit::fitColumn(Grid& grid, int col) {
    if (col >= 0 && col < grid.cols()) {
        grid.setColWidth(col, fittedWidth(grid, col));
    }
}

void ColumnFit::fitAllColumns(Grid& grid) {
    for (int c = 0; c < grid.cols(); ++c) {
        fitColumn(grid, c);
    }
}

}  // namespace sheet
