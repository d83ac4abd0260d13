// The safe write procedure: a failure at any step leaves the database byte for
// byte as it was; lock files, read-only files and folders are refused with
// the reason; the backup is made once and never overwritten.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>

#include "faulty_file_system.h"
#include "jet/database.h"
#include "jet/query_writer.h"
#include "temp_copy.h"
#include "write/safe_writer.h"

namespace jet::write {
namespace {

using namespace jet::write::testing;

const char* const kFile = "jackcess/V2000/queryTestV2000.mdb";
const char* const kSql = "SELECT Table1.col1 FROM Table1 WHERE Table1.col1 > '0';";

// Runs one save or delete on a fresh copy with call `failAt` failing; returns
// the number of file-system calls made.
int runWithFault(bool create, int failAt) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    if (!create) {
        EXPECT_TRUE(createQueryDef(path, "Doomed", kSql));
        std::filesystem::remove(backupPath(path));
    }
    const std::string before = fileBytes(path);
    FaultyFileSystem fs;
    fs.failAt = failAt;
    QueryWriteOptions options;
    options.fileSystem = &fs;
    Status status = create ? createQueryDef(path, "Fresh", kSql, options)
                           : deleteQueryDef(path, "Doomed", options);
    auto db = Database::open(path);
    EXPECT_TRUE(db);
    if (status) {
        // A failure the procedure could absorb (a stale-file test answering
        // "exists"): the change must then be complete.
        EXPECT_TRUE(fileBytes(path) != before);
        EXPECT_EQ((*db)->findQuery(create ? "Fresh" : "Doomed") != nullptr, create);
    } else {
        EXPECT_TRUE(fileBytes(path) == before) << status.message();
        EXPECT_FALSE(status.message().empty());
        if (std::filesystem::exists(backupPath(path))) {
            EXPECT_TRUE(fileBytes(backupPath(path)) == before);
        }
    }
    return fs.calls;
}

TEST(SafeWrite, AFailureAtAnyStepLeavesTheFileAsItWas) {
    for (bool create : {true, false}) {
        const int calls = runWithFault(create, -1);
        EXPECT_GE(calls, 10);
        for (int step = 0; step < calls; ++step) {
            SCOPED_TRACE((create ? "save, failing call " : "delete, failing call ") +
                         std::to_string(step));
            runWithFault(create, step);
        }
    }
}

TEST(SafeWrite, ALockFileRefusesAndNamesItsHolder) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    std::string record(64, '\0');
    record.replace(0, 6, "OFFICE");
    record.replace(32, 5, "admin");
    std::ofstream(lockFilePath(path), std::ios::binary) << record;
    const std::string before = fileBytes(path);
    Status status = createQueryDef(path, "Fresh", kSql);
    EXPECT_EQ(status.code(), ErrorCode::Io);
    EXPECT_NE(status.message().find("computer OFFICE, user admin"), std::string::npos)
        << status.message();
    EXPECT_TRUE(fileBytes(path) == before);
    EXPECT_EQ(deleteQueryDef(path, "SelectQuery").code(), ErrorCode::Io);
    EXPECT_TRUE(fileBytes(path) == before);
}

TEST(SafeWrite, ReadOnlyFileOrFolderRefusesWithTheReason) {
    struct Case {
        bool file, folder;
        const char* words;
    } cases[] = {{true, false, "read-only"}, {false, true, "Cannot create files in the folder"}};
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.copyIn(kFile);
        const std::string before = fileBytes(path);
        FaultyFileSystem fs;
        fs.readOnlyFile = c.file;
        fs.readOnlyFolder = c.folder;
        QueryWriteOptions options;
        options.fileSystem = &fs;
        Status status = createQueryDef(path, "Fresh", kSql, options);
        EXPECT_EQ(status.code(), ErrorCode::Io);
        EXPECT_NE(status.message().find(c.words), std::string::npos) << status.message();
        EXPECT_TRUE(fileBytes(path) == before);
    }
}

