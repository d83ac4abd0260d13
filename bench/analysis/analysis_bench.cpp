// Times a statistics run over 1,000,000 rows x 8 numeric columns (two passes
// per column, progress reported per row) and one bar chart over a
// million-row column. Each column keeps its texts as UTF-8 in one arena, as
// the sheet does; values follow the benchmark database's tables.
#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/bar_chart.h"
#include "analysis/statistics_run.h"

namespace {

using Clock = std::chrono::steady_clock;

class TextColumn : public analysis::BarChartCells {
  public:
    explicit TextColumn(const std::vector<QString>& cells)
        : colours_(cells.size() + 1), percents_(cells.size() + 1) {
        for (const QString& cell : cells) {
            const QByteArray utf8 = cell.toUtf8();
            refs_.push_back({arena_.size(), static_cast<std::size_t>(utf8.size())});
            arena_.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        }
    }
    int dataRowCount() const override { return static_cast<int>(refs_.size()); }
    std::string_view text(int row) const override {
        const Ref& ref = refs_[static_cast<size_t>(row - 1)];
        return std::string_view(arena_).substr(ref.offset, ref.length);
    }
    std::uint32_t barColour(int row) const override { return colours_[static_cast<size_t>(row)]; }
    void setBarColour(int row, std::uint32_t c) override { colours_[static_cast<size_t>(row)] = c; }
    void setBarPercent(int row, double p) override { percents_[static_cast<size_t>(row)] = p; }
    double percent(int row) const { return percents_[static_cast<size_t>(row)]; }

  private:
    struct Ref {
        std::size_t offset;
        std::size_t length;
    };
    std::string arena_;
    std::vector<Ref> refs_;
    std::vector<std::uint32_t> colours_;
    std::vector<double> percents_;
};

class Sheet : public analysis::StatisticsSheet {
  public:
    std::vector<std::unique_ptr<TextColumn>> columns;
    int columnCount() const override { return static_cast<int>(columns.size()); }
    bool isNumericColumn(int) const override { return true; }
    const analysis::ColumnSource& column(int c) const override { return *columns[c]; }
};

// A progress bar that only repaints when its 0..1000 position changes.
class Progress : public analysis::StatisticsRunObserver {
  public:
    void rowDone(int row, int rows) override {
        const int position = static_cast<int>(static_cast<long long>(row) * 1000 / rows);
        if (position != last_) {
            last_ = position;
            ++moves;
        }
    }
    void columnStarted(int) override { last_ = -1; }
    long moves = 0;

  private:
    int last_ = -1;
};

std::vector<QString> makeColumn(int rows, int kind) {
    std::vector<QString> cells;
    cells.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        switch (kind % 4) {
            case 0:
                cells.push_back(QString::number(i + 1));
                break;  // ID
            case 1:
                cells.push_back(QString::number(i * 0.25, 'g', 15));
                break;  // Amount
            case 2:
                cells.push_back(QString::number(i / 100.0, 'f', 2));
                break;  // Price
            default:
                cells.push_back(QString::number((i * 37LL % 100000) / 100.0, 'f', 2));
        }
    }
    return cells;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of this process: on a busy shared machine the wall clock
// mostly measures the other processes.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    Sheet sheet;
    for (int c = 0; c < 8; ++c)
        sheet.columns.push_back(std::make_unique<TextColumn>(makeColumn(rows, c)));

    analysis::StatisticsStore store;
    Progress progress;
    auto start = Clock::now();
    double cpu = cpuSeconds();
    analysis::runColumnStatistics(sheet, store, progress);
    const double statistics = secondsSince(start);
    const double statisticsCpu = cpuSeconds() - cpu;

    start = Clock::now();
    cpu = cpuSeconds();
    const auto outcome = analysis::toggleBarChart(*sheet.columns[1], store.entry(1));
    const double barChart = secondsSince(start);
    const double barChartCpu = cpuSeconds() - cpu;

    std::printf(
        "statistics: %d rows x 8 columns in %.3f s wall, %.3f s cpu"
        " (progress moved %ld times)\n",
        rows, statistics, statisticsCpu, progress.moves);
    std::printf("bar chart: %d rows in %.3f s wall, %.3f s cpu (%s, last bar %.1f%%)\n", rows,
                barChart, barChartCpu,
                outcome == analysis::BarChartOutcome::Drawn ? "drawn" : "not drawn",
                sheet.columns[1]->percent(rows));
    std::printf("column 1: max %g min %g total %g largest count %d\n", store.entry(1)->maximum,
                store.entry(1)->minimum, store.entry(1)->total, store.entry(1)->largestCount);
    return 0;
}
