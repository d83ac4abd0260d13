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
                            "\xF0\x9F\x98\x80",
                            "+",
                            "\x01",
                            "\xD0\x9C",
                            "\xD0\xBC",
                            "\xD1\x91",
                            "\xCE\x86"};
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

// Jet 4's General order: hyphens and apostrophes count only after letters
// and accents, so "co-op" sorts next to "coop"; + < = > follow the other
// punctuation; Greek and Cyrillic fold case like Latin.
TEST(AccessCollation, GeneralOrderOfMixedScriptWords) {
    const char* ascending[] = {
        "",
        "!",
        "~",
        "+",
        ">",
        "0",
        "cob",
        "coop",
        "co-op",
        "Coop's",
        "cop",
        "ete",
        "\xC3\xA9t\xC3\xA9",  // été
        "Zebra",
        "\xCE\x86\xCE\xBB\xCF\x86\xCE\xB1",                  // Άλφα
        "\xCE\xB2\xCE\xAE\xCF\x84\xCE\xB1",                  // βήτα
        "\xD0\xB5\xD0\xB6",                                  // еж
        "\xD1\x91\xD0\xB6",                                  // ёж
        "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",  // Москва
        "\xE5\x8C\x97\xE4\xBA\xAC",                          // 北京
    };
    for (std::size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_LT(compareAccessText(ascending[i], ascending[i + 1]), 0)
            << "[" << ascending[i] << "] [" << ascending[i + 1] << "]";
        EXPECT_LT(key(ascending[i]), key(ascending[i + 1]))
            << "[" << ascending[i] << "] [" << ascending[i + 1] << "]";
    }
    EXPECT_EQ(compareAccessText("\xD0\x9C\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90",
                                "\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"),
              0);  // МОСКВА = москва
    EXPECT_EQ(compareAccessText("CO-OP", "co-op"), 0);
    EXPECT_NE(compareAccessText("coop", "co-op"), 0);  // a tie-break, not equal
    EXPECT_LT(compareAccessText("co-op", "coo-p"), 0);
    EXPECT_LT(compareAccessText("O'Brien", "O-Brien"), 0);
}

}  // namespace
}  // namespace jet::sql
