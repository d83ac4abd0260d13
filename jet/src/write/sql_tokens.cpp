#include "write/sql_tokens.h"

#include <cctype>

namespace jet::write {
namespace {

bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

Status unterminated(const char* what, size_t at) {
    return {ErrorCode::Syntax, std::string("Syntax error: ") + what + " starting at character " +
                                   std::to_string(at + 1) + " is not closed."};
}

// Index just past the closing `close` of a quoted run starting at `at`; a
// doubled closing quote inside a string stands for itself.
size_t closingIndex(std::string_view text, size_t at, char close, bool doubles) {
    for (size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] == close) {
            if (doubles && i + 1 < text.size() && text[i + 1] == close) {
                ++i;
                continue;
            }
            return i + 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace

Result<std::vector<SqlToken>> tokenizeSql(std::string_view text) {
    std::vector<SqlToken> tokens;
    int depth = 0;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        SqlToken token;
        token.begin = i;
        if (c == '[' || c == '"' || c == '\'' || c == '#') {
            const char close = c == '[' ? ']' : c;
            const size_t end = closingIndex(text, i, close, c == '"' || c == '\'');
            if (end == std::string_view::npos) {
                return unterminated(c == '['   ? "a name in brackets"
                                    : c == '#' ? "a date"
                                               : "a text in quotes",
                                    i);
            }
            token.kind = c == '['   ? SqlToken::Kind::Bracket
                         : c == '#' ? SqlToken::Kind::Date
                                    : SqlToken::Kind::String;
            i = end;
        } else if (isWordChar(c)) {
            token.kind = SqlToken::Kind::Word;
            while (i < text.size() && isWordChar(text[i])) {
                token.upper.push_back(
                    static_cast<char>(std::toupper(static_cast<unsigned char>(text[i]))));
                ++i;
            }
        } else {
            token.upper = std::string(1, c);
            ++i;
        }
        token.end = i;
        if (token.isSymbol(")") && --depth < 0) {
            return Result<std::vector<SqlToken>>(
                ErrorCode::Syntax, "Syntax error: a closing parenthesis at character " +
                                       std::to_string(token.begin + 1) + " has no opening one.");
        }
        token.depth = depth;
        if (token.isSymbol("(")) {
            ++depth;
        }
        tokens.push_back(std::move(token));
    }
    if (depth != 0) {
        return Result<std::vector<SqlToken>>(ErrorCode::Syntax,
                                             "Syntax error: a parenthesis is not closed.");
    }
    return tokens;
}

std::string tokenText(std::string_view text, const std::vector<SqlToken>& tokens, size_t first,
                      size_t last) {
    if (first >= last || last > tokens.size()) {
        return {};
    }
    return std::string(
        text.substr(tokens[first].begin, tokens[last - 1].end - tokens[first].begin));
}

std::string plainName(std::string_view text, const SqlToken& token) {
    std::string_view s = text.substr(token.begin, token.end - token.begin);
    if (token.kind == SqlToken::Kind::Bracket && s.size() >= 2) {
        s = s.substr(1, s.size() - 2);
    }
    return std::string(s);
}

}  // namespace jet::write
