#include "sql/format_function.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "jet/number_text.h"
#include "jet/sql_value_text.h"
#include "sql/date_serial.h"
#include "sql/function_registry.h"
#include "sql/function_support.h"
#include "sql/token.h"

namespace jet::sql {

namespace {

std::vector<std::string> splitSections(const std::string& f) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const char c = f[i];
        if (c == '"')
            quoted = !quoted;
        if (c == '\\' && i + 1 < f.size()) {
            out.back() += f.substr(i, 2);
            ++i;
            continue;
        }
        if (c == ';' && !quoted)
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

// ---- numbers ----

std::string groupThousands(const std::string& digits) {
    std::string out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

struct NumberPicture {
    int intZeros = 0, intDigits = 0, fracZeros = 0, fracDigits = 0;
    bool hasPoint = false, thousands = false, percent = false, scientific = false;
    bool expPlus = false;
    int expZeros = 0;
    int scale = 0;  // divide by 1000 per scaling comma
};

NumberPicture analyse(const std::string& s) {
    NumberPicture p;
    bool inFrac = false, quoted = false, pendingComma = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (c == '\\') {
            ++i;
            continue;
        }
        if (p.scientific) {
            if (c == '0' || c == '#')
                ++p.expZeros;
            continue;
        }
        if (c == '0' || c == '#') {
            if (pendingComma && !inFrac)
                p.thousands = true;
            pendingComma = false;
            if (inFrac)
                (c == '0' ? p.fracZeros : p.fracDigits)++;
            else
                (c == '0' ? p.intZeros : p.intDigits)++;
        } else if (c == '.' && !inFrac) {
            if (pendingComma)
                p.scale += 1;
            pendingComma = false;
            inFrac = p.hasPoint = true;
        } else if (c == ',' && !inFrac) {
            if (pendingComma)
                p.scale += 1;
            pendingComma = p.intZeros + p.intDigits > 0;
        } else if (c == '%') {
            p.percent = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() &&
                   (s[i + 1] == '+' || s[i + 1] == '-')) {
            p.scientific = true;
            p.expPlus = s[i + 1] == '+';
            ++i;
        }
    }
    if (pendingComma)
        p.scale += 1;
    return p;
}

// Digits before and after the point, rounded half away from zero.
void splitDigits(double v, int decimals, std::string& whole, std::string& frac) {
    const double scaled = std::round(v * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, scaled, std::chars_format::fixed, decimals);
    std::string s = r.ec == std::errc() ? std::string(buf, r.ptr) : realText(scaled);
    const std::size_t dot = s.find('.');
    whole = s.substr(0, dot);
    frac = dot == std::string::npos ? "" : s.substr(dot + 1);
}

std::string renderNumber(double value, const std::string& section, bool withSign) {
    NumberPicture p = analyse(section);
    double v = std::fabs(value);
    if (p.percent)
        v *= 100;
    for (int i = 0; i < p.scale; ++i)
        v /= 1000;
    const int decimals = p.fracZeros + p.fracDigits;
    int exponent = 0;
    if (p.scientific && v != 0) {
        const int intPlaces = std::max(1, p.intZeros + p.intDigits);
        exponent = static_cast<int>(std::floor(std::log10(v))) - (intPlaces - 1);
        v /= std::pow(10.0, exponent);
        if (std::round(v * std::pow(10.0, decimals)) >= std::pow(10.0, intPlaces + decimals)) {
            v /= 10;
            ++exponent;
        }
    }
    std::string whole, frac;
    splitDigits(v, decimals, whole, frac);
    if (whole == "0" && p.intZeros == 0)
        whole.clear();
    while (static_cast<int>(whole.size()) < p.intZeros)
        whole = "0" + whole;
    while (static_cast<int>(frac.size()) > p.fracZeros && !frac.empty() && frac.back() == '0')
        frac.pop_back();
    if (p.thousands)
        whole = groupThousands(whole);

    std::string out;
    bool quoted = false, intDone = false, inFrac = false, expDone = false;
    std::size_t fracAt = 0;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted) {
            out += c;
            continue;
        }
        if (c == '\\' && i + 1 < section.size()) {
            out += section[++i];
        } else if ((c == '0' || c == '#') && !inFrac && !expDone) {
            if (!intDone)
                out += whole;
            intDone = true;
        } else if ((c == '0' || c == '#') && inFrac && !expDone) {
            if (fracAt < frac.size())
                out += frac[fracAt++];
        } else if (c == '.' && !inFrac && !expDone) {
            if (!intDone)
                out += whole;
            intDone = inFrac = true;
            out += '.';
        } else if (c == ',' && !expDone) {
            // thousands and scaling commas print nothing themselves
        } else if ((c == 'E' || c == 'e') && p.scientific && !expDone && i + 1 < section.size()) {
            ++i;
            std::string digits = std::to_string(std::abs(exponent));
            while (static_cast<int>(digits.size()) < p.expZeros)
                digits = "0" + digits;
            out += c;
            out += exponent < 0 ? "-" : (p.expPlus ? "+" : "");
            out += digits;
            expDone = true;
            while (i + 1 < section.size() && (section[i + 1] == '0' || section[i + 1] == '#'))
                ++i;
        } else {
            out += c;
        }
    }
    if (withSign && value < 0) {
        bool nonZero = false;
        for (char c : whole + frac)
            nonZero = nonZero || (c >= '1' && c <= '9');
        if (nonZero)
            out = "-" + out;
    }
    return out;
}

