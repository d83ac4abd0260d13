// The text of the statistics grid for one sheet column: labels in column 0,
// values in column 1, and the fill of the magenta histogram bars. A window
// copies it into its grid cell by cell; nothing here touches a widget.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/column_statistics.h"

namespace analysis {

struct StatisticsGridRow {
    QString label;  // column 0, right-aligned (the header row: centred)
    QString value;  // column 1, left-aligned (the header row: centred)
    // Rows 9 and below of a numeric column carry a bar in column 1 filled to
    // this percentage of the cell; other rows have none.
    std::optional<double> barPercent;
};

struct StatisticsGridText {
    static constexpr int kNumericRows = 21;
    static constexpr int kNonNumericRows = 3;
    static constexpr int kFirstBarRow = 9;
    static constexpr std::uint32_t kHeaderBackColour = 0x008000;
    static constexpr std::uint32_t kHeaderForeColour = 0xFFFFFF;
    static constexpr std::uint32_t kBarColour = 0xFF00FF;
    // Grid set-up: column widths in twips and cell alignments (grid codes).
    static constexpr int kLabelColumnWidth = 1500;
    static constexpr int kValueColumnWidth = 1300;
    static constexpr int kHeaderAlignment = 4;  // centred
    static constexpr int kLabelAlignment = 7;   // right
    static constexpr int kValueAlignment = 1;   // left

    // Row 0 is the header ("Statistics", "Value").
    std::vector<StatisticsGridRow> rows;

    // Column-0 text of a row, 0 <= row < kNumericRows (exact, trailing blanks
    // included).
    static QString label(int row);
    // The rule written in column 1 of rows 9 and 20.
    static QString rule();
    // The interval whose count row `row` shows (row 10 interval 10 down to row
    // 19 interval 1), or 0 for any other row.
    static int intervalOfRow(int row);
};

// Builds the grid for a column titled `title` of a sheet with `dataRows` data
// rows. A non-numeric column gets the header, name and count only. A numeric
// column gets all 21 rows; its figures come from `entry`, and when the store
// has no entry (nullptr) the cells below the count stay empty and the bars
// unfilled.
StatisticsGridText statisticsGridText(const QString& title, int dataRows, bool numeric,
                                      const ColumnStatistics* entry);

}  // namespace analysis
