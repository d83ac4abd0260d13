// Open + catalog (tables, fields, saved queries) of one file, in process,
// warm cache: median and spread of 20 runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "jet/database.h"

int main(int argc, char** argv) {
    const std::string file =
        argc > 1 ? argv[1] : std::string(TABLESCOPE_TESTDATA) + "/mdb-reader/V2003/test.mdb";
    const int runs = 20;
    std::vector<double> ms;
    size_t tables = 0;
    for (int k = 0; k < runs + 1; ++k) {
        const auto start = std::chrono::steady_clock::now();
        auto db = jet::Database::open(file);
        if (!db) {
            std::fprintf(stderr, "%s\n", db.status().message().c_str());
            return 2;
        }
        tables = (*db)->tables().size();
        const double elapsed =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (k > 0)
            ms.push_back(elapsed);  // the first run only warms the cache
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "%s: %zu tables; open + catalog over %d runs: median %.3f ms, min %.3f ms, max %.3f ms\n",
        file.c_str(), tables, runs, ms[ms.size() / 2], ms.front(), ms.back());
    return 0;
}
