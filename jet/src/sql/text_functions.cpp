// Access text functions (Left, Mid, InStr, Replace, ...) over UTF-8, counting
// characters, not bytes, with positions from 1 as VBA counts them.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "jet/number_text.h"
#include "jet/sql_value_text.h"
#include "sql/function_registry.h"
#include "sql/function_support.h"
#include "sql/like_pattern.h"

namespace jet::sql {

namespace {

std::u32string toU32(const std::string& s) {
    std::u32string out;
    std::size_t i = 0;
    while (i < s.size())
        out.push_back(nextCodePoint(s, i));
    return out;
}

std::string toUtf8(const std::u32string& s) {
    std::string out;
    for (char32_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Bytes the characters [from, from + n) of `s` take in UTF-8.
std::size_t utf8Bytes(const std::u32string& s, std::size_t from, std::size_t n) {
    std::size_t bytes = 0;
    for (std::size_t i = from; i < from + n && i < s.size(); ++i)
        bytes += s[i] < 0x80 ? 1 : s[i] < 0x800 ? 2 : s[i] < 0x10000 ? 3 : 4;
    return bytes;
}

std::u32string argU32(sqlite3_value* v) {
    return toU32(textOf(v));
}

// Whole-number argument as CLng reads it; nothing when not a number.
std::optional<long long> wholeArg(sqlite3_value* v) {
    auto d = numberOf(v);
    if (!d || std::fabs(*d) > 2147483647.0)
        return std::nullopt;
    return static_cast<long long>(roundHalfEven(*d));
}

char32_t upperOf(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if ((c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return c - 32;  // Greek, Cyrillic
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

std::u32string folded(std::u32string s) {
    for (char32_t& c : s)
        c = foldCase(c);
    return s;
}

void leftFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto n = wholeArg(argv[1]);
    if (!n || *n < 0)
        return resultRowError(ctx);
    const std::u32string s = argU32(argv[0]);
    resultText(ctx, toUtf8(s.substr(0, static_cast<std::size_t>(*n))));
}

void rightFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto n = wholeArg(argv[1]);
    if (!n || *n < 0)
        return resultRowError(ctx);
    const std::u32string s = argU32(argv[0]);
    const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(*n), s.size());
    resultText(ctx, toUtf8(s.substr(s.size() - k)));
}

void midFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    auto start = wholeArg(argv[1]);
    if (!start || *start < 1)
        return resultRowError(ctx);
    std::optional<long long> n;
    if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        n = wholeArg(argv[2]);
        if (!n || *n < 0)
            return resultRowError(ctx);
    }
    const std::u32string s = argU32(argv[0]);
    if (static_cast<std::size_t>(*start) > s.size())
        return resultText(ctx, "");
    const std::size_t len = n ? static_cast<std::size_t>(*n) : std::u32string::npos;
    resultText(ctx, toUtf8(s.substr(static_cast<std::size_t>(*start - 1), len)));
}

void lenFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    sqlite3_result_int64(ctx, static_cast<long long>(argU32(argv[0]).size()));
}

// Linear in the text for long needles too (a plain find is text x needle).
std::size_t findAt(const std::u32string& hay, const std::u32string& needle, std::size_t from) {
    constexpr std::size_t kShortNeedle = 8;
    if (needle.size() <= kShortNeedle || from >= hay.size())
        return hay.find(needle, from);
    const auto found = std::search(hay.begin() + static_cast<std::ptrdiff_t>(from), hay.end(),
                                   std::boyer_moore_searcher(needle.begin(), needle.end()));
    return found == hay.end() ? std::u32string::npos
                              : static_cast<std::size_t>(found - hay.begin());
}

std::size_t findFrom(const std::u32string& hay, const std::u32string& needle, std::size_t from,
                     bool text) {
    if (!text)
        return findAt(hay, needle, from);
    return findAt(folded(hay), folded(needle), from);
}

// InStr([start,] s1, s2 [, compare]); text compare unless compare is 0.
void instrFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    long long start = 1;
    int first = 0;
    bool text = true;
    if (argc >= 3) {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
            return resultRowError(ctx);
        auto s = wholeArg(argv[0]);
        if (!s || *s < 1)
            return resultRowError(ctx);
        start = *s;
        first = 1;
        if (argc == 4)
            text = numberOf(argv[3]).value_or(1) != 0;
    }
    if (sqlite3_value_type(argv[first]) == SQLITE_NULL ||
        sqlite3_value_type(argv[first + 1]) == SQLITE_NULL) {
        return sqlite3_result_null(ctx);
    }
    const std::u32string hay = argU32(argv[first]), needle = argU32(argv[first + 1]);
    if (static_cast<std::size_t>(start) > hay.size())
        return sqlite3_result_int(ctx, needle.empty() && hay.empty() ? 0 : 0);
    if (needle.empty())
        return sqlite3_result_int64(ctx, start);
    const std::size_t at = findFrom(hay, needle, static_cast<std::size_t>(start - 1), text);
    sqlite3_result_int64(ctx, at == std::u32string::npos ? 0 : static_cast<long long>(at + 1));
}

