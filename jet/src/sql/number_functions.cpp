// Access number and conversion functions: Int, Fix, Round (half to even),
// CInt/CLng/CByte with range checks, CCur, CDate, CBool, IsNumeric, IsDate.
#include <cmath>

#include "jet/sql_value_text.h"
#include "sql/date_serial.h"
#include "sql/function_registry.h"
#include "sql/function_support.h"
#include "sql/token.h"

namespace jet::sql {

namespace {

using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);

// Keeps whole numbers as integers so that their type survives in SQLite.
void resultKeepingKind(sqlite3_context* ctx, sqlite3_value* arg, double d) {
    if (sqlite3_value_type(arg) == SQLITE_INTEGER && std::fabs(d) < 9.0e15) {
        sqlite3_result_int64(ctx, static_cast<long long>(d));
    } else {
        sqlite3_result_double(ctx, d);
    }
}

template <double (*Op)(double)>
void unaryNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    auto d = numberOf(argv[0]);
    if (!d)
        return resultRowError(ctx);
    resultKeepingKind(ctx, argv[0], Op(*d));
}

double opInt(double d) {
    return std::floor(d);
}
double opFix(double d) {
    return std::trunc(d);
}
double opAbs(double d) {
    return std::fabs(d);
}

void sgnFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    auto d = numberOf(argv[0]);
    if (!d)
        return resultRowError(ctx);
    sqlite3_result_int(ctx, *d > 0 ? 1 : (*d < 0 ? -1 : 0));
}

void roundFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, argc, argv))
        return;
    auto d = numberOf(argv[0]);
    long long places = 0;
    if (argc == 2) {
        auto p = numberOf(argv[1]);
        if (!p)
            return resultRowError(ctx);
        places = static_cast<long long>(roundHalfEven(*p));
    }
    if (!d || places < 0 || places > 22)
        return resultRowError(ctx);
    const double scale = std::pow(10.0, static_cast<double>(places));
    const double r = places == 0 ? roundHalfEven(*d) : roundHalfEven(*d * scale) / scale;
    resultKeepingKind(ctx, argv[0], r);
}

void mathFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    auto d = numberOf(argv[0]);
    const long which = reinterpret_cast<long>(sqlite3_user_data(ctx));
    if (!d)
        return resultRowError(ctx);
    double r;
    if (which == 0) {
        if (*d < 0)
            return resultRowError(ctx);
        r = std::sqrt(*d);
    } else if (which == 1) {
        if (*d > 709.782712893)
            return resultRowError(ctx);
        r = std::exp(*d);
    } else {
        if (*d <= 0)
            return resultRowError(ctx);
        r = std::log(*d);
    }
    sqlite3_result_double(ctx, r);
}

// Text "True"/"False" are numbers to the conversion functions.
std::optional<double> convertibleNumber(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_TEXT) {
        const std::string t = asciiUpper(textOf(v));
        if (t == "TRUE" || t == "#TRUE#")
            return -1.0;
        if (t == "FALSE" || t == "#FALSE#")
            return 0.0;
        if (auto date = parseDateText(textOf(v)); date && !numberOf(v))
            return date;
    }
    return numberOf(v);
}

// CInt, CLng, CByte: round half to even, then check the range.
void wholeConversion(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    auto d = convertibleNumber(argv[0]);
    if (!d)
        return resultRowError(ctx);  // Null (94) or type mismatch (13)
    const double r = roundHalfEven(*d);
    const long which = reinterpret_cast<long>(sqlite3_user_data(ctx));
    const double lo = which == 0 ? -32768.0 : which == 1 ? -2147483648.0 : 0.0;
    const double hi = which == 0 ? 32767.0 : which == 1 ? 2147483647.0 : 255.0;
    if (r < lo || r > hi)
        return resultRowError(ctx);  // overflow
    sqlite3_result_int64(ctx, static_cast<long long>(r));
}

