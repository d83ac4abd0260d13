// Where the settings file lives, and settings surviving a restart when the
// program's folder cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/file_system_local.h"
#include "app/file_system_memory.h"
#include "app/settings_file.h"

namespace app {
namespace {

const QString kProgram = "/opt/tablescope/bin";
const QString kUser = "/home/u/.config/tablescope";
const QString kProgramFile = "/opt/tablescope/bin/VT.ini";
const QString kUserFile = "/home/u/.config/tablescope/VT.ini";

TEST(SettingsPath, IsVtIniInsideTheFolder) {
    EXPECT_EQ(settingsFilePath("/opt/x"), "/opt/x/VT.ini");
    EXPECT_EQ(settingsFilePath("/opt/x/"), "/opt/x/VT.ini");
}

TEST(SettingsPath, UserFolderIsTheApplicationsConfigFolder) {
    QCoreApplication::setOrganizationName("ExampleMaker");
    QCoreApplication::setApplicationName("SettingsProbe");
    const QString folder = userConfigFolder();
    EXPECT_FALSE(folder.isEmpty());
    EXPECT_TRUE(folder.endsWith("ExampleMaker/SettingsProbe")) << folder.toStdString();
}

struct LocationCase {
    const char* name;
    bool programWritable;
    bool userFileExists;
    bool userFolderKnown;
    QString readPath;
    QString writePath;
};

void PrintTo(const LocationCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsLocationChoice : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocationChoice, PicksTheFileToReadAndToWrite) {
    const LocationCase& c = GetParam();
    MemoryFileSystem fs;
    fs.putFile(kProgramFile, "[A]\nK=1\n");
    if (!c.programWritable) {
        fs.setReadOnlyFolder("/opt");
    }
    if (c.userFileExists) {
        fs.putFile(kUserFile, "[A]\nK=2\n");
    }
    const SettingsLocation location =
        chooseSettingsLocation(fs, kProgram, c.userFolderKnown ? kUser : QString());
    EXPECT_EQ(location.readPath, c.readPath);
    EXPECT_EQ(location.writePath, c.writePath);
}

const LocationCase kLocationCases[] = {
    {"WritableProgramFolder", true, false, true, kProgramFile, kProgramFile},
    {"ReadOnlyProgramFolder", false, false, true, kProgramFile, kUserFile},
    {"UserFileWinsWhenReadOnly", false, true, true, kUserFile, kUserFile},
    {"UserFileWinsWhenWritable", true, true, true, kUserFile, kUserFile},
    {"NoUserFolderKnown", false, false, false, kProgramFile, kProgramFile},
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsLocationChoice, ::testing::ValuesIn(kLocationCases),
                         [](const auto& info) { return std::string(info.param.name); });

// One run of the program as far as its settings go: choose, read, write.
QString runOnce(MemoryFileSystem& fs, const QString& newTop) {
    SettingsFile settings(fs, chooseSettingsLocation(fs, kProgram, kUser));
    const QString top = settings.readValue("WINDOWS", "TOP");
    EXPECT_TRUE(settings.writeValue("WINDOWS", "TOP", newTop).isOk());
    EXPECT_TRUE(settings.writeValue("OPTION", "SHOWTIP", "False").isOk());
    return top;
}

TEST(SettingsReadOnlyProgramFolder, SettingsSurviveRestarts) {
    MemoryFileSystem fs;
    fs.putFile(kProgramFile, "[WINDOWS]\nTOP=10\n\n[SITE]\nSHARED=yes\n");
    fs.setReadOnlyFolder(kProgram);

    EXPECT_EQ(runOnce(fs, "20"), "10");  // the installed defaults are read first
    EXPECT_EQ(runOnce(fs, "30"), "20");
    EXPECT_EQ(runOnce(fs, "40"), "30");

    EXPECT_EQ(fs.contents(kProgramFile), "[WINDOWS]\nTOP=10\n\n[SITE]\nSHARED=yes\n");
    EXPECT_EQ(fs.contents(kUserFile),
              "[WINDOWS]\nTOP=40\n\n[SITE]\nSHARED=yes\n\n[OPTION]\nSHOWTIP=False\n");
}

TEST(SettingsReadOnlyProgramFolder, FirstRunWithoutAnyFile) {
    MemoryFileSystem fs;
    fs.setReadOnlyFolder(kProgram);
    EXPECT_EQ(runOnce(fs, "20"), "");
    EXPECT_EQ(runOnce(fs, "30"), "20");
    EXPECT_FALSE(fs.fileExists(kProgramFile));
}

TEST(SettingsWritableProgramFolder, SettingsStayBesideTheProgram) {
    MemoryFileSystem fs;
    EXPECT_EQ(runOnce(fs, "20"), "");
    EXPECT_EQ(runOnce(fs, "30"), "20");
    EXPECT_TRUE(fs.fileExists(kProgramFile));
    EXPECT_FALSE(fs.fileExists(kUserFile));
}

// The folder looked writable, but the file itself refused the write (say it
// belongs to another user): the settings go to the per-user file instead.
TEST(SettingsWriteFallback, RefusedProgramFileMovesSettingsToUserFile) {
    MemoryFileSystem fs;
    fs.putFile(kProgramFile, "[WINDOWS]\nTOP=10\nLEFT=5\n");
    fs.failWritesOf(kProgramFile);
    SettingsFile settings(fs, chooseSettingsLocation(fs, kProgram, kUser));
    ASSERT_EQ(settings.location().writePath, kProgramFile);

    EXPECT_TRUE(settings.writeValue("WINDOWS", "TOP", "77").isOk());
    EXPECT_EQ(settings.location().writePath, kUserFile);
    EXPECT_EQ(settings.location().readPath, kUserFile);
    EXPECT_EQ(settings.readValue("WINDOWS", "TOP"), "77");
    EXPECT_EQ(settings.readValue("WINDOWS", "LEFT"), "5");
    EXPECT_EQ(fs.contents(kProgramFile), "[WINDOWS]\nTOP=10\nLEFT=5\n");
    EXPECT_EQ(runOnce(fs, "1"), "77");
}

TEST(SettingsWriteFallback, NowhereToWriteFailsButReadsStillWork) {
    MemoryFileSystem fs;
    fs.putFile(kProgramFile, "[WINDOWS]\nTOP=10\n");
    fs.setReadOnlyFolder("/opt");
    fs.setReadOnlyFolder("/home");
    SettingsFile settings(fs, chooseSettingsLocation(fs, kProgram, kUser));
    const jet::Status status = settings.writeValue("WINDOWS", "TOP", "1");
    EXPECT_EQ(status.code(), jet::ErrorCode::Io);
    EXPECT_NE(status.message().find("VT.ini"), std::string::npos) << status.message();
    EXPECT_EQ(settings.readValue("WINDOWS", "TOP"), "10");
}

// The real file system, in a scratch folder.
class LocalFiles : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    LocalFileSystem fs_;
};

TEST_F(LocalFiles, MissingFileIsNotFound) {
    const auto result = fs_.readFile(path("none.ini"));
    ASSERT_FALSE(result.isOk());
    EXPECT_EQ(result.status().code(), jet::ErrorCode::NotFound);
    EXPECT_FALSE(fs_.fileExists(path("none.ini")));
}

TEST_F(LocalFiles, WriteCreatesFoldersAndReadsBack) {
    const QString file = path("a/b/c/VT.ini");
    ASSERT_TRUE(fs_.writeFile(file, "[A]\nK=1\n").isOk());
    EXPECT_TRUE(fs_.fileExists(file));
    const auto result = fs_.readFile(file);
    ASSERT_TRUE(result.isOk());
    EXPECT_EQ(*result, "[A]\nK=1\n");
    ASSERT_TRUE(fs_.writeFile(file, "x").isOk());
    EXPECT_EQ(*fs_.readFile(file), "x");
}

TEST_F(LocalFiles, OversizedFileIsRefused) {
    QFile big(path("big.ini"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(FileSystem::kMaxReadBytes + 1));
    big.close();
    const auto result = fs_.readFile(path("big.ini"));
    ASSERT_FALSE(result.isOk());
    EXPECT_EQ(result.status().code(), jet::ErrorCode::Io);
}

TEST_F(LocalFiles, FolderIsNotAFile) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("sub"));
    EXPECT_FALSE(fs_.fileExists(path("sub")));
    const auto result = fs_.readFile(path("sub"));
    EXPECT_FALSE(result.isOk());
}

