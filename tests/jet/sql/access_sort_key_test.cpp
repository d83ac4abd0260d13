// The sort key SQLite groups text on must order texts exactly as the ACCESS
// collation does, and be equal exactly when the collation says equal: case
// and trailing blanks aside, accents apart, punctuation before digits before
// letters.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "sql/access_collation.h"

namespace jet::sql {
namespace {

int sign(int x) {
    return (x > 0) - (x < 0);
}

std::string key(std::string_view text) {
    std::string out;
    appendAccessSortKey(text, out);
    return out;
}

void expectSameOrder(const std::string& a, const std::string& b) {
    EXPECT_EQ(sign(key(a).compare(key(b))), sign(compareAccessText(a, b)))
        << "[" << a << "] [" << b << "]";
}

TEST(AccessSortKey, OrdersLikeTheCollation) {
    const char* pairs[][2] = {
        {"north", "NORTH"},
        {"North  ", "north"},
        {"ab", "ab c"},
        {"a b", "ab"},
        {"", " "},
        {"", "a"},
        {"e", "\xC3\xA9"},
        {"\xC3\xA9", "f"},
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
        {"-x", "10"},
        {"10", "9"},
        {"z", "\xE2\x82\xAC"},
        {"a\x01", "a"},
        {"~", "0"},
    };
    for (const auto& p : pairs) {
        expectSameOrder(p[0], p[1]);
        expectSameOrder(p[1], p[0]);
    }
    EXPECT_EQ(key("North "), key("nORTH"));
    EXPECT_NE(key("ete"), key("\xC3\xA9t\xC3\xA9"));
}

TEST(AccessSortKey, AgreesWithTheCollationOnMixedTexts) {
    const char* pieces[] = {" ",
                            "a",
                            "A",
                            "b",
                            "Z",
                            "0",
                            "9",
                            "-",
                            "_",
                            "'",
                            "~",
                            "\t",
                            "e",
                            "\xC3\xA9",
                            "\xC3\x89",
                            "\xC3\x9F",
                            "\xC3\xA0",
                            "\xE2\x82\xAC",
                            "\xE4\xB8\x80",
                            "\xF0\x9F\x98\x80"};
    const std::size_t count = std::size(pieces);
    std::mt19937 random(20261210);
    auto text = [&](int length) {
        std::string s;
        for (int i = 0; i < length; ++i)
            s += pieces[random() % count];
        return s;
    };
    for (int round = 0; round < 200000; ++round) {
        const std::string a = text(int(random() % 6));
        std::string b = random() % 3 == 0 ? a + text(int(random() % 2)) : text(int(random() % 6));
        if (random() % 4 == 0)
            b += "  ";
        expectSameOrder(a, b);
        if (HasFailure())
            return;
    }
}

}  // namespace
}  // namespace jet::sql
