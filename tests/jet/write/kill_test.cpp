// A writer killed at any moment of a save leaves the old file byte for byte
// or the complete new one, never a mix; the next save clears what the killed
// one left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

#include "jet/database.h"
#include "jet/query_writer.h"
#include "temp_copy.h"
#include "write/safe_writer.h"

namespace jet::write {
namespace {

using testing::TempFolder;

const char* const kSql = "SELECT Table1.col1 FROM Table1 WHERE Table1.col1 <> 'k';";

// Saves `name` in a child process killed after `delay`; true when the child
// finished before the kill.
bool saveKilledAfter(const std::string& path, const std::string& name,
                     std::chrono::microseconds delay) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(createQueryDef(path, name, kSql) ? 0 : 1);
    }
    ::usleep(static_cast<useconds_t>(delay.count()));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status);
}

TEST(KilledWriter, LeavesTheOldFileOrTheWholeNewOne) {
    TempFolder folder;
    const std::string path = folder.copyIn("jackcess/V2000/queryTestV2000.mdb");
    // How long one save takes here, to spread the kills over it.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(createQueryDef(path, "Timing", kSql));
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int64_t> when(0, took.count() * 2);
    int completed = 0, untouched = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "Killed " + std::to_string(attempt);
        const std::string before = testing::fileBytes(path);
        saveKilledAfter(path, name, std::chrono::microseconds(when(random)));
        if (testing::fileBytes(path) == before) {
            ++untouched;
            continue;
        }
        auto db = Database::open(path);
        ASSERT_TRUE(db) << name << ": " << db.status().message();
        const QueryDef* query = (*db)->findQuery(name);
        ASSERT_NE(query, nullptr) << name << ": the file changed but holds no new query";
        EXPECT_TRUE(query->status) << query->status.message();
        ++completed;
    }
    std::printf("killed saves: %d left the old file, %d the new one\n", untouched, completed);
    // The next save removes a temporary file a killed one left.
    ASSERT_TRUE(createQueryDef(path, "After The Kills", kSql));
    EXPECT_FALSE(std::filesystem::exists(temporaryPath(path)));
}

}  // namespace
}  // namespace jet::write
