// Opening a database as the window does: a password is asked for only when
// the engine says one is needed or wrong, at most three times; other
// failures give the engine's reason without a prompt.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>
#include <vector>

#include "db/database_opening.h"
#include "test_files.h"

namespace {

using db::DatabaseOpening;

// Answers the prompts in turn and counts them; runs out as a Cancel.
struct ScriptedPasswords {
    explicit ScriptedPasswords(std::vector<std::optional<QString>> given = {})
        : answers(std::move(given)) {}
    std::vector<std::optional<QString>> answers;
    std::vector<int> attempts;
    DatabaseOpening::AskPassword asker() {
        return [this](int attempt) -> std::optional<QString> {
            attempts.push_back(attempt);
            const std::size_t i = attempts.size() - 1;
            return i < answers.size() ? answers[i] : std::nullopt;
        };
    }
};

const std::string kProtected = "mdb-reader/password/V2003_with-password.mdb";

TEST(DatabaseOpening, PlainFileOpensWithoutPrompt) {
    ScriptedPasswords passwords;
    const auto outcome =
        DatabaseOpening::open(testfiles::path("mdb-reader/V2003/test.mdb"), 2, passwords.asker());
    EXPECT_TRUE(outcome.database);
    EXPECT_EQ(outcome.failure, DatabaseOpening::Failure::None);
    EXPECT_TRUE(passwords.attempts.empty());
}

TEST(DatabaseOpening, WrongPasswordMayBeTypedAgain) {
    ScriptedPasswords passwords{
        {QStringLiteral("wrong"), QStringLiteral("Password"), QStringLiteral("password")}};
    const auto outcome = DatabaseOpening::open(testfiles::path(kProtected), 2, passwords.asker());
    ASSERT_TRUE(outcome.database) << outcome.reason.toStdString();
    EXPECT_EQ(passwords.attempts, (std::vector<int>{1, 2, 3}));
}

TEST(DatabaseOpening, ThreeWrongPasswordsEndInAPasswordFailure) {
    ScriptedPasswords passwords{{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                 QStringLiteral("password")}};
    const auto outcome = DatabaseOpening::open(testfiles::path(kProtected), 2, passwords.asker());
    EXPECT_FALSE(outcome.database);
    EXPECT_EQ(outcome.failure, DatabaseOpening::Failure::Password);
    EXPECT_EQ(passwords.attempts.size(), 3u) << "no fourth prompt";
}

TEST(DatabaseOpening, CancelStopsAsking) {
    ScriptedPasswords passwords{{std::nullopt}};
    const auto outcome = DatabaseOpening::open(testfiles::path(kProtected), 2, passwords.asker());
    EXPECT_EQ(outcome.failure, DatabaseOpening::Failure::Password);
    EXPECT_EQ(passwords.attempts.size(), 1u);
}

// Regression: a truncated file and a text file named .mdb asked for a
// password and then blamed it.
TEST(DatabaseOpening, DamagedOrForeignFilesAskedForAPassword) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile source(QString::fromStdString(testfiles::path("mdb-reader/V2003/test.mdb")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString truncated = dir.filePath(QStringLiteral("truncated.mdb"));
    QFile cut(truncated);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(source.read(1000));
    cut.close();
    const QString text = dir.filePath(QStringLiteral("notes.mdb"));
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("These are my notes, not a database.\n");
    notes.close();
    for (const QString& file : {truncated, text, dir.filePath(QStringLiteral("missing.mdb"))}) {
        ScriptedPasswords passwords{{QStringLiteral("password")}};
        const auto outcome = DatabaseOpening::open(file.toStdString(), 2, passwords.asker());
        EXPECT_FALSE(outcome.database) << file.toStdString();
        EXPECT_EQ(outcome.failure, DatabaseOpening::Failure::Other) << file.toStdString();
        EXPECT_TRUE(passwords.attempts.empty()) << file.toStdString();
        EXPECT_FALSE(outcome.reason.isEmpty()) << file.toStdString();
        EXPECT_FALSE(outcome.reason.contains(QStringLiteral("password"), Qt::CaseInsensitive))
            << outcome.reason.toStdString();
    }
}

}  // namespace
