// An Access Like pattern (* ? # [a-z] [!a-z]), compiled once and matched
// case-insensitively against whole values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jet/status.h"

namespace jet::sql {

class LikePattern {
  public:
    // Fails (Invalid) on an unterminated list or a descending range such as [z-a].
    static Result<LikePattern> compile(std::string_view pattern);

    bool matches(std::string_view text) const;

  private:
    struct Range {
        char32_t low, high;
    };
    struct Element {
        enum Kind { Literal, One, Digit, Many, Set } kind = Literal;
        char32_t ch = 0;
        bool negated = false;
        std::vector<Range> ranges;
    };

    bool matchOne(const Element& e, char32_t c) const;

    std::vector<Element> elements_;
    // ASCII letters and digits that every match starts with, lower-cased; a
    // quick test that turns most values away without decoding them.
    std::string asciiPrefix_;
};

// Case folding used by Like and the ACCESS collation (ASCII and Latin-1).
char32_t foldCase(char32_t c);
// Decodes one UTF-8 character at text[i] and advances i; bad bytes read as themselves.
char32_t nextCodePoint(std::string_view text, std::size_t& i);

}  // namespace jet::sql