TEST(SafeWrite, BackupIsMadeOnceAndNeverOverwritten) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    const std::string original = fileBytes(path);
    ASSERT_TRUE(createQueryDef(path, "First", kSql));
    EXPECT_TRUE(fileBytes(backupPath(path)) == original);
    ASSERT_TRUE(createQueryDef(path, "Second", kSql));
    EXPECT_TRUE(fileBytes(backupPath(path)) == original);
    EXPECT_FALSE(std::filesystem::exists(temporaryPath(path)));
}

TEST(SafeWrite, ALockFileInUpperCaseIsSeenToo) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    std::ofstream(folder.path() / "QUERYTESTV2000.LDB") << std::string(64, '\0');
    const std::string before = fileBytes(path);
    Status status = createQueryDef(path, "Fresh", kSql);
    EXPECT_EQ(status.code(), ErrorCode::Io);
    EXPECT_NE(status.message().find("QUERYTESTV2000.LDB"), std::string::npos) << status.message();
    EXPECT_TRUE(fileBytes(path) == before);
}

TEST(SafeWrite, AFileWithoutWritePermissionIsRefusedEvenForRoot) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string before = fileBytes(path);
    Status status = createQueryDef(path, "Fresh", kSql);
    EXPECT_EQ(status.code(), ErrorCode::Io);
    EXPECT_NE(status.message().find("read-only"), std::string::npos) << status.message();
    EXPECT_TRUE(fileBytes(path) == before);
}

TEST(SafeWrite, ASymbolicLinkStaysALinkToTheChangedFile) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    const std::string link = (folder.path() / "link.mdb").string();
    std::filesystem::create_symlink(path, link);
    ASSERT_TRUE(createQueryDef(link, "Through Link", kSql));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    auto db = Database::open(path);
    ASSERT_TRUE(db);
    EXPECT_NE((*db)->findQuery("Through Link"), nullptr);
    EXPECT_TRUE(std::filesystem::exists(backupPath(path)));
    ASSERT_TRUE(deleteQueryDef(link, "Through Link"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

TEST(SafeWrite, AFifoInTheDatabasesPlaceIsRefusedWithoutBlocking) {
    TempFolder folder;
    const std::string fifo = (folder.path() / "pipe.mdb").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto saving = std::async(std::launch::async, [&] { return createQueryDef(fifo, "Q", kSql); });
    ASSERT_EQ(saving.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "the save blocked on a FIFO";
    Status status = saving.get();
    EXPECT_FALSE(status);
    EXPECT_NE(status.message().find("not a regular file"), std::string::npos) << status.message();
}

TEST(SafeWrite, NoBackupWhenAskedNone) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    QueryWriteOptions options;
    options.keepBackup = false;
    ASSERT_TRUE(createQueryDef(path, "Fresh", kSql, options));
    EXPECT_FALSE(std::filesystem::exists(backupPath(path)));
    EXPECT_FALSE(std::filesystem::exists(temporaryPath(path)));
    EXPECT_EQ(queryBackupPath(path), backupPath(path));
}

// Another program renames its own file over the database just before the
// exchange: the writer must notice and give that file back.
class RacingFileSystem : public RealFileSystem {
  public:
    std::string intruder;
    Status exchange(const std::string& a, const std::string& b) override {
        if (!intruder.empty()) {
            std::rename(intruder.c_str(), b.c_str());
            intruder.clear();
        }
        return RealFileSystem::exchange(a, b);
    }
};

TEST(SafeWrite, ADatabaseReplacedDuringTheSaveIsGivenBack) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    const std::string other = (folder.path() / "other.mdb").string();
    std::ofstream(other, std::ios::binary) << "another program's file";
    RacingFileSystem fs;
    fs.intruder = other;
    QueryWriteOptions options;
    options.fileSystem = &fs;
    Status status = createQueryDef(path, "Fresh", kSql, options);
    EXPECT_EQ(status.code(), ErrorCode::Io);
    EXPECT_NE(status.message().find("changed by another program"), std::string::npos)
        << status.message();
    EXPECT_EQ(fileBytes(path), "another program's file");
    EXPECT_FALSE(std::filesystem::exists(temporaryPath(path)));
}

// A killed save leaves its temporary file; the next save clears it even
// when it is refused itself, before it plans anything.
TEST(SafeWrite, AStaleTemporaryFileIsRemovedByARefusedSaveToo) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    ASSERT_TRUE(createQueryDef(path, "Taken", kSql));
    std::ofstream(temporaryPath(path), std::ios::binary) << fileBytes(path);
    const std::string before = fileBytes(path);
    Status status = createQueryDef(path, "Taken", kSql);
    EXPECT_NE(status.message().find("already exists"), std::string::npos) << status.message();
    EXPECT_TRUE(fileBytes(path) == before);
    EXPECT_FALSE(std::filesystem::exists(temporaryPath(path)));
}

