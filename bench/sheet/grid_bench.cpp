// Fills the grid through its bulk path with 1,000,000 rows x 8 columns of
// 12-character texts (fixed seed; column 0 unique, column 1 with 1,000
// distinct values), sorts by column 1 and scrolls to the end, printing the
// time of each step and the peak anonymous memory seen.
//   grid_bench [rows]      (run with QT_QPA_PLATFORM=offscreen when headless)
#include "bench/support/cpu_clock.h"
#include "bench/support/process_memory.h"
#include "bench/support/random_text.h"
#include "sheet/grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kCols = 8;
constexpr int kTextLength = bench::kTextLength;

using bench::randomText;
using bench::rssAnonKb;
using bench::threadCpuMs;
using bench::XorShift;

// Column 0: six random letters, then the row number in base 36 (unique).
void uniqueText(XorShift& random, int row, std::string& text) {
    randomText(random, text);
    for (int k = kTextLength - 1; k >= 6; --k, row /= 36) {
        text[k] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[row % 36];
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 1'000'000;
    sheet::Grid grid;
    grid.resize(1200, 800);
    grid.show();
    QApplication::processEvents();

    XorShift random{20261209};
    std::vector<std::string> distinct(1000);
    for (std::string& text : distinct) {
        randomText(random, text);
    }
    const auto makeRow = [&](int r, std::array<std::string, kCols>& texts) {
        uniqueText(random, r, texts[0]);
        texts[1] = distinct[random() % distinct.size()];
        for (int c = 2; c < kCols - 1; ++c) {
            randomText(random, texts[c]);
        }
        // The last column holds numbers, as a loaded numeric field does.
        texts[kCols - 1] = std::to_string(random() % 10'000'000) + ".5";
    };
    std::array<std::string, kCols> texts;
    // The same texts made without filling, to tell their cost from the grid's.
    const XorShift seed = random;
    QElapsedTimer timer;
    timer.start();
    double cpu = threadCpuMs();
    for (int r = 0; r < rows; ++r) {
        makeRow(r, texts);
    }
    const qint64 makeMs = timer.restart();
    const double makeCpu = threadCpuMs() - cpu;
    random = seed;
    long peak = rssAnonKb();
    const auto note = [&peak] { peak = std::max(peak, rssAnonKb()); };

    timer.restart();
    cpu = threadCpuMs();
    std::array<QString, kCols> titles;
    for (int c = 0; c < kCols; ++c) {
        titles[c] = QStringLiteral("Field%1").arg(c);
    }
    grid.beginFill(titles);
    std::array<sheet::CellInput, kCols> cells;
    for (int r = 0; r < rows; ++r) {
        makeRow(r, texts);
        for (int c = 0; c < kCols; ++c) {
            cells[c].text = texts[c];
        }
        cells[kCols - 1].hasValue = true;
        cells[kCols - 1].value = std::strtod(texts[kCols - 1].c_str(), nullptr);
        grid.appendRow(cells);
    }
    grid.endFill();
    QApplication::processEvents();
    const qint64 fillMs = timer.restart();
    const double fillCpu = threadCpuMs() - cpu;
    note();
    cpu = threadCpuMs();

    grid.sort(1, sheet::Grid::SortAscending);
    grid.viewport()->repaint();
    const qint64 sortMs = timer.restart();
    const double sortCpu = threadCpuMs() - cpu;
    note();
    cpu = threadCpuMs();

    cpu = threadCpuMs();
    timer.restart();
    grid.sort(kCols - 1, sheet::Grid::SortDescending);
    grid.viewport()->repaint();
    const qint64 numberSortMs = timer.restart();
    const double numberSortCpu = threadCpuMs() - cpu;
    note();
    cpu = threadCpuMs();

    grid.scrollToBottom();
    grid.viewport()->repaint();
    QApplication::processEvents();
    const qint64 scrollMs = timer.restart();
    const double scrollCpu = threadCpuMs() - cpu;
    note();
    const long peakRequired = peak;  // fill, sort and scroll only

    // Sorting again with every data row selected, as after Select All.
    grid.setSelectionModeCode(sheet::Grid::SelectListBox);
    grid.select(1, 0, grid.rows() - 1, grid.cols() - 1);
    cpu = threadCpuMs();
    timer.restart();
    grid.sort(0, sheet::Grid::SortDescending);
    grid.viewport()->repaint();
    const qint64 selectedSortMs = timer.restart();
    const double selectedSortCpu = threadCpuMs() - cpu;
    note();

    // Bold over every data cell, as the Bold button does after Select All.
    cpu = threadCpuMs();
    timer.restart();
    grid.setCell(sheet::CellSetting::Bold, 1, 0, grid.rows() - 1, grid.cols() - 1, true);
    grid.viewport()->repaint();
    const qint64 boldMs = timer.restart();
    const double boldCpu = threadCpuMs() - cpu;
    note();

    std::printf("rows %d x cols %d\n", grid.rows() - 1, grid.cols());
    std::printf("step          wall ms   cpu ms\n");
    std::printf("make texts  %9lld %8.0f  (the test data alone, not the grid)\n", makeMs, makeCpu);
    std::printf("fill        %9lld %8.0f  (texts made on the fly, included)\n", fillMs, fillCpu);
    std::printf("fill - make %9lld %8.0f  (the grid's own share)\n", fillMs - makeMs,
                fillCpu - makeCpu);
    std::printf("sort col 1  %9lld %8.0f  (text)\n", sortMs, sortCpu);
    std::printf("sort col %d  %9lld %8.0f  (numbers)\n", kCols - 1, numberSortMs, numberSortCpu);
    std::printf("scroll end  %9lld %8.0f\n", scrollMs, scrollCpu);
    std::printf("sort col 0, all rows selected %lld %.0f\n", selectedSortMs, selectedSortCpu);
    std::printf("bold on every cell %lld %.0f\n", boldMs, boldCpu);
    std::printf("peak RssAnon after fill, sort, scroll %ld kB (%.1f MB)\n", peakRequired,
                peakRequired / 1024.0);
    std::printf("peak RssAnon after every step %ld kB (%.1f MB)\n", peak, peak / 1024.0);
    std::printf("column 1 after the sorts: first %s, last %s\n", qPrintable(grid.textMatrix(1, 1)),
                qPrintable(grid.textMatrix(grid.rows() - 1, 1)));
    return 0;
}