void realConversion(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    auto d = convertibleNumber(argv[0]);
    if (!d)
        return resultRowError(ctx);
    const long which = reinterpret_cast<long>(sqlite3_user_data(ctx));
    double r = *d;
    if (which == 1) {  // Single
        if (std::fabs(r) > 3.402823466e38)
            return resultRowError(ctx);
        r = static_cast<float>(r);
    } else if (which == 2) {  // Currency: four decimals
        if (std::fabs(r) > 922337203685477.5807)
            return resultRowError(ctx);
        r = roundHalfEven(r * 10000.0) / 10000.0;
    }
    sqlite3_result_double(ctx, r);
}

void cdateFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    const bool keepNull = sqlite3_user_data(ctx) != nullptr;  // CVDate
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        return keepNull ? sqlite3_result_null(ctx) : resultRowError(ctx);
    }
    auto d = dateOf(argv[0]);
    if (!d)
        return resultRowError(ctx);
    resultSerial(ctx, *d);
}

// The text of an undeclared parameter where it meets a date (which 0) or a
// number (1): converted as a Variant, or Access's mismatch error.
void parameterConversion(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT)
        return sqlite3_result_value(ctx, argv[0]);
    const bool date = sqlite3_user_data(ctx) == nullptr;
    const auto d = date ? dateOf(argv[0]) : numberFromText(textOf(argv[0]));
    if (!d)
        return sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
    sqlite3_result_double(ctx, *d);
}

void cboolFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    auto d = convertibleNumber(argv[0]);
    if (!d)
        return resultRowError(ctx);
    sqlite3_result_int(ctx, *d != 0 ? -1 : 0);
}

void cstrFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (errorArgs(ctx, 1, argv))
        return;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return resultRowError(ctx);
    resultText(ctx, textOf(argv[0]));
}

void isNumericFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int t = sqlite3_value_type(argv[0]);
    bool yes = t == SQLITE_INTEGER || t == SQLITE_FLOAT;
    if (t == SQLITE_TEXT)
        yes = numberFromText(textOf(argv[0])).has_value();
    sqlite3_result_int(ctx, yes ? -1 : 0);
}

void isDateFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const bool yes =
        sqlite3_value_type(argv[0]) == SQLITE_TEXT && parseDateText(textOf(argv[0])).has_value();
    sqlite3_result_int(ctx, yes ? -1 : 0);
}

void add(sqlite3* db, const char* name, int n, Fn fn, long which = 0) {
    sqlite3_create_function(db, name, n, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                            reinterpret_cast<void*>(which), fn, nullptr, nullptr);
}

}  // namespace

void registerNumberFunctions(sqlite3* db) {
    add(db, "acc_int", 1, unaryNumber<opInt>);
    add(db, "acc_fix", 1, unaryNumber<opFix>);
    add(db, "acc_abs", 1, unaryNumber<opAbs>);
    add(db, "acc_sgn", 1, sgnFn);
    add(db, "acc_round", -1, roundFn);
    add(db, "acc_sqr", 1, mathFn, 0);
    add(db, "acc_exp", 1, mathFn, 1);
    add(db, "acc_log", 1, mathFn, 2);
    add(db, "acc_isnumeric", 1, isNumericFn);
    add(db, "acc_isdate", 1, isDateFn);
}

void registerConversionFunctions(sqlite3* db) {
    add(db, "acc_cint", 1, wholeConversion, 0);
    add(db, "acc_clng", 1, wholeConversion, 1);
    add(db, "acc_cbyte", 1, wholeConversion, 2);
    add(db, "acc_cdbl", 1, realConversion, 0);
    add(db, "acc_csng", 1, realConversion, 1);
    add(db, "acc_ccur", 1, realConversion, 2);
    add(db, "acc_cdate", 1, cdateFn, 0);
    add(db, "acc_cvdate", 1, cdateFn, 1);
    add(db, "acc_cbool", 1, cboolFn);
    add(db, "acc_cstr", 1, cstrFn);
    add(db, "acc_param_date", 1, parameterConversion, 0);
    add(db, "acc_param_number", 1, parameterConversion, 1);
}

}  // namespace jet::sql