// As above, and the swap back fails too: the other program's file must not
// stay at the temporary name, which the next save deletes.
class RacingFileSystemWithoutWayBack : public RacingFileSystem {
  public:
    int exchanges = 0;
    Status exchange(const std::string& a, const std::string& b) override {
        if (++exchanges > 1) {
            return {ErrorCode::Io, "injected failure"};
        }
        return RacingFileSystem::exchange(a, b);
    }
};

TEST(SafeWrite, AnotherProgramsFileThatCannotBeGivenBackIsKeptAside) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    std::ofstream(foreignPath(path, 1)) << "kept from an earlier save";
    const std::string other = (folder.path() / "other.mdb").string();
    std::ofstream(other, std::ios::binary) << "another program's file";
    RacingFileSystemWithoutWayBack fs;
    fs.intruder = other;
    QueryWriteOptions options;
    options.fileSystem = &fs;
    Status status = createQueryDef(path, "Fresh", kSql, options);
    EXPECT_EQ(status.code(), ErrorCode::Io);
    const std::string aside = foreignPath(path, 2);
    EXPECT_NE(status.message().find("that program's file is now '" + aside + "'"),
              std::string::npos)
        << status.message();
    EXPECT_EQ(fileBytes(aside), "another program's file");
    EXPECT_EQ(fileBytes(foreignPath(path, 1)), "kept from an earlier save");
    EXPECT_FALSE(std::filesystem::exists(temporaryPath(path)));
    // Later saves leave it alone.
    ASSERT_TRUE(createQueryDef(path, "Later", kSql));
    EXPECT_EQ(fileBytes(aside), "another program's file");
}

TEST(SafeWrite, AnOpenDatabaseKeepsReadingTheOldFile) {
    TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    auto open = Database::open(path);
    ASSERT_TRUE(open);
    ASSERT_TRUE(createQueryDef(path, "Fresh", kSql));
    EXPECT_EQ((*open)->findQuery("Fresh"), nullptr);
    auto table = (*open)->openTable("MSysQueries");
    ASSERT_TRUE(table);
    while ((*table)->next()) {
    }
    EXPECT_TRUE((*table)->status());
    auto reopened = Database::open(path);
    ASSERT_TRUE(reopened);
    EXPECT_NE((*reopened)->findQuery("Fresh"), nullptr);
}

}  // namespace
}  // namespace jet::write

namespace jet::write {
namespace {

TEST(SafeWrite, ASecondWriterIsRefusedWhileTheLockIsHeld) {
    testing::TempFolder folder;
    const std::string path = folder.copyIn(kFile);
    RealFileSystem fs;
    auto held = fs.lock(path);
    ASSERT_TRUE(held);
    // Opening and closing the file elsewhere in this process keeps the lock.
    {
        auto db = Database::open(path);
        ASSERT_TRUE(db);
    }
    auto second = fs.lock(path);
    EXPECT_FALSE(second);
    EXPECT_NE(second.status().message().find("another program"), std::string::npos);
}

}  // namespace
}  // namespace jet::write
