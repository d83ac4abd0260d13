// Editing a big sheet: fills a shown grid with 1,000,000 rows x 8 columns of
// 12-character texts (fixed seed), then times Select All with Copy to the
// clipboard, deleting 1,000 scattered selected rows in row mode, and
// inserting a column, each with a repaint. Targets: 2000, 500 and 200 ms;
// pasting the copied block back is timed too (no set target, 4000 ms shown).
// The deletion is recorded in the undo history as the window records it,
// then undone and redone (target 500 ms each); last, whole columns are recorded as one paste each
// to show what the history's budget holds.
//   edit_bench [rows]      (run with QT_QPA_PLATFORM=offscreen when headless)
#include "bench/support/cpu_clock.h"
#include "bench/support/process_memory.h"
#include "bench/support/random_text.h"
#include "sheet/edit_commands.h"
#include "sheet/edit_history.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet/sheet_update.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCols = 8;
constexpr int kDeletedRows = 1000;

using bench::randomText;
using bench::threadCpuMs;
using bench::XorShift;

void fill(sheet::Grid& grid, int rows) {
    std::array<QString, kCols> titles;
    for (int c = 0; c < kCols; ++c) {
        titles[c] = QStringLiteral("Field%1").arg(c);
    }
    XorShift random{20261209};
    std::array<std::string, kCols> texts;
    std::array<sheet::CellInput, kCols> cells;
    grid.beginFill(titles);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            randomText(random, texts[c]);
            cells[c].text = texts[c];
        }
        grid.appendRow(cells);
    }
    grid.endFill();
}

// Times one step, repaint included, and prints it against its target.
template <typename Step>
void timeStep(const char* name, qint64 targetMs, sheet::Grid& grid, Step step) {
    QElapsedTimer timer;
    timer.start();
    const double cpu = threadCpuMs();
    step();
    grid.viewport()->repaint();
    QApplication::processEvents();
    const qint64 wall = timer.elapsed();
    std::printf("%-28s %8lld %8.0f %8lld  %s\n", name, wall, threadCpuMs() - cpu, targetMs,
                wall <= targetMs ? "ok" : "SLOW");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(kDeletedRows + 1, atoi(argv[1])) : 1'000'000;
    sheet::Grid grid;
    grid.resize(1200, 800);
    grid.show();
    fill(grid, rows);
    QApplication::processEvents();
    sheet::SheetState state;
    sheet::EditCommands commands(grid, state);
    grid.setSelectionModeCode(sheet::Grid::SelectListBox);

    std::printf("rows %d x cols %d\n", grid.rows() - 1, grid.cols());
    std::printf("%-28s %8s %8s %8s\n", "step", "wall ms", "cpu ms", "target");
    qsizetype copied = 0;
    timeStep("select all + copy", 2000, grid, [&] {
        QElapsedTimer part;
        part.start();
        commands.selectAll();
        const qint64 select = part.restart();
        QMimeData* block = grid.copyData();
        const qint64 clip = part.restart();
        copied = block->text().size();
        QGuiApplication::clipboard()->setMimeData(block);
        std::printf("  (select %lld ms, block text %lld ms, clipboard %lld ms)\n", select, clip,
                    part.elapsed());
    });

    // The copied block pasted back over itself, as from another program.
    timeStep("paste it back", 4000, grid,
             [&] { commands.paste(QGuiApplication::clipboard()->text()); });

    // 1,000 rows spread over the whole sheet, selected as ctrl-clicks would.
    QItemSelection scattered;
    const int step = (grid.rows() - 1) / kDeletedRows;
    for (int i = 0; i < kDeletedRows; ++i) {
        const QModelIndex index = grid.model()->index(i * step, 0);
        scattered.select(index, index);
    }
    grid.selectionModel()->select(scattered,
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int before = grid.rows();
    sheet::GridModel& model = *grid.gridModel();
    sheet::EditHistory history;
    std::vector<int> selected;
    for (int i = 0; i < grid.selectedRows(); ++i) {
        selected.push_back(grid.selectedRow(i));
    }
    const std::string firstGone(model.store().text(selected.front(), 0));
    // The window's path: the command records the rows it deletes.
    timeStep("delete 1,000 selected rows", 500, grid,
             [&] { sheet::EditCommands(grid, state, &history).deleteRows(); });
    timeStep("undo the deletion", 500, grid, [&] { history.undo(model, state); });
    const bool restored =
        grid.rows() == before && std::string(model.store().text(selected.front(), 0)) == firstGone;
    const std::size_t stepBytes = history.bytes();
    timeStep("redo the deletion", 500, grid, [&] { history.redo(model, state); });
    std::printf("undo restored the rows: %s; the step holds %zu bytes\n", restored ? "yes" : "NO",
                stepBytes);

    grid.setCol(3);
    timeStep("insert a column", 200, grid, [&] { commands.insertColumn(); });

    std::printf("copied %lld characters; rows removed %d; columns now %d\n",
                static_cast<long long>(copied), before - grid.rows(), grid.cols());

    // What the history's budget holds: each step a paste over whole columns.
    std::printf("undo budget %zu MB, at most %d steps\n", history.budget() >> 20,
                sheet::EditHistory::kMaxSteps);
    for (int cols = 1; cols <= kCols; ++cols) {
        QElapsedTimer timer;
        timer.start();
        const bool kept = history.beforeCells(model, state, QStringLiteral("Paste"), 1, 0,
                                              grid.rows() - 1, cols - 1) &&
                          history.after(model, state);
        std::printf("  paste over %d whole column(s): %s, history %zu MB, %lld ms\n", cols,
                    kept ? "undoable" : "too big, history emptied", history.bytes() >> 20,
                    timer.elapsed());
    }
    std::printf("anonymous memory: %ld MB\n", bench::rssAnonKb() / 1024);
    return 0;
}
