#include "sql/function_support.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "jet/number_text.h"
#include "jet/sql_value_text.h"
#include "sql/date_serial.h"

namespace jet::sql {

namespace {
constexpr char kRowError[] = "\0#Error";
constexpr int kRowErrorSize = sizeof kRowError - 1;
}  // namespace

void resultRowError(sqlite3_context* ctx) {
    sqlite3_result_blob(ctx, kRowError, kRowErrorSize, SQLITE_STATIC);
}

bool isRowErrorBytes(std::string_view bytes) {
    return bytes == std::string_view(kRowError, kRowErrorSize);
}

bool isRowError(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_BLOB && sqlite3_value_bytes(v) == kRowErrorSize &&
           std::memcmp(sqlite3_value_blob(v), kRowError, kRowErrorSize) == 0;
}

bool errorArgs(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (isRowError(argv[i])) {
            resultRowError(ctx);
            return true;
        }
    }
    return false;
}

bool nullOrErrorArgs(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return true;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return true;
        }
    }
    return false;
}

std::optional<double> numberFromText(const std::string& text) {
    std::string s;
    for (char c : text) {
        if (c != ',')
            s += c;  // US thousands separators
    }
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    s = s.substr(b, e - b);
    if (s.empty())
        return std::nullopt;
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
        const auto v = parseInteger(std::string_view(s).substr(2), 16);
        if (!v)
            return std::nullopt;
        return static_cast<double>(*v);
    }
    bool digit = false;
    for (char c : s)
        digit = digit || std::isdigit(static_cast<unsigned char>(c));
    if (!digit)
        return std::nullopt;
    const std::optional<double> v = parseDouble(s);
    if (v && !std::isfinite(*v))
        return std::nullopt;  // past a Double's range: Access's overflow, an error on the row
    return v;
}

std::optional<double> numberOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return static_cast<double>(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return sqlite3_value_double(v);
        case SQLITE_TEXT:
            return numberFromText(std::string(textView(v)));
        default:
            return std::nullopt;
    }
}

std::optional<double> dateOf(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_TEXT) {
        auto d = parseDateText(std::string(textView(v)));
        if (d)
            return d;
    }
    return numberOf(v);
}

std::string_view textView(sqlite3_value* v) {
    // sqlite3_value_blob gives text bytes as they are; sqlite3_value_text would
    // first copy them to add a terminating zero.
    const void* p = sqlite3_value_blob(v);
    const int n = sqlite3_value_bytes(v);
    return p ? std::string_view(static_cast<const char*>(p), static_cast<std::size_t>(n))
             : std::string_view();
}

std::string textOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return std::to_string(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return doubleText(sqlite3_value_double(v));
        case SQLITE_NULL:
            return "";
        default:
            return std::string(textView(v));
    }
}

double roundHalfEven(double x) {
    double r = std::nearbyint(x);  // default rounding mode: to nearest, ties to even
    return r == 0 ? 0.0 : r;
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    if (s.size() > kMaxTextBytes)
        return resultRowError(ctx);
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

bool serialInRange(double serial) {
    if (!std::isfinite(serial) || serial < kMinDateSerial || serial >= kMaxDateSerial + 1)
        return false;
    // Shown to the second, 9999-12-31 23:59:59.6 would become the year 10000.
    constexpr double kDay = 86400.0;
    return serial < 0 || std::round(serial * kDay) <= std::floor(kMaxDateSerial) * kDay + kDay - 1;
}

void resultSerial(sqlite3_context* ctx, double serial) {
    if (!serialInRange(serial)) {
        resultRowError(ctx);
        return;
    }
    sqlite3_result_double(ctx, serial);
}

}  // namespace jet::sql