std::string formatNumber(double v, const std::string& format) {
    const std::vector<std::string> sections = splitSections(format);
    if (v < 0 && sections.size() >= 2 && !sections[1].empty())
        return renderNumber(v, sections[1], false);
    if (v == 0 && sections.size() >= 3 && !sections[2].empty())
        return renderNumber(v, sections[2], false);
    return renderNumber(v, sections[0], true);
}

// ---- dates ----

struct DateToken {
    std::string text;
    bool literal;
};

std::vector<DateToken> dateTokens(const std::string& f) {
    static const char* symbols[] = {"dddddd", "ddddd", "dddd", "ddd",   "dd",  "d",   "ww",
                                    "w",      "mmmm",  "mmm",  "mm",    "m",   "q",   "yyyy",
                                    "yy",     "y",     "hh",   "h",     "nn",  "n",   "ss",
                                    "s",      "ttttt", "c",    "am/pm", "a/p", "ampm"};
    std::vector<DateToken> out;
    for (std::size_t i = 0; i < f.size();) {
        if (f[i] == '"') {
            const std::size_t end = f.find('"', i + 1);
            out.push_back(
                {f.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1),
                 true});
            i = end == std::string::npos ? f.size() : end + 1;
            continue;
        }
        if (f[i] == '\\' && i + 1 < f.size()) {
            out.push_back({f.substr(i + 1, 1), true});
            i += 2;
            continue;
        }
        bool matched = false;
        for (const char* sym : symbols) {
            const std::string s = sym;
            if (asciiUpper(f.substr(i, s.size())) == asciiUpper(s)) {
                out.push_back({f.substr(i, s.size()), false});
                i += s.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            out.push_back({f.substr(i++, 1), true});
    }
    return out;
}

std::string two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string formatDatePicture(double serial, const std::string& f, int fdow, int fwoy);

std::string dateSymbol(const std::string& sym, bool minuteContext, bool twelve, double serial,
                       int fdow, int fwoy) {
    const DateParts p = splitSerial(serial);
    const std::string u = asciiUpper(sym);
    const int hour = twelve ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
    if (u == "D")
        return std::to_string(p.day);
    if (u == "DD")
        return two(p.day);
    if (u == "DDD")
        return dayName(weekdayOfSerial(serial, 1)).substr(0, 3);
    if (u == "DDDD")
        return dayName(weekdayOfSerial(serial, 1));
    if (u == "DDDDD")
        return formatDatePicture(serial, "m/d/yyyy", fdow, fwoy);
    if (u == "DDDDDD")
        return formatDatePicture(serial, "dddd, mmmm d, yyyy", fdow, fwoy);
    if (u == "W")
        return std::to_string(weekdayOfSerial(serial, fdow));
    if (u == "WW")
        return std::to_string(weekOfYearOfSerial(serial, fdow, fwoy));
    if (u == "M")
        return std::to_string(minuteContext ? p.minute : p.month);
    if (u == "MM")
        return two(minuteContext ? p.minute : p.month);
    if (u == "MMM")
        return monthName(p.month).substr(0, 3);
    if (u == "MMMM")
        return monthName(p.month);
    if (u == "Q")
        return std::to_string((p.month - 1) / 3 + 1);
    if (u == "Y")
        return std::to_string(dayOfYearOfSerial(serial));
    if (u == "YY")
        return two(p.year % 100);
    if (u == "YYYY")
        return std::to_string(p.year);
    if (u == "H")
        return std::to_string(hour);
    if (u == "HH")
        return two(hour);
    if (u == "N")
        return std::to_string(p.minute);
    if (u == "NN")
        return two(p.minute);
    if (u == "S")
        return std::to_string(p.second);
    if (u == "SS")
        return two(p.second);
    if (u == "TTTTT")
        return formatDatePicture(serial, "h:nn:ss AM/PM", fdow, fwoy);
    if (u == "C")
        return generalDateText(serial);
    const bool pm = p.hour >= 12;
    if (u == "AM/PM" || u == "AMPM") {
        std::string t = pm ? "PM" : "AM";
        return sym[0] == 'a' ? std::string(pm ? "pm" : "am") : t;
    }
    if (u == "A/P")
        return sym[0] == 'a' ? std::string(pm ? "p" : "a") : std::string(pm ? "P" : "A");
    return sym;
}

std::string formatDatePicture(double serial, const std::string& f, int fdow, int fwoy) {
    const std::vector<DateToken> tokens = dateTokens(f);
    bool twelve = false;
    for (const auto& t : tokens) {
        const std::string u = asciiUpper(t.text);
        twelve = twelve || (!t.literal && (u == "AM/PM" || u == "A/P" || u == "AMPM"));
    }
    std::string out;
    std::string previous;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const DateToken& t = tokens[i];
        if (t.literal) {
            out += t.text;
            continue;
        }
        const std::string u = asciiUpper(t.text);
        bool minute = false;
        if (u == "M" || u == "MM") {
            minute = previous == "H" || previous == "HH";
            for (std::size_t k = i + 1; k < tokens.size() && !minute; ++k) {
                if (tokens[k].literal)
                    continue;
                const std::string n = asciiUpper(tokens[k].text);
                minute = n == "S" || n == "SS";
                break;
            }
        }
        out += dateSymbol(t.text, minute, twelve, serial, fdow, fwoy);
        previous = u;
    }
    return out;
}