// InStrRev(s, find [, start [, compare]]); binary compare by default.
void instrRevFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        return sqlite3_result_null(ctx);
    }
    std::u32string hay = argU32(argv[0]), needle = argU32(argv[1]);
    long long start = -1;
    if (argc >= 3) {
        auto s = wholeArg(argv[2]);
        if (!s || *s == 0 || *s < -1)
            return resultRowError(ctx);
        start = *s;
    }
    if (argc == 4 && numberOf(argv[3]).value_or(0) != 0) {
        hay = folded(hay);
        needle = folded(needle);
    }
    if (start == -1)
        start = static_cast<long long>(hay.size());
    if (static_cast<std::size_t>(start) > hay.size())
        return sqlite3_result_int(ctx, 0);
    if (needle.empty())
        return sqlite3_result_int64(ctx, start);
    if (needle.size() > static_cast<std::size_t>(start))
        return sqlite3_result_int(ctx, 0);
    const std::size_t at = hay.rfind(needle, static_cast<std::size_t>(start) - needle.size());
    sqlite3_result_int64(ctx, at == std::u32string::npos ? 0 : static_cast<long long>(at + 1));
}

// Replace(s, find, repl [, start [, count [, compare]]])
void replaceFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return resultRowError(ctx);  // invalid use of Null
    }
    const std::u32string s = argU32(argv[0]), find = argU32(argv[1]), repl = argU32(argv[2]);
    long long start = 1, count = -1;
    if (argc >= 4)
        start = wholeArg(argv[3]).value_or(0);
    if (argc >= 5)
        count = wholeArg(argv[4]).value_or(-2);
    if (start < 1 || count < -1)
        return resultRowError(ctx);
    const bool text = argc == 6 && numberOf(argv[5]).value_or(0) != 0;
    if (static_cast<std::size_t>(start) > s.size())
        return resultText(ctx, "");
    const std::u32string tail = s.substr(static_cast<std::size_t>(start - 1));
    if (find.empty() || count == 0)
        return resultText(ctx, toUtf8(tail));
    // Text compare folds once, not per match; matches first, so that a
    // result past the longest text is refused before it is built.
    const std::u32string hay = text ? folded(tail) : std::u32string();
    const std::u32string needle = text ? folded(find) : std::u32string();
    std::vector<std::size_t> matches;
    for (std::size_t pos = 0; count < 0 || static_cast<long long>(matches.size()) < count;) {
        const std::size_t at = text ? findAt(hay, needle, pos) : findAt(tail, find, pos);
        if (at == std::u32string::npos)
            break;
        matches.push_back(at);
        pos = at + find.size();
    }
    const std::string replUtf8 = toUtf8(repl);
    const std::size_t tailBytes = utf8Bytes(tail, 0, tail.size());
    std::size_t removed = 0;
    for (std::size_t at : matches)
        removed += utf8Bytes(tail, at, find.size());
    if (static_cast<double>(tailBytes - removed) +
            static_cast<double>(matches.size()) * static_cast<double>(replUtf8.size()) >
        static_cast<double>(kMaxTextBytes))
        return resultRowError(ctx);
    std::string out;
    std::size_t pos = 0;
    for (std::size_t at : matches) {
        out += toUtf8(tail.substr(pos, at - pos));
        out += replUtf8;
        pos = at + find.size();
    }
    out += toUtf8(tail.substr(pos));
    resultText(ctx, out);
}

void caseFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    const bool upper = sqlite3_user_data(ctx) != nullptr;
    std::u32string s = argU32(argv[0]);
    for (char32_t& c : s)
        c = upper ? upperOf(c) : foldCase(c);
    resultText(ctx, toUtf8(s));
}

void trimFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    const long mode = reinterpret_cast<long>(sqlite3_user_data(ctx));  // 1 left, 2 right, 3 both
    std::string s = textOf(argv[0]);
    std::size_t b = 0, e = s.size();
    if (mode & 1)
        while (b < e && s[b] == ' ')
            ++b;
    if (mode & 2)
        while (e > b && s[e - 1] == ' ')
            --e;
    resultText(ctx, s.substr(b, e - b));
}

void spaceFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    auto n = wholeArg(argv[0]);
    if (!n || *n < 0 || *n > 65535)
        return resultRowError(ctx);
    resultText(ctx, std::string(static_cast<std::size_t>(*n), ' '));
}

void stringFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto n = wholeArg(argv[0]);
    if (!n || *n < 0 || *n > 65535)
        return resultRowError(ctx);
    char32_t c;
    if (sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        const std::u32string s = argU32(argv[1]);
        if (s.empty())
            return resultRowError(ctx);
        c = s[0];
    } else {
        auto code = wholeArg(argv[1]);
        if (!code)
            return resultRowError(ctx);
        c = static_cast<char32_t>(((*code % 256) + 256) % 256);
    }
    resultText(ctx, toUtf8(std::u32string(static_cast<std::size_t>(*n), c)));
}

void strCompFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    if (argc == 3 && sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return resultRowError(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        return sqlite3_result_null(ctx);
    }
    const bool text = argc < 3 || numberOf(argv[2]).value_or(1) != 0;
    std::u32string a = argU32(argv[0]), b = argU32(argv[1]);
    if (text) {
        a = folded(a);
        b = folded(b);
    }
    sqlite3_result_int(ctx, a < b ? -1 : (a == b ? 0 : 1));
}

void strReverseFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return resultRowError(ctx);
    std::u32string s = argU32(argv[0]);
    resultText(ctx, toUtf8(std::u32string(s.rbegin(), s.rend())));
}

// Windows-1252 codes 0x80..0x9F.
const char32_t kCp1252High[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                  0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

void ascFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return resultRowError(ctx);
    const std::u32string s = argU32(argv[0]);
    if (s.empty())
        return resultRowError(ctx);
    char32_t c = s[0];
    for (int k = 0; k < 32; ++k) {
        if (kCp1252High[k] == c)
            c = 0x80 + k;
    }
    sqlite3_result_int64(ctx, c < 256 ? c : '?');
}

void chrFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    auto n = wholeArg(argv[0]);
    if (!n || *n < 0 || *n > 255)
        return resultRowError(ctx);
    char32_t c = static_cast<char32_t>(*n);
    if (c >= 0x80 && c < 0xA0)
        c = kCp1252High[c - 0x80];
    resultText(ctx, toUtf8(std::u32string(1, c)));
}

}  // namespace

// Val: the number at the start of the text, blanks ignored anywhere.
double valOfText(const std::string& text) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            s += c;
    }
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const bool hex = s[1] == 'H' || s[1] == 'h';
        // the longest run of digits that fits, as VBA reads it
        std::string_view digits = std::string_view(s).substr(2);
        long long v = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), v, hex ? 16 : 8);
        if (v > 0x7FFF && v <= 0xFFFF)
            v -= 0x10000;  // Integer bits as written
        return static_cast<double>(v);
    }
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            s[i] = 'e';
            i = j;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
                ++i;
        }
    }
    return parseDouble(std::string_view(s).substr(0, i)).value_or(0);
}

namespace {

void valFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return resultRowError(ctx);
    sqlite3_result_double(ctx, valOfText(textOf(argv[0])));
}

void strFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    auto d = numberOf(argv[0]);
    if (!d)
        return resultRowError(ctx);
    std::string t = sqlite3_value_type(argv[0]) == SQLITE_INTEGER
                        ? std::to_string(sqlite3_value_int64(argv[0]))
                        : doubleText(*d);
    if (t.rfind("0.", 0) == 0)
        t = t.substr(1);
    else if (t.rfind("-0.", 0) == 0)
        t = "-" + t.substr(2);
    resultText(ctx, *d >= 0 ? " " + t : t);
}

}  // namespace

void registerTextFunctions(sqlite3* db) {
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function(db, "acc_left", 2, f, nullptr, guarded<leftFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_right", 2, f, nullptr, guarded<rightFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_mid", -1, f, nullptr, guarded<midFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_len", 1, f, nullptr, guarded<lenFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_instr", -1, f, nullptr, guarded<instrFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_instrrev", -1, f, nullptr, guarded<instrRevFn>, nullptr,
                            nullptr);
    sqlite3_create_function(db, "acc_replace", -1, f, nullptr, guarded<replaceFn>, nullptr,
                            nullptr);
    sqlite3_create_function(db, "acc_lcase", 1, f, nullptr, guarded<caseFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_ucase", 1, f, reinterpret_cast<void*>(1), guarded<caseFn>,
                            nullptr, nullptr);
    sqlite3_create_function(db, "acc_ltrim", 1, f, reinterpret_cast<void*>(1), guarded<trimFn>,
                            nullptr, nullptr);
    sqlite3_create_function(db, "acc_rtrim", 1, f, reinterpret_cast<void*>(2), guarded<trimFn>,
                            nullptr, nullptr);
    sqlite3_create_function(db, "acc_trim", 1, f, reinterpret_cast<void*>(3), guarded<trimFn>,
                            nullptr, nullptr);
    sqlite3_create_function(db, "acc_space", 1, f, nullptr, guarded<spaceFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_string", 2, f, nullptr, guarded<stringFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_strcomp", -1, f, nullptr, guarded<strCompFn>, nullptr,
                            nullptr);
    sqlite3_create_function(db, "acc_strreverse", 1, f, nullptr, guarded<strReverseFn>, nullptr,
                            nullptr);
    sqlite3_create_function(db, "acc_asc", 1, f, nullptr, guarded<ascFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_chr", 1, f, nullptr, guarded<chrFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_val", 1, f, nullptr, guarded<valFn>, nullptr, nullptr);
    sqlite3_create_function(db, "acc_str", 1, f, nullptr, guarded<strFn>, nullptr, nullptr);
}

}  // namespace jet::sql
