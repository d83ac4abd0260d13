// bench.mdb into a new SQLite file: tablescope-cli to-sqlite against the
// mdbtools route (mdb-schema FILE sqlite | sqlite3, then mdb-export -I sqlite
// per table | sqlite3), one after the other in one run on the same file.
// Reports wall and CPU seconds, the peak memory of tablescope-cli and the ratio.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/support/child_timing.h"

namespace {

using bench::Timing;

// Runs `command` through the shell.
Timing run(const std::string& command) {
    return bench::timeChild(
        [&command] { execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr)); });
}

std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

void report(const char* name, const Timing& t) {
    std::printf("%-22s exit %d  wall %6.2f s  cpu %6.2f s\n", name,
                WIFEXITED(t.status) ? WEXITSTATUS(t.status) : -1, t.wall, t.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s BENCH_MDB\n", argv[0]);
        return 1;
    }
    const std::string file = quote(argv[1]);
    const std::string dir = std::filesystem::temp_directory_path() / "tablescope_to_sqlite_bench";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string ours = quote(dir + "/ours.sqlite");
    const std::string theirs = quote(dir + "/theirs.sqlite");

    run("cat " + file + " > /dev/null");  // both read the file from the page cache
    const Timing a =
        run(std::string(TABLESCOPE_CLI) + " to-sqlite " + file + " " + ours + " > /dev/null");
    // Each table's INSERTs in one transaction, as a user piping them would do.
    const Timing b =
        run("mdb-schema " + file + " sqlite | sqlite3 " + theirs + " && for t in $(mdb-tables -1 " +
            file + "); do (echo 'BEGIN;'; mdb-export -I sqlite " + file +
            " \"$t\"; echo 'COMMIT;') | sqlite3 " + theirs + " || exit 1; done");
    report("tablescope-cli", a);
    report("mdbtools | sqlite3", b);
    std::printf("tablescope-cli peak memory: %.1f MiB\n", static_cast<double>(a.peakKiB) / 1024);
    std::printf("ratio (mdbtools / tablescope-cli): wall %.1fx  cpu %.1fx\n", b.wall / a.wall,
                b.cpu / a.cpu);
    std::filesystem::remove_all(dir);
    return 0;
}
