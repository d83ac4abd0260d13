// libFuzzer target: any bytes as a database file, read the way the program
// reads one: open (header, codec, catalog, saved-query rebuild), then every
// value of every local table, strictly and then salvaging. Crashes, hangs and runaway memory are
// findings; error results are the expected outcome for most inputs.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "jet/database.h"

namespace {

// Enough rows to reach every page of the seed files, few enough that one
// input cannot keep the fuzzer busy for long.
constexpr size_t kMaxRowsPerTable = 20000;

void scan(const jet::Database& db, const jet::TableDef& table) {
    auto cursor = db.openTable(table);
    if (!cursor) {
        return;
    }
    for (size_t rows = 0; rows < kMaxRowsPerTable && (*cursor)->next(); ++rows) {
        for (size_t i = 0; i < (*cursor)->columnCount(); ++i) {
            (*cursor)->get(i).toValue();
        }
    }
    (void)(*cursor)->status().message().size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = memfd_create("fuzz-database", 0);
    if (fd < 0) {
        return 0;
    }
    for (size_t done = 0; done < size;) {
        ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) {
            close(fd);
            return 0;
        }
        done += static_cast<size_t>(n);
    }
    std::string path = "/proc/self/fd/" + std::to_string(fd);
    // Strictly, then salvaging what can be read, as check and --salvage do.
    for (jet::ReadMode mode : {jet::ReadMode::Strict, jet::ReadMode::Salvage}) {
        auto db = jet::Database::open(path, "password", mode);
        if (!db) {
            continue;
        }
        for (const jet::TableDef& table : (*db)->tables()) {
            if (!table.isLinked()) {
                scan(**db, table);
            }
        }
        for (const jet::QueryDef& query : (*db)->queries()) {
            (void)query.info.sql.size();
        }
        (void)(*db)->damage().lines().size();
    }
    close(fd);
    return 0;
}
