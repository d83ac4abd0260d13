// CSV export of table Big (1M rows): tablescope-cli against mdbtools'
// mdb-export, run one after the other on the same file, both to /dev/null.
// Reports wall and CPU seconds, rows per second and the ratio; then the same
// export as JSON Lines, as a ratio to our CSV.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/child_timing.h"

namespace {

using bench::Timing;

// Runs argv with its output thrown away.
Timing run(const std::vector<std::string>& argv) {
    return bench::timeChild([&argv] {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
    });
}

void report(const char* name, const Timing& t, double rows) {
    std::printf(
        "%-16s exit %d  wall %6.2f s  cpu %6.2f s  %10.0f rows/s (wall)  %10.0f rows/s (cpu)\n",
        name, WIFEXITED(t.status) ? WEXITSTATUS(t.status) : -1, t.wall, t.cpu, rows / t.wall,
        rows / t.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s BENCH_MDB [TABLE] [ROWS]\n", argv[0]);
        return 1;
    }
    const std::string file = argv[1];
    const std::string table = argc > 2 ? argv[2] : "Big";
    const double rows = argc > 3 ? std::stod(argv[3]) : 1e6;
    // Warm the page cache so both read the file from memory.
    run({TABLESCOPE_CLI, "export", file, table});
    const Timing ours = run({TABLESCOPE_CLI, "export", file, table});
    const Timing theirs = run({"mdb-export", file, table});
    const Timing jsonl = run({TABLESCOPE_CLI, "export", file, table, "--format", "jsonl"});
    report("tablescope-cli", ours, rows);
    report("mdb-export", theirs, rows);
    report("tablescope jsonl", jsonl, rows);
    std::printf("ratio (mdb-export / tablescope-cli): wall %.1fx  cpu %.1fx\n",
                theirs.wall / ours.wall, theirs.cpu / ours.cpu);
    std::printf("ratio (jsonl / csv): wall %.2fx  cpu %.2fx\n", jsonl.wall / ours.wall,
                jsonl.cpu / ours.cpu);
    return 0;
}
