// The largest sheet the "Rows" and "Cols" boxes accept: grows an empty grid
// to 10,000,000 data rows, then to 16,384 columns, selects the current row
// across every column (what row and find mode does), scrolls to the far
// corner and shrinks back, printing each step's time and the peak anonymous
// memory seen.
//   sheet_size_bench      (run with QT_QPA_PLATFORM=offscreen when headless)
#include "bench/support/process_memory.h"
#include "sheet/grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kMaxDataRows = 10'000'000;
constexpr int kMaxCols = 16'384;

using bench::rssAnonKb;

long peakKb = 0;

void step(const char* name, const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents();
    const long kb = rssAnonKb();
    peakKb = std::max(peakKb, kb);
    std::printf("%-38s %8lld ms  %8ld KiB anon\n", name, timer.elapsed(), kb);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sheet::Grid grid;
    grid.resize(1000, 700);
    grid.setFixedRows(1);
    grid.setRows(51);
    grid.setCols(10);
    grid.show();
    QApplication::processEvents();
    step("rows 50 -> 10,000,000", [&] { grid.setRows(kMaxDataRows + 1); });
    step("cols 10 -> 16,384", [&] { grid.setCols(kMaxCols); });
    step("select current row across all columns", [&] {
        grid.setSelectionModeCode(sheet::Grid::SelectListBox);
        grid.select(grid.row(), 0, grid.row(), grid.cols() - 1);
    });
    step("scroll to the far corner", [&] {
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
        grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    });
    step("cols 16,384 -> 10", [&] { grid.setCols(10); });
    step("rows 10,000,000 -> 50", [&] { grid.setRows(51); });
    std::printf("peak anonymous memory %ld KiB\n", peakKb);
    return 0;
}
