// Undo on a big sheet: fills a shown grid with 1,000,000 rows x 8 columns of
// 12-character texts (fixed seed), deletes 1,000 scattered rows with the
// deletion recorded in the undo history, then times Undo and Redo of it (a
// repaint included) and prints what the history holds against its budget.
// Target: Undo within 500 ms.
//   undo_bench [rows]      (run with QT_QPA_PLATFORM=offscreen when headless)
#include "bench/support/cpu_clock.h"
#include "bench/support/process_memory.h"
#include "bench/support/random_text.h"
#include "sheet/edit_history.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet/sheet_update.h"

#include <QApplication>
#include <QElapsedTimer>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCols = 8;
constexpr int kDeletedRows = 1000;

void fill(sheet::Grid& grid, int rows) {
    std::array<QString, kCols> titles;
    for (int c = 0; c < kCols; ++c) {
        titles[c] = QStringLiteral("Field%1").arg(c);
    }
    bench::XorShift random{20261210};
    std::array<std::string, kCols> texts;
    std::array<sheet::CellInput, kCols> cells;
    grid.beginFill(titles, std::size_t(rows));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            bench::randomText(random, texts[c]);
            cells[c].text = texts[c];
        }
        grid.appendRow(cells);
    }
    grid.endFill();
}

template <typename Step>
void timeStep(const char* name, qint64 targetMs, sheet::Grid& grid, Step step) {
    QElapsedTimer timer;
    timer.start();
    const double cpu = bench::threadCpuMs();
    step();
    grid.viewport()->repaint();
    QApplication::processEvents();
    const qint64 wall = timer.elapsed();
    std::printf("%-30s %8lld %8.0f %8lld  %s\n", name, wall, bench::threadCpuMs() - cpu, targetMs,
                wall <= targetMs ? "ok" : "SLOW");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(2 * kDeletedRows, atoi(argv[1])) : 1'000'000;
    sheet::Grid grid;
    grid.resize(1200, 800);
    grid.show();
    fill(grid, rows);
    QApplication::processEvents();
    sheet::GridModel& model = *grid.gridModel();
    sheet::SheetState state;
    sheet::EditHistory history;

    std::vector<int> gone;
    const int stride = rows / kDeletedRows;
    for (int i = 0; i < kDeletedRows; ++i) {
        gone.push_back(1 + i * stride + i % 7);
    }
    const std::string firstGone(model.store().text(gone.front(), 0));
    std::printf("rows %d x cols %d\n", grid.rows() - 1, grid.cols());
    std::printf("%-30s %8s %8s %8s\n", "step", "wall ms", "cpu ms", "target");
    timeStep("delete 1000 rows, recorded", 500, grid, [&] {
        history.beforeRowsDeleted(model, state, QStringLiteral("Delete Rows"), gone);
        grid.removeItems(gone);
        history.after(model, state);
    });
    timeStep("undo the deletion", 500, grid, [&] { history.undo(model, state); });
    const bool back =
        std::string(model.store().text(gone.front(), 0)) == firstGone && grid.rows() == rows + 1;
    timeStep("redo the deletion", 500, grid, [&] { history.redo(model, state); });
    std::printf("restored exactly: %s\n", back ? "yes" : "NO");
    std::printf("history: %zu bytes for the step, budget %zu bytes (%zu MB), at most %d steps\n",
                history.bytes(), history.budget(), history.budget() >> 20,
                sheet::EditHistory::kMaxSteps);
    // The largest step the budget allows: paste over whole columns until a
    // step no longer fits.
    for (int cols = 1; cols <= kCols; ++cols) {
        QElapsedTimer timer;
        timer.start();
        const bool kept = history.beforeCells(model, state, QStringLiteral("Paste"), 1, 0,
                                              grid.rows() - 1, cols - 1) &&
                          history.after(model, state);
        std::printf("paste over %d whole column(s): %s, history %zu MB, %lld ms\n", cols,
                    kept ? "undoable" : "too big, history emptied", history.bytes() >> 20,
                    timer.elapsed());
    }
    std::printf("anonymous memory now: %ld MB\n", bench::rssAnonKb() / 1024);
    return 0;
}
