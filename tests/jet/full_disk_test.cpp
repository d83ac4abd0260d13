// tablescope-cli on a full disk: output to /dev/full and saves into a small
// file system filled to the brim. A write that fails is a write error with
// its reason (exit 3), never exit 0 and never "cannot open"; a failed save
// leaves the database as it was and no temporary file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/small_file_system.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

const std::string kCli = std::string(TABLESCOPE_CLI) + " ";
const std::string kShop = std::string(TABLESCOPE_TEST_SOURCE_DIR) + "/../../samples/shop.mdb";
const std::string kNoSpace = "No space left on device";

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// What the command says on stderr, its output thrown into /dev/full.
std::string runIntoFullDevice(const std::string& args, int& rc) {
    return jettest::runCommand(kCli + args + " 2>&1 >/dev/full", rc);
}

// The shop database copied into a small file system with `room` bytes left
// free; null (and the test skipped) where no file system can be mounted.
struct FullCopy {
    explicit FullCopy(unsigned long long room)
        : disk(jettest::makeTempDir(), 2 * fs::file_size(kShop) + (1 << 20)) {
        if (!disk.mounted())
            return;
        path = disk.folder() + "/shop.mdb";
        fs::copy_file(kShop, path);
        filled = disk.fillLeaving(room);
    }
    testsupport::SmallFileSystem disk;
    std::string path;
    bool filled = false;
};

TEST(FullDisk, Fault16_OutputToAFullDeviceIsAWriteError) {
    const std::string shop = jettest::shellQuote(kShop);
    for (const std::string& args :
         {"export " + shop + " Orders", "export " + shop + " Orders --format jsonl",
          "export " + shop + " 'Order Lines'", "run " + shop + " 'SELECT * FROM Customers'",
          "tables " + shop, "queries " + shop, "schema " + shop, "sql " + shop + " 'Orders Since'",
          "check " + shop, std::string("--help")}) {
        SCOPED_TRACE(args);
        int rc = 0;
        const std::string said = runIntoFullDevice(args, rc);
        EXPECT_EQ(rc, 3) << said;
        EXPECT_NE(said.find("cannot write the output: " + kNoSpace), std::string::npos) << said;
        EXPECT_EQ(said.find("cannot open"), std::string::npos) << said;
    }
}

// Replacing a pipe or device by the SQLite file would remove it, --force or not.
TEST(FullDisk, Fault16_ToSqliteRefusesATargetThatIsNotARegularFile) {
    const std::string pipe = jettest::makeTempDir() + "/out.sqlite";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    int rc = 0;
    const std::string said = jettest::runCommand(
        kCli + "to-sqlite " + jettest::shellQuote(kShop) + " " + pipe + " --force 2>&1", rc);
    EXPECT_EQ(rc, 3) << said;
    EXPECT_NE(said.find("is not a regular file"), std::string::npos) << said;
    EXPECT_TRUE(fs::is_fifo(pipe));
}

// No room at all, and room for part of the temporary copy: the copy fails
// half-way in the second case.
TEST(FullDisk, Fault16_SaveQueryOnAFullFileSystemKeepsTheDatabase) {
    for (const unsigned long long room :
         {0ull, static_cast<unsigned long long>(fs::file_size(kShop) / 2)}) {
        SCOPED_TRACE("room " + std::to_string(room));
        FullCopy copy(room);
        if (!copy.disk.mounted())
            GTEST_SKIP() << copy.disk.whyNot();
        ASSERT_TRUE(copy.filled);
        const std::string before = bytesOf(copy.path);
        int rc = 0;
        const std::string said = jettest::runCommand(
            kCli + "save-query " + copy.path + " Late 'SELECT * FROM Orders' 2>&1", rc);
        EXPECT_EQ(rc, 3) << said;
        EXPECT_NE(said.find(kNoSpace), std::string::npos) << said;
        EXPECT_EQ(said.find("Saved query"), std::string::npos) << said;
        EXPECT_TRUE(bytesOf(copy.path) == before);
        EXPECT_FALSE(fs::exists(copy.path + ".~tmp"));
        // A backup that could not be written whole is not left as one.
        EXPECT_TRUE(!fs::exists(copy.path + ".bak") || bytesOf(copy.path + ".bak") == before);
        const std::string queries = jettest::runCommand(kCli + "queries " + copy.path, rc);
        EXPECT_EQ(queries.find("Late"), std::string::npos) << queries;
    }
}

TEST(FullDisk, Fault16_ToSqliteOnAFullFileSystemLeavesNoFile) {
    FullCopy copy(64 * 1024);
    if (!copy.disk.mounted())
        GTEST_SKIP() << copy.disk.whyNot();
    ASSERT_TRUE(copy.filled);
    const std::string out = copy.disk.folder() + "/shop.sqlite";
    int rc = 0;
    const std::string said =
        jettest::runCommand(kCli + "to-sqlite " + copy.path + " " + out + " 2>&1", rc);
    EXPECT_EQ(rc, 3) << said;
    EXPECT_NE(said.find("cannot write"), std::string::npos) << said;
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(copy.disk.folder()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"filler", "shop.mdb"}));
}

}  // namespace
