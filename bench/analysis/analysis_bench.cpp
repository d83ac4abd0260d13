// Times a statistics run over 1,000,000 rows x 8 numeric columns (two passes
// per column, progress reported per row) and one bar chart over a
// million-row column. Each column keeps its texts as UTF-8 in one arena, as
// the sheet does; values follow the benchmark database's tables.
#include <QApplication>
#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/bar_chart.h"
#include "analysis/sheet_column_source.h"
#include "analysis/statistics_run.h"
#include "sheet/grid.h"
#include "sheet/grid_file.h"
#include "sheet/grid_model.h"

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

// The sheet's cells one at a time, as before the sheet changed a whole
// column at once: the figure the bulk path is measured against.
class CellByCell : public analysis::BarChartCells {
  public:
    explicit CellByCell(analysis::SheetColumnSource& cells) : cells_(cells) {}
    int dataRowCount() const override { return cells_.dataRowCount(); }
    std::string_view text(int row) const override { return cells_.text(row); }
    std::uint32_t barColour(int row) const override { return cells_.barColour(row); }
    void setBarColour(int row, std::uint32_t c) override { cells_.setBarColour(row, c); }
    void setBarPercent(int row, double p) override { cells_.setBarPercent(row, p); }

  private:
    analysis::SheetColumnSource& cells_;
};

// The bar chart as the window draws it: on a data-sheet grid holding the
// column's texts, through the grid's own cell properties.
struct GridFileCpu {
    double save = 0, load = 0;
    qsizetype bytes = 0;
};

double gridBarChartCpu(const TextColumn& column, const analysis::ColumnStatistics* entry,
                       bool cellByCell, double* lastPercent, GridFileCpu* file = nullptr) {
    sheet::Grid grid;
    const QString titles[] = {QStringLiteral("Value")};
    grid.beginFill(titles);
    sheet::CellInput cell;
    for (int r = 1; r <= column.dataRowCount(); ++r) {
        cell.text = column.text(r);
        grid.appendRow(std::span<const sheet::CellInput>(&cell, 1));
    }
    grid.endFill();
    analysis::SheetColumnSource cells(*grid.gridModel(), 0);
    CellByCell single(cells);
    const double cpu = cpuSeconds();
    if (cellByCell)
        analysis::toggleBarChart(single, entry);
    else
        analysis::toggleBarChart(cells, entry);
    const double spent = cpuSeconds() - cpu;
    *lastPercent = grid.gridModel()->store().props(column.dataRowCount(), 0).barPercent;
    if (file) {
        // The barred sheet saved as a grid file and loaded back.
        double mark = cpuSeconds();
        const QByteArray bytes = sheet::GridFile::save(grid);
        file->save = cpuSeconds() - mark;
        file->bytes = bytes.size();
        sheet::Grid loaded;
        mark = cpuSeconds();
        if (!sheet::GridFile::load(loaded, bytes).isOk()) {
            std::fprintf(stderr, "the saved grid file does not load\n");
            std::exit(2);
        }
        file->load = cpuSeconds() - mark;
    }
    return spent;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
    double gridLast = 0;
    GridFileCpu file;
    const double gridCpu =
        gridBarChartCpu(*sheet.columns[1], store.entry(1), false, &gridLast, &file);
    std::printf("bar chart on the sheet grid: %d rows in %.3f s cpu (last bar %.1f%%)\n", rows,
                gridCpu, gridLast);
    std::printf(
        "that sheet as a grid file: %lld bytes, saved in %.3f s cpu, loaded in %.3f s cpu\n",
        (long long)file.bytes, file.save, file.load);
    if (argc > 2 && std::string_view(argv[2]) == "--cell-by-cell") {
        const double single = gridBarChartCpu(*sheet.columns[1], store.entry(1), true, &gridLast);
        std::printf("  the same cell by cell: %.3f s cpu\n", single);
    }
    std::printf("column 1: max %g min %g total %g largest count %d\n", store.entry(1)->maximum,
                store.entry(1)->minimum, store.entry(1)->total, store.entry(1)->largestCount);
    return 0;
}