TEST_F(LocalFiles, PipeOrDeviceIsRefusedWithoutBlocking) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.ini")).constData(), 0600), 0);
    EXPECT_EQ(fs_.readFile(path("fifo.ini")).status().code(), jet::ErrorCode::Io);
    ASSERT_TRUE(QFile::link("/dev/zero", path("zero.ini")));
    EXPECT_EQ(fs_.readFile(path("zero.ini")).status().code(), jet::ErrorCode::Io);
    SettingsFile settings(fs_, {path("fifo.ini"), path("fifo.ini"), {}});
    EXPECT_EQ(settings.readValue("A", "K"), "");
}

// Saving over a FIFO, a device link or a folder is refused; the FIFO stays.
TEST_F(LocalFiles, Fault5_PipeOrDeviceIsNeverWrittenThroughOrReplaced) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.txt")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/null", path("null.prs")));
    for (const QString& name : {QStringLiteral("fifo.txt"), QStringLiteral("null.prs")}) {
        EXPECT_EQ(fs_.replaceFile(path(name), "x").code(), jet::ErrorCode::Io)
            << name.toStdString();
        EXPECT_EQ(fs_.writeFile(path(name), "x").code(), jet::ErrorCode::Io) << name.toStdString();
    }
    EXPECT_FALSE(QFileInfo(path("fifo.txt")).isFile());
    EXPECT_TRUE(QFileInfo(path("null.prs")).isSymLink());
}

TEST_F(LocalFiles, WritableFolders) {
    EXPECT_TRUE(fs_.isWritableFolder(dir_.path()));
    EXPECT_FALSE(fs_.isWritableFolder(path("missing")));
}

TEST_F(LocalFiles, SettingsRoundTripOnDisk) {
    SettingsFile settings(fs_, chooseSettingsLocation(fs_, dir_.path(), path("user")));
    ASSERT_TRUE(settings.writeValue("WINDOWS", "TOP", "1200").isOk());
    ASSERT_TRUE(settings.writeValue("OPTION", "LASTOPENPATH", "/x y/z.mdb").isOk());
    const SettingsFile again(fs_, chooseSettingsLocation(fs_, dir_.path(), path("user")));
    EXPECT_EQ(again.location().readPath, path("VT.ini"));
    EXPECT_EQ(again.readValue("WINDOWS", "TOP"), "1200");
    EXPECT_EQ(again.readValue("OPTION", "LASTOPENPATH"), "/x y/z.mdb");
}

}  // namespace
}  // namespace app
