// Sheet columns held in plain vectors, for driving the statistics and the bar
// chart without a window. They count how often cells are read.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/bar_chart.h"
#include "analysis/column_source.h"

namespace analysis::testing {

class FakeColumn : public BarChartCells {
  public:
    explicit FakeColumn(const QStringList& cells = {})
        : cells_(toUtf8(cells)),
          colours_(static_cast<size_t>(cells_.size()) + 1, 0),
          percents_(static_cast<size_t>(cells_.size()) + 1, 0.0) {}

    int dataRowCount() const override { return static_cast<int>(cells_.size()); }
    std::string_view text(int row) const override {
        ++reads_;
        return cells_.at(row - 1);
    }
    std::uint32_t barColour(int row) const override { return colours_.at(row); }
    void setBarColour(int row, std::uint32_t colour) override { colours_.at(row) = colour; }
    void setBarPercent(int row, double percent) override { percents_.at(row) = percent; }

    // Sheet row numbering: row 1 is the first data row.
    double percent(int row) const { return percents_.at(row); }
    std::uint32_t colour(int row) const { return colours_.at(row); }
    void setText(int row, const QString& text) { cells_.at(row - 1) = text.toStdString(); }
    long reads() const { return reads_; }

  private:
    static std::vector<std::string> toUtf8(const QStringList& cells) {
        std::vector<std::string> texts;
        for (const QString& cell : cells)
            texts.push_back(cell.toStdString());
        return texts;
    }

    std::vector<std::string> cells_;
    std::vector<std::uint32_t> colours_;
    std::vector<double> percents_;
    mutable long reads_ = 0;
};

// A column of `rows` cells all holding `text`.
inline QStringList repeated(const QString& text, int rows) {
    QStringList cells;
    for (int i = 0; i < rows; ++i)
        cells << text;
    return cells;
}

// Cells "from" to "to" in steps of 1.
inline QStringList counting(int from, int to) {
    QStringList cells;
    for (int v = from; v <= to; ++v)
        cells << QString::number(v);
    return cells;
}

}  // namespace analysis::testing
