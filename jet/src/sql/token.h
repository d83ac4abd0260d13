// One lexical token of an Access SQL statement, with the place it starts so
// that errors can point at it.
#pragma once

#include <cstddef>
#include <string>

namespace jet::sql {

enum class TokenKind {
    End,
    Word,       // plain name or keyword: letters, digits, '_'
    Bracketed,  // [any name], brackets removed
    String,     // 'text' or "text", quotes removed and doubled quotes undone
    Number,     // 12, 1.5, .5, 1E+3
    Date,       // #...#, hashes removed
    Symbol,     // operators and punctuation
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    std::size_t pos = 0;  // 1-based character position in the statement

    bool is(TokenKind k, const char* upper) const;
    bool isWord(const char* upper) const { return is(TokenKind::Word, upper); }
    bool isSymbol(const char* s) const { return kind == TokenKind::Symbol && text == s; }
};

// Upper-cases ASCII letters only (keywords are ASCII).
std::string asciiUpper(const std::string& s);

}  // namespace jet::sql
