#include "sql/lexer.h"

#include <cctype>

namespace jet::sql {

bool Token::is(TokenKind k, const char* upper) const {
    return kind == k && asciiUpper(text) == upper;
}

std::string asciiUpper(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

namespace {

bool isWordStart(unsigned char c) {
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool isWordChar(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

Status syntaxAt(std::size_t pos, const std::string& what) {
    return Status(ErrorCode::Syntax, what + " at character " + std::to_string(pos) + ".");
}

class Lexer {
  public:
    explicit Lexer(const std::string& text) : s_(text) {}

    Result<std::vector<Token>> run() {
        while (true) {
            while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
                ++i_;
            if (i_ >= s_.size())
                break;
            Status st = next();
            if (!st)
                return st;
        }
        out_.push_back({TokenKind::End, "", s_.size() + 1});
        return std::move(out_);
    }

  private:
    Status next() {
        const std::size_t start = i_;
        const unsigned char c = static_cast<unsigned char>(s_[i_]);
        if (c == '[') {
            if (const std::size_t end = derivedTableEnd(); end != std::string::npos) {
                push(TokenKind::Bracketed, s_.substr(i_ + 1, end - i_ - 1), i_);
                i_ = end + 1;
                return Status::ok();
            }
            return delimited(']', TokenKind::Bracketed, "Invalid bracketing of name");
        }
        if (c == '\'' || c == '"')
            return quoted(static_cast<char>(c));
        if (c == '#')
            return delimited('#', TokenKind::Date, "Syntax error in date");
        if (std::isdigit(c) || (c == '.' && i_ + 1 < s_.size() &&
                                std::isdigit(static_cast<unsigned char>(s_[i_ + 1])))) {
            return number();
        }
        if (isWordStart(c)) {
            while (i_ < s_.size() && isWordChar(static_cast<unsigned char>(s_[i_])))
                ++i_;
            push(TokenKind::Word, s_.substr(start, i_ - start), start);
            return Status::ok();
        }
        static const char* twoChar[] = {"<>", "<=", ">=", "!="};
        for (const char* op : twoChar) {
            if (s_.compare(i_, 2, op) == 0) {
                i_ += 2;
                push(TokenKind::Symbol, op, start);
                return Status::ok();
            }
        }
        if (std::string("=<>+-*/\\^&(),;.!").find(static_cast<char>(c)) != std::string::npos) {
            ++i_;
            push(TokenKind::Symbol, std::string(1, static_cast<char>(c)), start);
            return Status::ok();
        }
        return syntaxAt(start + 1,
                        std::string("Unexpected character '") + static_cast<char>(c) + "'");
    }

    // Access stores a derived table as "[SELECT ... ]. AS x", and the inner
    // statement may hold bracketed names of its own: the brackets are
    // matched, skipping quoted text. npos when the text is not such a table.
    std::size_t derivedTableEnd() const {
        std::size_t k = i_ + 1;
        while (k < s_.size() && std::isspace(static_cast<unsigned char>(s_[k])))
            ++k;
        if (asciiUpper(s_.substr(k, 6)) != "SELECT" ||
            (k + 6 < s_.size() && isWordChar(static_cast<unsigned char>(s_[k + 6])))) {
            return std::string::npos;
        }
        int depth = 0;
        for (std::size_t j = i_; j < s_.size(); ++j) {
            const char ch = s_[j];
            if (ch == '\'' || ch == '"') {
                j = s_.find(ch, j + 1);  // a doubled quote reads as two strings: same end
                if (j == std::string::npos)
                    return std::string::npos;
            } else if (ch == '[') {
                ++depth;
            } else if (ch == ']' && --depth == 0) {
                return followedByDot(j) ? j : std::string::npos;
            }
        }
        return std::string::npos;
    }

    bool followedByDot(std::size_t close) const {
        return close + 1 < s_.size() && s_[close + 1] == '.';
    }

    Status delimited(char close, TokenKind kind, const char* what) {
        const std::size_t start = i_;
        const std::size_t end = s_.find(close, i_ + 1);
        if (end == std::string::npos)
            return syntaxAt(start + 1, std::string(what) + " (no closing '" + close + "')");
        push(kind, s_.substr(start + 1, end - start - 1), start);
        i_ = end + 1;
        return Status::ok();
    }

    Status quoted(char q) {
        const std::size_t start = i_;
        std::string text;
        for (++i_; i_ < s_.size(); ++i_) {
            if (s_[i_] != q) {
                text += s_[i_];
            } else if (i_ + 1 < s_.size() && s_[i_ + 1] == q) {
                text += q;
                ++i_;
            } else {
                ++i_;
                push(TokenKind::String, text, start);
                return Status::ok();
            }
        }
        return syntaxAt(start + 1, "Syntax error in string (no closing quote)");
    }

    Status number() {
        const std::size_t start = i_;
        auto digits = [&] {
            while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_])))
                ++i_;
        };
        digits();
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            digits();
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            std::size_t j = i_ + 1;
            if (j < s_.size() && (s_[j] == '+' || s_[j] == '-'))
                ++j;
            if (j < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j]))) {
                i_ = j;
                digits();
            }
        }
        push(TokenKind::Number, s_.substr(start, i_ - start), start);
        return Status::ok();
    }

    void push(TokenKind kind, std::string text, std::size_t start) {
        out_.push_back({kind, std::move(text), start + 1});
    }

    const std::string& s_;
    std::size_t i_ = 0;
    std::vector<Token> out_;
};

}  // namespace

Result<std::vector<Token>> tokenize(const std::string& text) {
    return Lexer(text).run();
}

}  // namespace jet::sql
