// Whole sections of the settings file: read in one go, replaced in one write
// with every other line kept; and the SQL box's query history stored there.
#include <gtest/gtest.h>

#include "app/file_system_memory.h"
#include "app/query_history_settings.h"
#include "app/settings_file.h"
#include "sql/query_history.h"

namespace app {
namespace {

const QString kFile = "/prog/VT.ini";

TEST(SettingsSection, ReadGivesEveryKeyInOrderAsReadValueWould) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[A]\nK=1\n; note\n  L = two  \n[B]\nX=3\n[a]\nM=late\n");
    SettingsFile settings(fs, {kFile, kFile, {}});
    const SettingsEntries a = settings.readSection("a");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0], std::make_pair(QString("K"), QString("1")));
    EXPECT_EQ(a[1], std::make_pair(QString("L"), QString("two")));
    EXPECT_TRUE(settings.readSection("C").empty());
    fs.putFile(kFile, "[A]\nK=" + QByteArray(300, 'v') + "\n");
    EXPECT_EQ(settings.readSection("A")[0].second.size(), SettingsFile::kMaxValueLength);
}

TEST(SettingsSection, ReplaceKeepsOtherSectionsAndNonKeyLinesInOneWrite) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[A]\r\nK=1\r\n; note\r\nOLD=x\r\n\r\n[B]\r\nX=2\r\n");
    SettingsFile settings(fs, {kFile, kFile, {}});
    const int writes = fs.writeCount();
    ASSERT_TRUE(settings.replaceSection("A", {{"N1", "a"}, {"N2", "b"}}).isOk());
    EXPECT_EQ(fs.writeCount(), writes + 1);
    EXPECT_EQ(fs.contents(kFile), "[A]\r\nN1=a\r\nN2=b\r\n; note\r\n\r\n[B]\r\nX=2\r\n");
    ASSERT_TRUE(settings.replaceSection("A", {}).isOk());
    EXPECT_EQ(fs.contents(kFile), "[A]\r\n; note\r\n\r\n[B]\r\nX=2\r\n");
}

TEST(SettingsSection, ReplaceAddsAMissingSectionAndWritesNothingForNothing) {
    MemoryFileSystem fs;
    SettingsFile settings(fs, {kFile, kFile, {}});
    ASSERT_TRUE(settings.replaceSection("H", {}).isOk());
    EXPECT_FALSE(fs.fileExists(kFile));
    fs.putFile(kFile, "[A]\nK=1");
    ASSERT_TRUE(settings.replaceSection("H", {{"X", "1"}, {"Y", "2"}}).isOk());
    EXPECT_EQ(fs.contents(kFile), "[A]\nK=1\n\n[H]\nX=1\nY=2\n");
}

TEST(SettingsSection, ReplaceRefusesAnEntryThatWouldBreakTheFile) {
    MemoryFileSystem fs;
    fs.putFile(kFile, "[A]\nK=1\n");
    SettingsFile settings(fs, {kFile, kFile, {}});
    EXPECT_FALSE(settings.replaceSection("A", {{"GOOD", "1"}, {"BAD", "two\nlines"}}).isOk());
    EXPECT_FALSE(settings.replaceSection("A", {{"K=", "1"}}).isOk());
    EXPECT_EQ(fs.contents(kFile), "[A]\nK=1\n");
}

TEST(QueryHistoryStored, StatementsComeBackExactlyAsRun) {
    sql::QueryHistory history;
    const QStringList statements = {
        "SELECT * \r\n  FROM [Order Details]",
        "  leading and trailing blanks  ",
        "SELECT '100%' AS [%20], \"a=b\" FROM T WHERE x LIKE '[a-c]*'",
        QString::fromUtf8("SELECT [Größe] FROM Maße WHERE n = '日本'"),
        "SELECT " + QString(700, u'x') + "%" + QString(300, u'y'),
    };
    for (auto it = statements.rbegin(); it != statements.rend(); ++it) {
        history.add("/data/a.mdb", *it);
    }
    history.add("/data/b b.mdb", "SELECT 1 FROM B");
    MemoryFileSystem fs;
    SettingsFile settings(fs, {kFile, kFile, {}});
    ASSERT_TRUE(QueryHistorySettings::write(settings, history).isOk());
    for (const QByteArray& line : fs.contents(kFile).split('\n')) {
        EXPECT_LE(line.size(), SettingsFile::kMaxValueLength) << line.constData();
    }
    sql::QueryHistory back;
    QueryHistorySettings::read(settings, back);
    EXPECT_EQ(back.databases(), QStringList({"/data/b b.mdb", "/data/a.mdb"}));
    EXPECT_EQ(back.statements("/data/a.mdb"), statements);
    EXPECT_EQ(back.statements("/data/b b.mdb"), QStringList({"SELECT 1 FROM B"}));
}

TEST(QueryHistoryStored, OverlongStatementsStayForTheSessionOnly) {
    sql::QueryHistory history;
    history.add("/a.mdb", "SELECT 1");
    history.add("/a.mdb", "SELECT " + QString(QueryHistorySettings::kMaxStoredLength, u'z'));
    history.add("/a.mdb", "SELECT 3");
    MemoryFileSystem fs;
    SettingsFile settings(fs, {kFile, kFile, {}});
    ASSERT_TRUE(QueryHistorySettings::write(settings, history).isOk());
    sql::QueryHistory back;
    QueryHistorySettings::read(settings, back);
    EXPECT_EQ(back.statements("/a.mdb"), QStringList({"SELECT 3", "SELECT 1"}));
    // A shorter history written later leaves no keys of the longer one.
    sql::QueryHistory shorter;
    shorter.add("/a.mdb", "SELECT 9");
    ASSERT_TRUE(QueryHistorySettings::write(settings, shorter).isOk());
    EXPECT_FALSE(fs.contents(kFile).contains("DB1.2"));
}

TEST(QueryHistoryStored, DamagedEntriesAreSkipped) {
    MemoryFileSystem fs;
    fs.putFile(kFile,
               "[SQLHISTORY]\nDB2=/b.mdb\nDB2.1=SELECT%20B\nDB2.3=gap\nDB1.1=no%20database\n"
               "DB3=/c.mdb\nDB3.1=%ZZ%\n");
    SettingsFile settings(fs, {kFile, kFile, {}});
    sql::QueryHistory back;
    QueryHistorySettings::read(settings, back);
    EXPECT_EQ(back.databases(), QStringList({"/b.mdb", "/c.mdb"}));
    EXPECT_EQ(back.statements("/b.mdb"), QStringList({"SELECT B", "gap"}));
    EXPECT_EQ(back.statements("/c.mdb").size(), 1);
}

}  // namespace
}  // namespace app
