// Times the road of one request in the real main window (offscreen or on a
// display): opening a database to its first table on screen, clicking the
// 1M-row table Big of the benchmark database until every row is in the
// sheet, and running a GROUP BY into the sheet. Prints milliseconds and the
// process's RssAnon after each step.
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <cstdio>
#include <ctime>

#include "analysis/statistics_controller.h"
#include "app/database_browser.h"
#include "app/file_system_memory.h"
#include "app/main_window.h"
#include "app/sheet_editing.h"
#include "app/sheet_files.h"
#include "app/sheet_formatting.h"
#include "app/sheet_modes.h"
#include "app/startup.h"
#include "bench/support/process_memory.h"
#include "db/database_tree.h"
#include "sheet/delimited_text.h"
#include "sheet/flag_column_controller.h"
#include "sheet/format_commands.h"
#include "sheet/grid.h"
#include "sheet/grid_file.h"
#include "sql/sql_workbench.h"
#include "ui/help_menu.h"
#include "ui/main_toolbar.h"
#include "ui/scripted_desktop.h"
#include "ui/scripted_dialogs.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/view_layout.h"

namespace {

using bench::rssAnonKb;

// Processor time of the whole process: on a shared machine the wall clock
// also counts other programs' turns.
qint64 cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

qint64 cpuMark = 0;

void report(const char* step, qint64 ms, app::MainWindow& w) {
    const qint64 cpu = cpuMs() - cpuMark;
    QApplication::processEvents();
    std::printf("%-38s wall %6lld ms  cpu %6lld ms  rows %8d  cols %3d  RssAnon %8ld kB\n", step,
                (long long)ms, (long long)cpu, w.controls().dataSheet->rows() - 1,
                w.controls().dataSheet->cols(), rssAnonKb());
    cpuMark = cpuMs();
}

QTreeWidgetItem* tableNode(app::MainWindow& w, const QString& name) {
    QTreeWidgetItem* tables =
        db::DatabaseTree::find(*w.controls().databaseTree, QStringLiteral("N1"));
    for (int i = 0; tables && i < tables->childCount(); ++i) {
        if (tables->child(i)->text(0) == name) {
            return tables->child(i);
        }
    }
    return nullptr;
}

// Opens `path` as the open command does for a database; the time runs until
// the first table has been painted.
qint64 timedOpen(app::MainWindow& w, const QString& path) {
    QElapsedTimer clock;
    clock.start();
    w.files().openFile(path);
    if (w.files().openFileType() != app::OpenFileType::Database) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        std::exit(2);
    }
    w.controls().dataSheet->repaint();
    return clock.elapsed();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: browser_bench TESTDATA_FOLDER BENCH_MDB\n");
        return 1;
    }
    const QString testdata = QString::fromLocal8Bit(argv[1]);
    const QString bench = QString::fromLocal8Bit(argv[2]);
    app::MemoryFileSystem fs;
    ui::ScriptedDialogs dialogs;
    ui::ScriptedDesktop desktop;
    Startup::Environment env{&fs, "/prog", "/user", &dialogs, &desktop, {}};
    Startup module(env);
    module.start();
    app::MainWindow& w = *module.mainWindow();
    QApplication::processEvents();
    report("start", 0, w);

    const QString small = testdata + QStringLiteral("/mdb-reader/V2003/test.mdb");
    // The window asks its file system whether a file is there before the
    // engine reads it from disk; the in-memory one only needs to know it is.
    fs.putFile(small, {});
    fs.putFile(bench, {});
    timedOpen(w, small);  // warm the cache
    cpuMark = cpuMs();
    report("open test.mdb to first table", timedOpen(w, small), w);

    report("open bench.mdb to first table", timedOpen(w, bench), w);
    QTreeWidgetItem* big = tableNode(w, QStringLiteral("Big"));
    if (!big) {
        std::fprintf(stderr, "no table Big in %s\n", qPrintable(bench));
        return 2;
    }
    QElapsedTimer clock;
    cpuMark = cpuMs();
    clock.start();
    w.browser().onNodeClicked(big);
    w.controls().dataSheet->repaint();
    report("click Big to all rows in the sheet", clock.elapsed(), w);

    cpuMark = cpuMs();
    clock.start();
    const QByteArray saved = sheet::GridFile::save(*w.controls().dataSheet);
    report("save that sheet as a grid file", clock.elapsed(), w);
    cpuMark = cpuMs();
    clock.start();
    sheet::Grid loaded;
    if (!sheet::GridFile::load(loaded, saved).isOk()) {
        std::fprintf(stderr, "the saved sheet does not load back\n");
        return 2;
    }
    report("load it back into a sheet", clock.elapsed(), w);

    cpuMark = cpuMs();
    clock.start();
    const QByteArray csv =
        sheet::DelimitedText::save(*w.controls().dataSheet, sheet::DelimitedText::kComma, true);
    report("save that sheet as comma-delimited text", clock.elapsed(), w);
    cpuMark = cpuMs();
    clock.start();
    sheet::Grid fromText;
    if (!sheet::DelimitedText::load(fromText, sheet::DelimitedText::toUtf8(csv),
                                    sheet::DelimitedText::kComma)
             .isOk()) {
        std::fprintf(stderr, "the saved text does not load back\n");
        return 2;
    }
    report("load that text into a sheet", clock.elapsed(), w);

    w.sqlWorkbench().setText(
        QStringLiteral("SELECT Region, Count(*), Sum(Amount) FROM Orders GROUP BY Region"));
    cpuMark = cpuMs();
    clock.start();
    w.sqlWorkbench().run();
    w.controls().dataSheet->repaint();
    report("run GROUP BY Region into the sheet", clock.elapsed(), w);
    if (!dialogs.asked.isEmpty()) {
        std::printf("messages: %s\n", qPrintable(dialogs.asked.last().text));
    }
    return 0;
}
