#include "sql/like_pattern.h"

namespace jet::sql {

char32_t foldCase(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c < 0x386)
        return c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 32;  // Greek
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return c + 37;
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return c + 63;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;  // Cyrillic
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b < 0x80 || extra == 0 || i + extra >= s.size()) {
        ++i;
        return b;
    }
    char32_t c = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += extra + 1;
    return c;
}

Result<LikePattern> LikePattern::compile(std::string_view p) {
    LikePattern out;
    std::size_t i = 0;
    while (i < p.size()) {
        Element e;
        const char32_t c = nextCodePoint(p, i);
        if (c == '*') {
            if (!out.elements_.empty() && out.elements_.back().kind == Element::Many)
                continue;
            e.kind = Element::Many;
        } else if (c == '?') {
            e.kind = Element::One;
        } else if (c == '#') {
            e.kind = Element::Digit;
        } else if (c == '[') {
            e.kind = Element::Set;
            if (i < p.size() && p[i] == '!') {
                e.negated = true;
                ++i;
            }
            bool closed = false;
            std::vector<char32_t> chars;
            while (i < p.size()) {
                char32_t d = nextCodePoint(p, i);
                if (d == ']') {
                    closed = true;
                    break;
                }
                chars.push_back(d);
            }
            if (!closed)
                return Status(ErrorCode::Invalid,
                              "Invalid pattern string (a list opened with '[' is not closed).");
            for (std::size_t k = 0; k < chars.size(); ++k) {
                if (k + 2 < chars.size() && chars[k + 1] == '-') {
                    char32_t lo = foldCase(chars[k]), hi = foldCase(chars[k + 2]);
                    if (lo > hi)
                        return Status(ErrorCode::Invalid,
                                      "Invalid pattern string (a range in a list must ascend).");
                    e.ranges.push_back({lo, hi});
                    k += 2;
                } else {
                    e.ranges.push_back({foldCase(chars[k]), foldCase(chars[k])});
                }
            }
            if (e.ranges.empty() && !e.negated)
                continue;  // [] matches the empty string
        } else {
            e.ch = foldCase(c);
        }
        out.elements_.push_back(std::move(e));
    }
    for (const Element& e : out.elements_) {
        if (e.kind != Element::Literal || e.ch >= 0x80)
            break;
        out.asciiPrefix_ += static_cast<char>(e.ch);
    }
    return out;
}

bool LikePattern::matchOne(const Element& e, char32_t c) const {
    switch (e.kind) {
        case Element::Literal:
            return foldCase(c) == e.ch;
        case Element::One:
            return true;
        case Element::Digit:
            return c >= '0' && c <= '9';
        case Element::Set: {
            const char32_t f = foldCase(c);
            bool in = false;
            for (const Range& r : e.ranges)
                in = in || (f >= r.low && f <= r.high);
            return in != e.negated;
        }
        case Element::Many:
            return true;
    }
    return false;
}

bool LikePattern::matches(std::string_view text) const {
    if (text.size() < asciiPrefix_.size())
        return false;
    for (std::size_t k = 0; k < asciiPrefix_.size(); ++k) {
        char c = text[k];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != asciiPrefix_[k])
            return false;
    }
    std::size_t ti = asciiPrefix_.size(), pi = asciiPrefix_.size();
    std::size_t starP = std::string_view::npos, starT = 0;
    while (ti < text.size()) {
        if (pi < elements_.size() && elements_[pi].kind == Element::Many) {
            starP = ++pi;
            starT = ti;
            continue;
        }
        std::size_t next = ti;
        const char32_t c = nextCodePoint(text, next);
        if (pi < elements_.size() && matchOne(elements_[pi], c)) {
            ti = next;
            ++pi;
            continue;
        }
        if (starP == std::string_view::npos)
            return false;
        pi = starP;
        nextCodePoint(text, starT);  // the star swallows one more character
        ti = starT;
    }
    while (pi < elements_.size() && elements_[pi].kind == Element::Many)
        ++pi;
    return pi == elements_.size();
}

}  // namespace jet::sql
