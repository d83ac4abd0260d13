// A light tokenizer for cutting an Access SQL statement into clauses and list
// items without interpreting expressions: words, [bracketed names], quoted
// strings, #dates# and symbols, each with its byte range and parenthesis depth.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "jet/status.h"

namespace jet::write {

struct SqlToken {
    enum class Kind { Word, Bracket, String, Date, Symbol };
    Kind kind = Kind::Symbol;
    size_t begin = 0, end = 0;  // byte range in the statement
    int depth = 0;              // parentheses around the token ("(" and ")" count outside)
    std::string upper;          // words: upper-cased ASCII; symbols: the symbol

    bool isWord(std::string_view w) const { return kind == Kind::Word && upper == w; }
    bool isSymbol(std::string_view s) const { return kind == Kind::Symbol && upper == s; }
};

// Tokens of `text`. Syntax error for an unterminated string, name or date and
// for unbalanced parentheses.
Result<std::vector<SqlToken>> tokenizeSql(std::string_view text);

// The statement text from the start of token `first` to the end of token
// `last - 1`; empty when first >= last.
std::string tokenText(std::string_view text, const std::vector<SqlToken>& tokens, size_t first,
                      size_t last);

// A name as stored: brackets removed from a [bracketed] token.
std::string plainName(std::string_view text, const SqlToken& token);

}  // namespace jet::write
