// LikePattern: the Like comparison of Access SQL for the sheet's filter row.
// "*" stands for any run of characters, "?" for one character, "#" for one
// digit, "[abc]", "[a-z]" and "[!abc]" for one character of (or not of) a
// list; the pattern covers the whole cell and letter case does not count.
// An unclosed "[" is taken literally.
#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace sheet {

class LikePattern {
  public:
    explicit LikePattern(const QString& pattern);

    bool matches(std::string_view cellUtf8) const;
    bool matches(const QString& text) const;

  private:
    struct Token {
        enum Kind { Literal, AnyOne, Digit, AnyRun, Set };
        explicit Token(Kind k, char32_t c = 0) : kind(k), ch(c) {}
        Kind kind;
        char32_t ch = 0;
        std::vector<std::pair<char32_t, char32_t>> ranges;  // for Set
        bool negated = false;
    };

    static std::u32string folded(const QString& text);
    std::size_t parseSet(const std::u32string& pattern, std::size_t open);
    bool matchesOne(const Token& token, char32_t c) const;
    // `s` is already case-folded.
    bool matchesFolded(std::u32string_view s) const;

    std::vector<Token> tokens_;
};

}  // namespace sheet
