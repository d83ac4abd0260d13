// Memory of a full scan: every value of every row of a table decoded; the
// highest RssAnon (/proc/self/status: anonymous memory, not file pages) seen
// while scanning, and the time taken.
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/support/process_memory.h"
#include "jet/database.h"

namespace {

using bench::rssAnonKb;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s BENCH_MDB [TABLE]\n", argv[0]);
        return 1;
    }
    const std::string table = argc > 2 ? argv[2] : "Big";
    const long before = rssAnonKb();
    auto db = jet::Database::open(argv[1]);
    if (!db) {
        std::fprintf(stderr, "%s\n", db.status().message().c_str());
        return 2;
    }
    auto cursor = (*db)->openTable(table);
    if (!cursor) {
        std::fprintf(stderr, "%s\n", cursor.status().message().c_str());
        return 3;
    }
    const auto start = std::chrono::steady_clock::now();
    long peak = rssAnonKb();
    uint64_t rows = 0, bytes = 0;
    jet::TableCursor& c = **cursor;
    while (c.next()) {
        for (size_t i = 0; i < c.columnCount(); ++i)
            bytes += c.get(i).data.size();
        if (++rows % 50000 == 0)
            peak = std::max(peak, rssAnonKb());
    }
    peak = std::max(peak, rssAnonKb());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %llu rows, %llu text/binary bytes decoded in %.2f s (%.0f rows/s)\n",
                table.c_str(), static_cast<unsigned long long>(rows),
                static_cast<unsigned long long>(bytes), seconds,
                static_cast<double>(rows) / seconds);
    std::printf("RssAnon: %ld kB before open, peak %ld kB during the scan (%s)\n", before, peak,
                c.status().isOk() ? "ok" : c.status().message().c_str());
    return c.status().isOk() ? 0 : 3;
}