bool looksLikeDatePicture(const std::string& f) {
    for (const auto& t : dateTokens(f)) {
        if (!t.literal)
            return true;
    }
    return false;
}

bool looksLikeNumberPicture(const std::string& f) {
    bool quoted = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (f[i] == '\\') {
            ++i;
            continue;
        }
        if (f[i] == '0' || f[i] == '#' || f[i] == '%')
            return true;
    }
    return false;
}

// ---- text ----

std::string formatText(const std::string& text, const std::string& f) {
    std::string out;
    int placeholders = 0;
    bool lower = false, upper = false, leftToRight = false;
    for (char c : f) {
        if (c == '@' || c == '&')
            ++placeholders;
        if (c == '<')
            lower = true;
        if (c == '>')
            upper = true;
        if (c == '!')
            leftToRight = true;
    }
    std::string t = text;
    for (char& c : t) {
        if (lower && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (upper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    if (placeholders == 0)
        return t;
    // Characters fill the placeholders from the right unless '!' says otherwise.
    const int extra = static_cast<int>(t.size()) - placeholders;
    int next = leftToRight ? 0 : extra;
    if (extra > 0 && !leftToRight)
        out += t.substr(0, static_cast<std::size_t>(extra));
    for (char c : f) {
        if (c == '<' || c == '>' || c == '!')
            continue;
        if (c == '@' || c == '&') {
            if (next >= 0 && next < static_cast<int>(t.size()))
                out += t[static_cast<std::size_t>(next)];
            else if (c == '@')
                out += ' ';
            ++next;
        } else {
            out += c;
        }
    }
    if (leftToRight && extra > 0)
        out += t.substr(static_cast<std::size_t>(placeholders));
    return out;
}

std::optional<std::string> namedFormat(const FormatSubject& s, const std::string& name, int fdow,
                                       int fwoy) {
    const std::string u = asciiUpper(name);
    const double v = s.number;
    if (u == "GENERAL NUMBER")
        return doubleText(v);
    if (u == "CURRENCY")
        return formatNumber(v, "$#,##0.00;($#,##0.00)");
    if (u == "FIXED")
        return formatNumber(v, "0.00");
    if (u == "STANDARD")
        return formatNumber(v, "#,##0.00");
    if (u == "PERCENT")
        return formatNumber(v, "0.00%");
    if (u == "SCIENTIFIC")
        return formatNumber(v, "0.00E+00");
    if (u == "YES/NO")
        return std::string(v != 0 ? "Yes" : "No");
    if (u == "TRUE/FALSE")
        return std::string(v != 0 ? "True" : "False");
    if (u == "ON/OFF")
        return std::string(v != 0 ? "On" : "Off");
    if (u == "GENERAL DATE")
        return generalDateText(v);
    if (u == "LONG DATE")
        return formatDatePicture(v, "dddd, mmmm d, yyyy", fdow, fwoy);
    if (u == "MEDIUM DATE")
        return formatDatePicture(v, "dd-mmm-yy", fdow, fwoy);
    if (u == "SHORT DATE")
        return formatDatePicture(v, "m/d/yyyy", fdow, fwoy);
    if (u == "LONG TIME")
        return formatDatePicture(v, "h:nn:ss AM/PM", fdow, fwoy);
    if (u == "MEDIUM TIME")
        return formatDatePicture(v, "hh:nn AM/PM", fdow, fwoy);
    if (u == "SHORT TIME")
        return formatDatePicture(v, "hh:nn", fdow, fwoy);
    return std::nullopt;
}

std::string plainText(const FormatSubject& s) {
    switch (s.kind) {
        case FormatSubject::Date:
            return generalDateText(s.number);
        case FormatSubject::Boolean:
            return s.number != 0 ? "True" : "False";
        case FormatSubject::Text:
            return s.text;
        default:
            return doubleText(s.number);
    }
}

}  // namespace

std::optional<std::string> formatValue(const std::optional<FormatSubject>& subject,
                                       const std::string& format, int fdow, int fwoy) {
    if (!subject) {
        const auto sections = splitSections(format);
        if (sections.size() >= 4)
            return formatNumber(0, sections[3]);
        return std::nullopt;
    }
    FormatSubject s = *subject;
    if (format.empty())
        return plainText(s);
    if (s.kind == FormatSubject::Text) {
        // Text that reads as a number or date takes number and date formats.
        if (auto n = numberFromText(s.text)) {
            s.kind = FormatSubject::Number;
            s.number = *n;
        } else if (auto d = parseDateText(s.text)) {
            s.kind = FormatSubject::Date;
            s.number = *d;
        } else {
            auto named = namedFormat(s, format, fdow, fwoy);
            if (named && asciiUpper(format).find("DATE") == std::string::npos &&
                asciiUpper(format).find("TIME") == std::string::npos) {
                return s.text;
            }
            return formatText(s.text, format);
        }
    }
    if (auto named = namedFormat(s, format, fdow, fwoy))
        return named;
    if (looksLikeNumberPicture(format))
        return formatNumber(s.number, format);
    if (looksLikeDatePicture(format))
        return formatDatePicture(s.number, format, fdow, fwoy);
    return formatText(plainText(s), format);
}

namespace {

// Access's "Overflow" (an error on the row): a number too large to round to
// the decimals a picture asks for (the named ones use up to 2, and Percent
// multiplies by 100), or a date that would show past the year 9999.
bool overflows(const FormatSubject& s, const std::string& format) {
    double number = s.number;
    if (s.kind == FormatSubject::Text) {
        const auto n = numberFromText(s.text);
        if (!n)
            return false;
        number = *n;
    }
    if (s.kind == FormatSubject::Date)
        return !serialInRange(number);
    int decimals = 2;
    for (const std::string& section : splitSections(format)) {
        const NumberPicture p = analyse(section);
        decimals = std::max(decimals, p.fracZeros + p.fracDigits);
    }
    return !std::isfinite(std::fabs(number) * 100 * std::pow(10.0, decimals));
}

// acc_format(value, kind, format [, fdow [, fwoy]]); kind: 'D' date, 'B' Boolean, else by storage.
void formatFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    std::optional<FormatSubject> subject;
    const int t = sqlite3_value_type(argv[0]);
    if (t != SQLITE_NULL) {
        FormatSubject s;
        const std::string kind = textOf(argv[1]);
        if (t == SQLITE_TEXT || t == SQLITE_BLOB) {
            s.kind = FormatSubject::Text;
            s.text = textOf(argv[0]);
        } else {
            s.number = sqlite3_value_double(argv[0]);
            s.kind = kind == "D"   ? FormatSubject::Date
                     : kind == "B" ? FormatSubject::Boolean
                                   : FormatSubject::Number;
        }
        subject = s;
    }
    const std::string format =
        argc > 2 && sqlite3_value_type(argv[2]) != SQLITE_NULL ? textOf(argv[2]) : "";
    if (subject && overflows(*subject, format))
        return resultRowError(ctx);
    const int fdow = argc > 3 ? static_cast<int>(numberOf(argv[3]).value_or(1)) : 1;
    const int fwoy = argc > 4 ? static_cast<int>(numberOf(argv[4]).value_or(1)) : 1;
    auto out = formatValue(subject, format, fdow == 0 ? 1 : fdow, fwoy == 0 ? 1 : fwoy);
    if (out)
        resultText(ctx, *out);
    else
        sqlite3_result_null(ctx);
}

}  // namespace

void registerFormatFunction(sqlite3* db) {
    sqlite3_create_function(db, "acc_format", -1,
                            SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                            guarded<formatFn>, nullptr, nullptr);
}

}  // namespace jet::sql
