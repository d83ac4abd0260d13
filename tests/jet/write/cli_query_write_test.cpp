// The command-line face of the writer: save-query and delete-query exit
// codes, the backup message and --no-backup, files that are not databases,
// and to-sqlite refusing to overwrite the database it reads.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_options.h"
#include "query_write_commands.h"
#include "temp_copy.h"
#include "to_sqlite_command.h"

namespace jet::write {
namespace {

using testing::TempFolder;

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

std::string readBack(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, file)) {
        text.append(buffer, n);
    }
    std::fclose(file);
    return text;
}

CliRun run(const std::vector<std::string>& args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CliRun result;
    const bool handled = cli::tryRunQueryWriteCommand(args, out, err, result.exitCode) ||
                         cli::tryRunToSqliteCommand(args, out, err, result.exitCode);
    EXPECT_TRUE(handled);
    result.out = readBack(out);
    result.err = readBack(err);
    return result;
}

const char* const kFile = "jackcess/V2000/queryTestV2000.mdb";

TEST(CliQueryWrite, SaveAndDeleteSayWhereTheBackupIs) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    CliRun saved = run({"save-query", path, "Q1", "SELECT * FROM Table1;"});
    EXPECT_EQ(saved.exitCode, cli::kOk) << saved.err;
    EXPECT_EQ(saved.out, "Saved query 'Q1'\n");
    EXPECT_NE(saved.err.find(path + ".bak"), std::string::npos) << saved.err;
    CliRun deleted = run({"delete-query", path, "Q1"});
    EXPECT_EQ(deleted.exitCode, cli::kOk) << deleted.err;
    EXPECT_EQ(deleted.err, "");  // the backup exists already and is kept as it is
    CliRun again = run({"delete-query", path, "Q1"});
    EXPECT_EQ(again.exitCode, cli::kReadError);
    EXPECT_NE(again.err.find("There is no query named 'Q1'"), std::string::npos) << again.err;
}

TEST(CliQueryWrite, NoBackupKeepsNone) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    CliRun saved = run({"save-query", path, "Q1", "SELECT * FROM Table1;", "--no-backup"});
    EXPECT_EQ(saved.exitCode, cli::kOk) << saved.err;
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
}

TEST(CliQueryWrite, ARefusedWriteIsAnOutputErrorNotAnOpenError) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    std::ofstream(folder.path() / "queryTestV2000.ldb") << std::string(64, '\0');
    CliRun locked = run({"save-query", path, "Q1", "SELECT * FROM Table1;"});
    EXPECT_EQ(locked.exitCode, cli::kReadError) << locked.err;
    CliRun missing = run({"save-query", path + ".none", "Q1", "SELECT * FROM Table1;"});
    EXPECT_EQ(missing.exitCode, cli::kCannotOpen);
    CliRun unknown = run({"save-query", path, "Q1", "SELECT * FROM NoSuchTable;"});
    EXPECT_EQ(unknown.exitCode, cli::kReadError);  // as for export of a missing table
    CliRun bad = run({"save-query", path, "Q1", "SELEC * FROM Table1;"});
    EXPECT_EQ(bad.exitCode, cli::kStatementError);
}

TEST(CliQueryWrite, AFifoIsRefusedWithoutBlocking) {
    TempFolder folder;
    const std::string fifo = (folder.path() / "pipe.mdb").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CliRun refused = run({"save-query", fifo, "Q1", "SELECT 1;"});
    EXPECT_EQ(refused.exitCode, cli::kCannotOpen);
    EXPECT_NE(refused.err.find("not a regular file"), std::string::npos) << refused.err;
}

// Fault: "to-sqlite FILE FILE --force" replaced the database with the SQLite
// file. Every spelling of the source is refused, with or without --force.
TEST(CliQueryWrite, ToSqliteNeverOverwritesTheSource) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    const std::string before = testing::fileBytes(path);
    const std::filesystem::path dir = folder.path();
    std::filesystem::create_symlink(path, dir / "link.mdb");
    std::filesystem::create_hard_link(path, dir / "hard.mdb");
    const std::vector<std::string> targets = {path, (dir / "." / "queryTestV2000.mdb").string(),
                                              (dir / "link.mdb").string(),
                                              (dir / "hard.mdb").string()};
    for (const std::string& target : targets) {
        for (bool force : {false, true}) {
            std::vector<std::string> args = {"to-sqlite", path, target};
            if (force) {
                args.push_back("--force");
            }
            CliRun refused = run(args);
            EXPECT_NE(refused.exitCode, cli::kOk) << target;
            EXPECT_NE(refused.err.find("is the database being copied"), std::string::npos)
                << refused.err;
            EXPECT_TRUE(testing::fileBytes(path) == before) << target;
        }
    }
}

}  // namespace
}  // namespace jet::write
