// Find and filter on a big sheet: fills a shown grid with 1,000,000 rows like
// the benchmark database's Big table (ID, name-i, Amount i*0.25, Price, and
// four 12-character random texts), then times each keystroke of typing into
// the filter row (the condition evaluated over the sheet and the rows hidden
// or shown, with a repaint), typing into the find bar (every cell read to
// count the hits, which are painted) and Find Next / Find Previous, among
// them a text found nowhere. Target: 300 ms a keystroke.
//   find_filter_bench [rows]   (run with QT_QPA_PLATFORM=offscreen when headless)
#include "bench/support/cpu_clock.h"
#include "bench/support/random_text.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet/row_filter.h"
#include "sheet/sheet_find.h"

#include <QApplication>
#include <QElapsedTimer>

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr int kCols = 8;
constexpr qint64 kTargetMs = 300;

void fill(sheet::Grid& grid, int rows) {
    const std::array<QString, kCols> titles{"ID",    "Name",  "Amount", "Price",
                                            "Text1", "Text2", "Text3",  "Text4"};
    bench::XorShift random{20261210};
    std::array<std::string, kCols> texts;
    std::array<sheet::CellInput, kCols> cells;
    grid.beginFill(titles, std::size_t(rows));
    for (int i = 0; i < rows; ++i) {
        texts[0] = std::to_string(i + 1);
        texts[1] = "name-" + std::to_string(i);
        texts[2] = QString::number(i * 0.25, 'g', 10).toStdString();
        texts[3] = std::to_string(i * 100LL);
        cells[0] = {texts[0], double(i + 1), true};
        cells[1] = {texts[1], 0, false};
        cells[2] = {texts[2], i * 0.25, true};
        cells[3] = {texts[3], i * 100.0, true};
        for (int c = 4; c < kCols; ++c) {
            bench::randomText(random, texts[c]);
            cells[c] = {texts[c], 0, false};
        }
        grid.appendRow(cells);
    }
    grid.endFill();
}

template <typename Step>
void timeStep(const QString& name, sheet::Grid& grid, Step step) {
    QElapsedTimer timer;
    timer.start();
    const double cpu = bench::threadCpuMs();
    const QString result = step();
    grid.viewport()->repaint();
    QApplication::processEvents();
    const qint64 wall = timer.elapsed();
    std::printf("%-34s %8lld %8.0f %8lld  %-4s %s\n", qPrintable(name), wall,
                bench::threadCpuMs() - cpu, kTargetMs, wall <= kTargetMs ? "ok" : "SLOW",
                qPrintable(result));
}

// One keystroke in column col's filter box: the whole condition so far.
void typeFilter(sheet::Grid& grid, sheet::RowFilter& filter, int col, const QString& typed) {
    timeStep(QStringLiteral("filter %1: %2").arg(col).arg(typed), grid, [&] {
        filter.setCondition(col, typed);
        if (filter.isActive()) {
            grid.showOnlyRows(filter.shownRows(grid.gridModel()->store(), 1));
        } else {
            grid.showAllRows();
        }
        return QStringLiteral("%1 / %2").arg(grid.shownDataRows()).arg(grid.rows() - 1);
    });
}

void find(sheet::Grid& grid, const QString& wanted, sheet::SheetFind::Direction direction,
          const char* label) {
    timeStep(QStringLiteral("find %1 \"%2\"").arg(label, wanted), grid, [&] {
        const sheet::SheetFind finder(grid.gridModel()->store(), 1,
                                      [&grid](int row) { return grid.isRowShown(row); });
        const auto hit =
            finder.find(sheet::TextMatcher(wanted, {}), {grid.row(), grid.col()}, direction);
        if (!hit) {
            return QStringLiteral("not found");
        }
        grid.select(hit->row, hit->col, hit->row, hit->col);
        grid.scrollTo(grid.currentIndex());
        return QStringLiteral("at %1,%2").arg(hit->row).arg(hit->col);
    });
}

// One keystroke in the find bar: every shown cell is read to count the hits,
// and the visible hits are painted.
void countHits(sheet::Grid& grid, const QString& typed) {
    timeStep(QStringLiteral("find bar: %1").arg(typed), grid, [&] {
        const sheet::TextMatcher wanted(typed, {});
        grid.setFindHits(typed, {});
        const sheet::SheetFind finder(grid.gridModel()->store(), 1,
                                      [&grid](int row) { return grid.isRowShown(row); });
        return QStringLiteral("%1 found").arg(finder.count(wanted));
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(10, atoi(argv[1])) : 1'000'000;
    sheet::Grid grid;
    grid.resize(1200, 800);
    grid.show();
    fill(grid, rows);
    QApplication::processEvents();
    std::printf("rows %d x cols %d\n", grid.rows() - 1, grid.cols());
    std::printf("%-34s %8s %8s %8s\n", "keystroke", "wall ms", "cpu ms", "target");

    sheet::RowFilter filter;
    for (const char* typed :
         {"n", "na", "name-9", "name-99", "name-999", "name-99", "name-9", ""}) {
        typeFilter(grid, filter, 1, QString::fromLatin1(typed));
    }
    for (const char* typed : {">", ">1", ">12", ">125", ">1250", ">12500", ">125000", "<200000"}) {
        typeFilter(grid, filter, 2, QString::fromLatin1(typed));
    }
    for (const char* typed : {"L", "Li", "Lik", "Like", "Like ", "Like *", "Like *7", "Like *77"}) {
        typeFilter(grid, filter, 1, QString::fromLatin1(typed));
    }
    typeFilter(grid, filter, 1, QString());
    typeFilter(grid, filter, 2, QString());
    typeFilter(grid, filter, 7, QStringLiteral("zz"));
    typeFilter(grid, filter, 7, QString());

    for (const char* typed : {"n", "na", "nam", "name-7", "name-77", "zz", "zürich"}) {
        countHits(grid, QString::fromUtf8(typed));
    }
    grid.setFindHits(QString(), {});

    using Direction = sheet::SheetFind::Direction;
    grid.select(1, 0, 1, 0);
    find(grid, QStringLiteral("name-999998"), Direction::Next, "next");
    find(grid, QStringLiteral("name-5"), Direction::Previous, "previous");
    find(grid, QStringLiteral("no such text"), Direction::Next, "next");
    find(grid, QStringLiteral("zürich"), Direction::Next, "next");
    return 0;
}
