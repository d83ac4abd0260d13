// The connect text of the second open attempt and the password read from it.
#include <gtest/gtest.h>

#include "db/connect_text.h"

namespace {

struct PasswordCase {
    const char* connect;
    const char* password;
};

class ConnectTextPassword : public testing::TestWithParam<PasswordCase> {};

TEST_P(ConnectTextPassword, ReadsThePasswordAfterPwd) {
    EXPECT_EQ(db::ConnectText::password(GetParam().connect), GetParam().password);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectTextPassword,
                         testing::Values(PasswordCase{"ODBC;UID=sa;PWD=password;", "password"},
                                         PasswordCase{"ODBC;UID=sa;PWD=;", ""},
                                         PasswordCase{";pwd=Secret;", "Secret"},
                                         PasswordCase{"PWD=abc", "abc"},
                                         PasswordCase{"ODBC;UID=sa;PWD=a;b=c;", "a;b=c"},
                                         PasswordCase{"ODBC;UID=sa;PWD=xPWD=y;", "xPWD=y"},
                                         PasswordCase{"ODBC;UID=PWD=sa;", ""}, PasswordCase{"", ""},
                                         PasswordCase{"ODBC;UID=sa;", ""}));

TEST(ConnectText, ForPasswordBuildsTheOdbcText) {
    EXPECT_EQ(db::ConnectText::forPassword("password"), "ODBC;UID=sa;PWD=password;");
    EXPECT_EQ(db::ConnectText::forPassword(""), "ODBC;UID=sa;PWD=;");
}

TEST(ConnectText, EveryPasswordSurvivesTheRoundTrip) {
    for (const char* password : {"", "a", "p;w", "=;=", "PWD=x;", " blank "}) {
        EXPECT_EQ(db::ConnectText::password(db::ConnectText::forPassword(password)), password)
            << password;
    }
}

}  // namespace
