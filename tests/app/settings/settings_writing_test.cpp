// How WriteINI changes the file: in place, keeping every other line.
#include <gtest/gtest.h>

#include "app/file_system_memory.h"
#include "app/settings_file.h"

namespace app {
namespace {

const QString kFile = "/prog/VT.ini";

struct WriteCase {
    const char* name;
    QByteArray before;  // a null array means no file yet
    QString section;
    QString key;
    QString value;
    QByteArray after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsWriting : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SettingsWriting, ProducesExactlyThisFile) {
    const WriteCase& c = GetParam();
    MemoryFileSystem fs;
    if (!c.before.isNull()) {
        fs.putFile(kFile, c.before);
    }
    SettingsFile settings(fs, {kFile, kFile, {}});
    ASSERT_TRUE(settings.writeValue(c.section, c.key, c.value).isOk());
    EXPECT_EQ(fs.contents(kFile), c.after);
}

const WriteCase kWriteCases[] = {
    {"NewFile", QByteArray(), "WINDOWS", "TOP", "120", "[WINDOWS]\nTOP=120\n"},
    {"EmptyFile", "", "WINDOWS", "TOP", "120", "[WINDOWS]\nTOP=120\n"},
    {"ReplacedInPlace", "[WINDOWS]\nTOP=5\nLEFT=6\n", "WINDOWS", "TOP", "100",
     "[WINDOWS]\nTOP=100\nLEFT=6\n"},
    {"ReplacedIgnoringCaseKeepsSpelling", "[windows]\ntop = 5\n", "WINDOWS", "TOP", "7",
     "[windows]\ntop=7\n"},
    {"AddedAtEndOfSection", "[A]\nK=1\n\n[B]\nX=2\n", "A", "NEW", "3",
     "[A]\nK=1\nNEW=3\n\n[B]\nX=2\n"},
    {"AddedAfterCommentsOfSection", "[A]\nK=1\n; note\n[B]\n", "A", "L", "2",
     "[A]\nK=1\n; note\nL=2\n[B]\n"},
    {"AddedToEmptySection", "[A]\n[B]\nX=2\n", "A", "K", "1", "[A]\nK=1\n[B]\nX=2\n"},
    {"NewSectionAfterBlankLine", "[A]\nK=1\n", "B", "X", "2", "[A]\nK=1\n\n[B]\nX=2\n"},
    {"NewSectionWithoutFinalLineEnd", "[A]\nK=1", "B", "X", "2", "[A]\nK=1\n\n[B]\nX=2\n"},
    {"NewKeyWithoutFinalLineEnd", "[A]\nK=1", "A", "L", "2", "[A]\nK=1\nL=2\n"},
    {"NewSectionAfterTrailingBlank", "[A]\nK=1\n\n", "B", "X", "2", "[A]\nK=1\n\n[B]\nX=2\n"},
    {"WindowsLineEndingsFollowed", "[A]\r\nK=1\r\n", "A", "L", "2", "[A]\r\nK=1\r\nL=2\r\n"},
    {"WindowsLineEndingKeptOnReplace", "[A]\r\nK=1\r\nL=0\r\n", "A", "K", "9",
     "[A]\r\nK=9\r\nL=0\r\n"},
    {"ByteOrderMarkKept", "\xEF\xBB\xBF[A]\nK=1\n", "A", "K", "2", "\xEF\xBB\xBF[A]\nK=2\n"},
    {"ValueTrimmed", QByteArray(), "OPTION", "LASTOPENPATH", "  /data/a b.mdb  ",
     "[OPTION]\nLASTOPENPATH=/data/a b.mdb\n"},
    {"EmptyValue", "[A]\nK=old\n", "A", "K", "", "[A]\nK=\n"},
    {"Utf8Value", QByteArray(), "OPTION", "LASTOPENPATH",
     QString::fromUtf8("/tmp/\xC3\xA9t\xC3\xA9"),
     "[OPTION]\nLASTOPENPATH=/tmp/\xC3\xA9t\xC3\xA9\n"},
    {"OtherLinesKeptByteForByte",
     "; written by hand\n[CUSTOM]\nCOLOR = caf\xE9\n  odd line\n[WINDOWS]\nTOP=1\n", "WINDOWS",
     "TOP", "2", "; written by hand\n[CUSTOM]\nCOLOR = caf\xE9\n  odd line\n[WINDOWS]\nTOP=2\n"},
    {"OnlyFirstDuplicateReplaced", "[A]\nK=1\nK=1\n", "A", "K", "5", "[A]\nK=5\nK=1\n"},
    {"LongValueWrittenWhole", QByteArray(), "A", "K", QString(300, 'v'),
     "[A]\nK=" + QByteArray(300, 'v') + "\n"},
};

INSTANTIATE_TEST_SUITE_P(Rules, SettingsWriting, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The thirteen keys the exit command writes, in its order.
void writeExitKeys(SettingsFile& settings, const QString& top) {
    const std::pair<const char*, QString> windows[] = {{"TOP", top},         {"LEFT", "-60"},
                                                       {"WIDTH", "9600"},    {"HEIGHT", "7200"},
                                                       {"HBAR_TOP", "2970"}, {"VBAR_LEFT", "3570"}};
    const std::pair<const char*, QString> options[] = {{"TOOLBAR", "True"},
                                                       {"SQLTAB", "False"},
                                                       {"TABLETAB", "False"},
                                                       {"ALTERNATECOLOR", "False"},
                                                       {"FIELDSSUBTREE", "False"},
                                                       {"SHOWTIP", "True"},
                                                       {"LASTOPENPATH", "/data/x.mdb"}};
    for (const auto& [key, value] : windows) {
        ASSERT_TRUE(settings.writeValue("WINDOWS", key, value).isOk()) << key;
    }
    for (const auto& [key, value] : options) {
        ASSERT_TRUE(settings.writeValue("OPTION", key, value).isOk()) << key;
    }
}

const QByteArray kExitFile =
    "[WINDOWS]\nTOP=1200\nLEFT=-60\nWIDTH=9600\nHEIGHT=7200\nHBAR_TOP=2970\nVBAR_LEFT=3570\n"
    "\n[OPTION]\nTOOLBAR=True\nSQLTAB=False\nTABLETAB=False\nALTERNATECOLOR=False\n"
    "FIELDSSUBTREE=False\nSHOWTIP=True\nLASTOPENPATH=/data/x.mdb\n";

TEST(SettingsExitWrite, NewFileHoldsBothSectionsAndAllKeysInOrder) {
    MemoryFileSystem fs;
    SettingsFile settings(fs, {kFile, kFile, {}});
    writeExitKeys(settings, "1200");
    EXPECT_EQ(fs.contents(kFile), kExitFile);
}

TEST(SettingsExitWrite, SecondRunReplacesValuesWithoutMovingLines) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[OPTION]\nSHOWTIP=False\nMINE=1\n\n[EXTRA]\nA=b\n");
    SettingsFile settings(fs, {kFile, kFile, {}});
    writeExitKeys(settings, "1200");
    writeExitKeys(settings, "300");
    const QByteArray expected =
        "[OPTION]\nSHOWTIP=True\nMINE=1\nTOOLBAR=True\nSQLTAB=False\nTABLETAB=False\n"
        "ALTERNATECOLOR=False\nFIELDSSUBTREE=False\nLASTOPENPATH=/data/x.mdb\n\n[EXTRA]\nA=b\n"
        "\n[WINDOWS]\nTOP=300\nLEFT=-60\nWIDTH=9600\nHEIGHT=7200\nHBAR_TOP=2970\n"
        "VBAR_LEFT=3570\n";
    EXPECT_EQ(fs.contents(kFile), expected);
}

TEST(SettingsExitWrite, WrittenValuesReadBack) {
    MemoryFileSystem fs;
    SettingsFile settings(fs, {kFile, kFile, {}});
    const QString path = QString::fromUtf8("  /home/\xC3\xBC ser/my db.mdb ");
    ASSERT_TRUE(settings.writeValue("OPTION", "LASTOPENPATH", path).isOk());
    EXPECT_EQ(settings.readValue("option", "lastopenpath"),
              QString::fromUtf8("/home/\xC3\xBC ser/my db.mdb"));
}

struct RefusedCase {
    const char* name;
    QString section;
    QString key;
    QString value;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsRefusedWrite : public ::testing::TestWithParam<RefusedCase> {};

// A value or name that would break the line structure could plant other keys
// in the file; it is refused and the file is not touched.
TEST_P(SettingsRefusedWrite, LeavesTheFileAlone) {
    const RefusedCase& c = GetParam();
    MemoryFileSystem fs;
    const QByteArray before = "[OPTION]\nLASTOPENPATH=/a\n";
    fs.putFile(kFile, before);
    SettingsFile settings(fs, {kFile, kFile, {}});
    const jet::Status status = settings.writeValue(c.section, c.key, c.value);
    EXPECT_FALSE(status.isOk());
    EXPECT_EQ(status.code(), jet::ErrorCode::Invalid);
    EXPECT_FALSE(status.message().empty());
    EXPECT_EQ(fs.contents(kFile), before);
    EXPECT_EQ(fs.writeCount(), 0);
}

const RefusedCase kRefusedCases[] = {
    {"ValueWithLineFeed", "OPTION", "LASTOPENPATH", "/a\n[WINDOWS]\nTOP=99"},
    {"ValueWithCarriageReturn", "OPTION", "LASTOPENPATH", "/a\rTOP=1"},
    {"ValueWithNul", "OPTION", "LASTOPENPATH", QString("/a") + QChar(0) + "b"},
    {"EmptySection", "", "K", "1"},
    {"BlankSection", "   ", "K", "1"},
    {"SectionWithBracket", "A]B", "K", "1"},
    {"SectionWithLineFeed", "A\nB", "K", "1"},
    {"EmptyKey", "OPTION", "", "1"},
    {"KeyWithEquals", "OPTION", "A=B", "1"},
    {"KeyLikeSection", "OPTION", "[X]", "1"},
    {"KeyLikeComment", "OPTION", ";X", "1"},
    {"KeyWithLineFeed", "OPTION", "A\nB", "1"},
};

INSTANTIATE_TEST_SUITE_P(Rules, SettingsRefusedWrite, ::testing::ValuesIn(kRefusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsWriteFailures, UnreadableFileIsNotOverwritten) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[KEEP]\nA=1\n");
    fs.failReadsOf(kFile);
    SettingsFile settings(fs, {kFile, kFile, {}});
    const jet::Status status = settings.writeValue("WINDOWS", "TOP", "1");
    EXPECT_EQ(status.code(), jet::ErrorCode::Io);
    EXPECT_EQ(fs.contents(kFile), "[KEEP]\nA=1\n");
    EXPECT_EQ(fs.writeCount(), 0);
}

TEST(SettingsWriteFailures, FailedWriteIsReportedAndLaterKeysStillTried) {
    MemoryFileSystem fs;
    fs.failWritesOf(kFile);
    SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_EQ(settings.writeValue("WINDOWS", "TOP", "1").code(), jet::ErrorCode::Io);
    EXPECT_EQ(settings.writeValue("WINDOWS", "LEFT", "2").code(), jet::ErrorCode::Io);
    EXPECT_FALSE(fs.fileExists(kFile));
}

}  // namespace
}  // namespace app
