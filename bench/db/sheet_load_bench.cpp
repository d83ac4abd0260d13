// Where the time of showing a big table goes, and whether a sheet gives its
// memory back: reads the benchmark database's 1M-row table Big through the
// engine alone, then into a sheet, loads Big and Orders in turn five times
// watching RssAnon, and sorts Big by its text column both ways. Prints wall
// milliseconds (the user's wait), CPU milliseconds of the whole process (the
// load uses a second thread; on a shared machine wall time also counts other
// programs' turns) and RssAnon.
//   sheet_load_bench BENCH_MDB   (QT_QPA_PLATFORM=offscreen when headless)
#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>
#include <string>

#include "bench/support/process_memory.h"
#include "db/database.h"
#include "db/sheet_binding.h"
#include "jet/sql_value_text.h"
#include "sheet/grid.h"

namespace {

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A step's wall and process CPU time.
struct Clock {
    QElapsedTimer wall;
    double cpu = 0;
    void start() {
        wall.start();
        cpu = processCpuMs();
    }
};

Clock mark;

void report(const char* step, long extra = -1) {
    std::printf("%-38s wall %6lld ms  cpu %6.0f ms  RssAnon %7ld kB", step, mark.wall.elapsed(),
                processCpuMs() - mark.cpu, bench::rssAnonKb());
    if (extra >= 0) {
        std::printf("  (%ld)", extra);
    }
    std::printf("\n");
}

std::unique_ptr<jet::Recordset> openOrExit(db::Database& database, const std::string& source) {
    auto records = database.openRecordset(source);
    if (!records.isOk()) {
        std::fprintf(stderr, "cannot open %s: %s\n", source.c_str(),
                     records.status().message().c_str());
        std::exit(2);
    }
    return std::move(records.value());
}

long scan(db::Database& database, bool withTexts) {
    auto records = openOrExit(database, "Big");
    long rows = 0;
    std::size_t bytes = 0;
    while (records->next()) {
        ++rows;
        if (withTexts) {
            for (const jet::Value& v : records->row()) {
                bytes +=
                    v.type() == jet::ValueType::Text ? v.data().size() : jet::displayText(v).size();
            }
        }
    }
    return withTexts ? long(bytes) : rows;
}

void load(db::Database& database, sheet::Grid& grid, const std::string& source) {
    auto records = openOrExit(database, source);
    db::SheetBinding binding(grid);
    binding.load(*records, database.estimatedRows(source));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: sheet_load_bench BENCH_MDB\n");
        return 1;
    }
    auto opened = db::Database::open(argv[1]);
    if (!opened.isOk()) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], opened.status().message().c_str());
        return 2;
    }
    db::Database& database = *opened.value();
    mark.start();
    report("start");

    mark.start();
    long n = scan(database, false);
    report("read Big through the engine", n);
    mark.start();
    n = scan(database, true);
    report("read Big and make the cells' texts", n);

    sheet::Grid grid;
    mark.start();
    load(database, grid, "Big");
    report("load Big into a sheet", grid.rows());
    const long firstKb = bench::rssAnonKb();
    for (int i = 0; i < 5; ++i) {
        load(database, grid, "Orders");
        mark.start();
        load(database, grid, "Big");
        report("load Orders, then Big again", grid.rows());
    }
    const long lastKb = bench::rssAnonKb();
    std::printf("RssAnon after five reloads / after the first: %.3f\n",
                double(lastKb) / double(firstKb));

    for (int order : {sheet::Grid::SortAscending, sheet::Grid::SortDescending}) {
        mark.start();
        grid.sort(1, order);
        report(order == sheet::Grid::SortAscending ? "sort Big by Name ascending"
                                                   : "sort Big by Name descending");
    }
    return 0;
}
