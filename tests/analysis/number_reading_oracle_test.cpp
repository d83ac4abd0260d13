// Number reading against an independent reading of the same rule: strip the
// ignored characters, match the longest leading number with a regular
// expression and convert it with strtod. Random texts over the characters the
// rule cares about, from a fixed seed.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <random>
#include <regex>
#include <string>

#include "analysis/number_reading.h"

namespace analysis {
namespace {

double oracle(std::string text) {
    std::string kept;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            kept += c;
    }
    if (kept.size() >= 2 && kept[0] == '&') {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(kept[1])));
        const std::regex digits(letter == 'H' ? "^[0-9A-Fa-f]+" : "^[0-7]+");
        std::smatch m;
        const std::string rest = kept.substr(2);
        if ((letter != 'H' && letter != 'O') || !std::regex_search(rest, m, digits))
            return 0.0;
        return static_cast<double>(std::stoull(m.str(), nullptr, letter == 'H' ? 16 : 8));
    }
    static const std::regex number("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)?");
    std::smatch m;
    if (!std::regex_search(kept, m, number))
        return 0.0;
    std::string found = m.str();
    for (char& c : found) {
        if (c == 'd' || c == 'D')
            c = 'e';
    }
    const double value = std::strtod(found.c_str(), nullptr);
    return value == 0.0 ? 0.0 : value;
}

TEST(NumberReadingOracle, RandomTextsReadAsTheRuleSays) {
    const std::string alphabet = "0123456789012345.+-eEdD&HhOo ,\t\nxaF7";
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n)
            text += alphabet[pick(random)];
        const double expected = oracle(text);
        const double value = readNumber(std::string_view(text));
        ASSERT_EQ(value, expected) << "text \"" << text << "\"";
        ASSERT_FALSE(std::isnan(value));
    }
}

}  // namespace
}  // namespace analysis
