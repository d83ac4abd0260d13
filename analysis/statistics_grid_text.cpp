#include "analysis/statistics_grid_text.h"

#include <cstddef>

#include "analysis/number_format.h"
#include "analysis/number_reading.h"

namespace analysis {
namespace {

constexpr const char* kLabels[StatisticsGridText::kNumericRows] = {
    "Statistics",          "Column Name",      "Count", "Max",    "Min", "Total",  "Average",
    "Standard Deviation",  "Interval",         " +",    "Max | ", "| ",  "| ",     "| ",
    "Ten - Interval   | ", "Histogram     | ", "| ",    "| ",     "| ",  "Min | ", " +",
};

constexpr int kRuleRowTop = 9;
constexpr int kRuleRowBottom = 20;

// Rows 3 to 8 and the count rows 10 to 19 from the store entry.
void fillFigures(std::vector<StatisticsGridRow>& rows, const ColumnStatistics& entry) {
    rows[3].value = formatGeneral(entry.maximum);
    rows[4].value = formatGeneral(entry.minimum);
    rows[5].value = formatGeneral(entry.total);
    rows[6].value = formatTwoDecimals(entry.average);
    rows[7].value = formatTwoDecimals(entry.standardDeviation);
    rows[8].value = QStringLiteral("(Max-Min)/10 = ") + formatGeneral(entry.intervalWidth);
    for (int r = 10; r <= 19; ++r)
        rows[r].value = QString::number(entry.count(StatisticsGridText::intervalOfRow(r)));
}

// The bars read their length back from the cell text, so the rules read 0 and
// the largest count fills its cell. Without a largest count there is nothing
// to scale by, and every bar stays empty.
void fillBars(std::vector<StatisticsGridRow>& rows, std::int32_t largestCount) {
    for (int r = StatisticsGridText::kFirstBarRow; r < StatisticsGridText::kNumericRows; ++r) {
        const double value = readNumber(QStringView(rows[r].value));
        rows[r].barPercent = largestCount > 0 ? value / largestCount * 100.0 : 0.0;
    }
}

}  // namespace

QString StatisticsGridText::label(int row) {
    if (row < 0 || row >= kNumericRows)
        return {};
    return QString::fromLatin1(kLabels[row]);
}

QString StatisticsGridText::rule() {
    return QStringLiteral("--------------------+").repeated(4);
}

int StatisticsGridText::intervalOfRow(int row) {
    return row >= 10 && row <= 19 ? 20 - row : 0;
}

StatisticsGridText statisticsGridText(const QString& title, int dataRows, bool numeric,
                                      const ColumnStatistics* entry) {
    StatisticsGridText grid;
    const int rowCount =
        numeric ? StatisticsGridText::kNumericRows : StatisticsGridText::kNonNumericRows;
    grid.rows.resize(static_cast<std::size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r)
        grid.rows[r].label = StatisticsGridText::label(r);
    grid.rows[0].value = QStringLiteral("Value");
    grid.rows[1].value = title;
    grid.rows[2].value = QString::number(dataRows);
    if (!numeric)
        return grid;
    grid.rows[kRuleRowTop].value = StatisticsGridText::rule();
    grid.rows[kRuleRowBottom].value = StatisticsGridText::rule();
    if (entry)
        fillFigures(grid.rows, *entry);
    fillBars(grid.rows, entry ? entry->largestCount : 0);
    return grid;
}

}  // namespace analysis
