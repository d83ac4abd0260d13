#include "sheet/like_pattern.h"

#include <QList>

#include <algorithm>

namespace sheet {

std::u32string LikePattern::folded(const QString& text) {
    const QList<uint> ucs4 = text.toCaseFolded().toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

LikePattern::LikePattern(const QString& pattern) {
    const std::u32string p = folded(pattern);
    for (std::size_t i = 0; i < p.size(); ++i) {
        switch (p[i]) {
            case U'*':
                if (tokens_.empty() || tokens_.back().kind != Token::AnyRun)
                    tokens_.emplace_back(Token::AnyRun);
                break;
            case U'?':
                tokens_.emplace_back(Token::AnyOne);
                break;
            case U'#':
                tokens_.emplace_back(Token::Digit);
                break;
            case U'[':
                i = parseSet(p, i);
                break;
            default:
                tokens_.emplace_back(Token::Literal, p[i]);
        }
    }
}

// Adds the set opened at `open` and returns the index of its "]"; an
// unclosed "[" becomes a literal and the index stays.
std::size_t LikePattern::parseSet(const std::u32string& p, std::size_t open) {
    const std::size_t close = p.find(U']', open + 1);
    if (close == std::u32string::npos) {
        tokens_.emplace_back(Token::Literal, U'[');
        return open;
    }
    Token set(Token::Set);
    std::size_t i = open + 1;
    if (i < close && p[i] == U'!') {
        set.negated = true;
        ++i;
    }
    for (; i < close; ++i) {
        if (i + 2 < close && p[i + 1] == U'-') {
            set.ranges.emplace_back(p[i], p[i + 2]);
            i += 2;
        } else {
            set.ranges.emplace_back(p[i], p[i]);
        }
    }
    tokens_.push_back(std::move(set));
    return close;
}

bool LikePattern::matchesOne(const Token& token, char32_t c) const {
    switch (token.kind) {
        case Token::Literal:
            return c == token.ch;
        case Token::AnyOne:
            return true;
        case Token::Digit:
            return c >= U'0' && c <= U'9';
        case Token::Set: {
            bool inside = false;
            for (const auto& [low, high] : token.ranges)
                inside = inside || (c >= low && c <= high);
            return inside != token.negated;
        }
        case Token::AnyRun:
            break;
    }
    return false;
}

// Most cells are plain ASCII: they are folded in place into a reused buffer
// rather than through QString, which takes three allocations a cell and
// made a Like filter four times slower than the other conditions.
bool LikePattern::matches(std::string_view cellUtf8) const {
    const bool ascii = std::all_of(cellUtf8.begin(), cellUtf8.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        return matches(QString::fromUtf8(cellUtf8.data(), static_cast<qsizetype>(cellUtf8.size())));
    }
    thread_local std::u32string s;
    s.resize(cellUtf8.size());
    std::transform(cellUtf8.begin(), cellUtf8.end(), s.begin(), [](char c) {
        return static_cast<char32_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    });
    return matchesFolded(s);
}

bool LikePattern::matches(const QString& text) const {
    return matchesFolded(folded(text));
}

// The usual wildcard walk: on a mismatch, the last "*" takes one more
// character and matching resumes after it. Linear for one "*", at worst
// text length times pattern length.
bool LikePattern::matchesFolded(std::u32string_view s) const {
    std::size_t t = 0, k = 0;
    std::size_t starToken = std::u32string::npos, starText = 0;
    while (t < s.size()) {
        if (k < tokens_.size() && tokens_[k].kind == Token::AnyRun) {
            starToken = k++;
            starText = t;
        } else if (k < tokens_.size() && matchesOne(tokens_[k], s[t])) {
            ++k;
            ++t;
        } else if (starToken != std::u32string::npos) {
            k = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (k < tokens_.size() && tokens_[k].kind == Token::AnyRun)
        ++k;
    return k == tokens_.size();
}

}  // namespace sheet
