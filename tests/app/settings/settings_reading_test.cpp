// How GetINI reads a value out of the file's text.
#include <gtest/gtest.h>

#include "app/file_system_memory.h"
#include "app/settings_file.h"

namespace app {
namespace {

const QString kFile = "/prog/VT.ini";

struct ReadCase {
    const char* name;
    QByteArray file;  // contents of VT.ini; a null array means no file at all
    QString section;
    QString key;
    QString expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SettingsReading, ReadsTheValueTheRulesGive) {
    const ReadCase& c = GetParam();
    MemoryFileSystem fs;
    if (!c.file.isNull()) {
        fs.putFile(kFile, c.file);
    }
    const SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_EQ(settings.readValue(c.section, c.key), c.expected);
}

QByteArray repeat(char c, int n) {
    return QByteArray(n, c);
}

const ReadCase kReadCases[] = {
    {"NoFile", QByteArray(), "WINDOWS", "TOP", ""},
    {"NoSection", "[OPTION]\nTOP=5\n", "WINDOWS", "TOP", ""},
    {"NoKey", "[WINDOWS]\nLEFT=5\n", "WINDOWS", "TOP", ""},
    {"PlainValue", "[WINDOWS]\nTOP=120\n", "WINDOWS", "TOP", "120"},
    {"SectionAndKeyIgnoreCase", "[windows]\ntop=5\n", "WINDOWS", "TOP", "5"},
    {"QueryInOtherCase", "[WINDOWS]\nTOP=5\n", "Windows", "tOp", "5"},
    {"SpacesAroundValue", "[A]\nK =   12  \n", "A", "K", "12"},
    {"TabsAroundValue", "[A]\nK=\t7\t\n", "A", "K", "7"},
    {"SpacesAroundKey", "[A]\n   K   = 9\n", "A", "K", "9"},
    {"SpacesInsideValueKept", "[A]\nK= a  b \n", "A", "K", "a  b"},
    {"AfterTheFirstEquals", "[A]\nK=a=b\n", "A", "K", "a=b"},
    {"EmptyValue", "[A]\nK=\n", "A", "K", ""},
    {"OnlySpacesValue", "[A]\nK=     \n", "A", "K", ""},
    {"KeyOfOtherSectionNotSeen", "[A]\nK=1\n[B]\nX=2\n", "B", "K", ""},
    {"KeyInLaterSection", "[A]\nX=1\n[B]\nK=2\n", "B", "K", "2"},
    {"FirstOfTwoKeysWins", "[A]\nK=1\nK=2\n", "A", "K", "1"},
    {"FirstSectionOfNameIsRead", "[A]\nK=1\n[A]\nK=2\n", "A", "K", "1"},
    {"SectionNameWithSpaces", "[ WINDOWS ]\nTOP=3\n", "WINDOWS", "TOP", "3"},
    {"IndentedSectionHeader", "  [A]  \nK=4\n", "A", "K", "4"},
    {"WindowsLineEndings", "[A]\r\nK=v\r\n", "A", "K", "v"},
    {"ByteOrderMark", "\xEF\xBB\xBF[A]\nK=v\n", "A", "K", "v"},
    {"NoFinalLineEnd", "[A]\nK=last", "A", "K", "last"},
    {"CommentedKeyIgnored", "[A]\n;K=1\nK=2\n", "A", "K", "2"},
    {"LineWithoutEqualsIgnored", "[A]\nK\nK=3\n", "A", "K", "3"},
    {"KeyBeforeAnySectionIgnored", "K=1\n[A]\nK=2\n", "A", "K", "2"},
    {"KeyBeforeAnySectionOnly", "K=1\n[A]\n", "A", "K", ""},
    {"BracketsInValue", "[A]\nK=[x]\n", "A", "K", "[x]"},
    {"Utf8Value", "[OPTION]\nLASTOPENPATH=/home/j\xC3\xB6rg/donn\xC3\xA9\x65s.mdb\n", "OPTION",
     "LASTOPENPATH", QString::fromUtf8("/home/j\xC3\xB6rg/donn\xC3\xA9\x65s.mdb")},
    {"Utf8KeyNameIgnoresCase", "[A]\n\xC3\xA9T\xC3\xA9=1\n", "A",
     QString::fromUtf8("\xC3\x89T\xC3\x89"), "1"},
    {"Exactly254Kept", "[A]\nK=" + repeat('x', 254) + "\n", "A", "K", QString(254, 'x')},
    {"255CutTo254", "[A]\nK=" + repeat('x', 255) + "\n", "A", "K", QString(254, 'x')},
    {"LongCutTo254", "[A]\nK=" + repeat('y', 5000) + "\n", "A", "K", QString(254, 'y')},
    {"CutAfterTrimming", "[A]\nK=     " + repeat('z', 300) + "\n", "A", "K", QString(254, 'z')},
    {"CutCountsCharactersNotBytes", "[A]\nK=" + QString(300, QChar(0xE9)).toUtf8(), "A", "K",
     QString(254, QChar(0xE9))},
};

INSTANTIATE_TEST_SUITE_P(Rules, SettingsReading, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsReadingLimits, CutNeverSplitsACharacterOutsideTheBasicPlane) {
    MemoryFileSystem fs;
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");  // one character, two UTF-16 units
    const QString value = QString(253, 'a') + face + "b";
    fs.putFile(kFile, "[A]\nK=" + value.toUtf8());
    const SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_EQ(settings.readValue("A", "K"), QString(253, 'a') + face);
}

TEST(SettingsReadingFailures, UnreadableFileReadsEmpty) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[A]\nK=1\n");
    fs.failReadsOf(kFile);
    const SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_EQ(settings.readValue("A", "K"), "");
}

TEST(SettingsReadingFailures, OversizedFileReadsEmpty) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[A]\nK=1\n" + QByteArray(FileSystem::kMaxReadBytes, ' '));
    const SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_EQ(settings.readValue("A", "K"), "");
}

TEST(SettingsReadingFailures, BinaryGarbageReadsWithoutHarm) {
    MemoryFileSystem fs;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) {
        junk += char((i * 131 + 7) % 256);
    }
    fs.putFile(kFile, junk + "\n[A]\nK=ok\n");
    const SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_EQ(settings.readValue("A", "K"), "ok");
    EXPECT_EQ(settings.readValue("B", "K"), "");
}

TEST(SettingsReadingFailures, EightBitTextReadsWithReplacementCharacters) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[A]\nK=caf\xE9\n");
    const SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_EQ(settings.readValue("A", "K"), QString("caf") + QChar(0xFFFD));
}

}  // namespace
}  // namespace app
