// Access operators that SQLite has no exact equivalent for: & (Null as ""),
// + on Variants, / \ Mod ^ with VBA rounding and errors, Like, and the text
// form of a typed value.
#include <cmath>
#include <memory>

#include "jet/sql_value_text.h"
#include "sql/function_registry.h"
#include "sql/function_support.h"
#include "sql/like_pattern.h"

namespace jet::sql {

namespace {

std::string typedText(sqlite3_value* v, char kind) {
    if (sqlite3_value_type(v) == SQLITE_INTEGER || sqlite3_value_type(v) == SQLITE_FLOAT) {
        const double d = sqlite3_value_double(v);
        switch (kind) {
            case 'D':
                return generalDateText(d);
            case 'B':
                return d != 0 ? "True" : "False";
            case 'S':
                return singleText(d);
            default:
                break;
        }
    }
    return textOf(v);
}

// acc_text(x, kind): x as text, shown as its static type shows it.
void textFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    const unsigned char* k = sqlite3_value_text(argv[1]);
    resultText(ctx, typedText(argv[0], k ? static_cast<char>(k[0]) : '-'));
}

void concatFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    std::string out;
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            continue;
        any = true;
        out += textOf(argv[i]);
    }
    if (any)
        resultText(ctx, out);
    else
        sqlite3_result_null(ctx);
}

void resultNumber(sqlite3_context* ctx, double d) {
    if (!std::isfinite(d)) {
        resultRowError(ctx);
    } else if (d == std::trunc(d) && std::fabs(d) < 9.0e15) {
        sqlite3_result_int64(ctx, static_cast<long long>(d));
    } else {
        sqlite3_result_double(ctx, d);
    }
}

void addFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    const bool textA = sqlite3_value_type(argv[0]) == SQLITE_TEXT;
    const bool textB = sqlite3_value_type(argv[1]) == SQLITE_TEXT;
    if (textA && textB) {
        resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
        return;
    }
    auto a = numberOf(argv[0]), b = numberOf(argv[1]);
    if (!a || !b)
        return resultRowError(ctx);  // type mismatch
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER &&
        sqlite3_value_type(argv[1]) == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) + sqlite3_value_int64(argv[1]));
        return;
    }
    sqlite3_result_double(ctx, *a + *b);
}

void divFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto a = numberOf(argv[0]), b = numberOf(argv[1]);
    if (!a || !b || *b == 0)
        return resultRowError(ctx);
    sqlite3_result_double(ctx, *a / *b);
}

void intDivFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto a = numberOf(argv[0]), b = numberOf(argv[1]);
    if (!a || !b)
        return resultRowError(ctx);
    const double x = roundHalfEven(*a), y = roundHalfEven(*b);
    if (y == 0)
        return resultRowError(ctx);
    resultNumber(ctx, std::trunc(x / y));
}

void modFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto a = numberOf(argv[0]), b = numberOf(argv[1]);
    if (!a || !b)
        return resultRowError(ctx);
    const double x = roundHalfEven(*a), y = roundHalfEven(*b);
    if (y == 0)
        return resultRowError(ctx);
    resultNumber(ctx, std::fmod(x, y));
}

void powFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto a = numberOf(argv[0]), b = numberOf(argv[1]);
    if (!a || !b)
        return resultRowError(ctx);
    if (*a < 0 && *b != std::trunc(*b))
        return resultRowError(ctx);
    const double r = std::pow(*a, *b);
    if (!std::isfinite(r))
        return resultRowError(ctx);
    sqlite3_result_double(ctx, r);
}

void isRowErrorFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, isRowError(argv[0]) ? 1 : 0);
}

}  // namespace

// acc_like(value, pattern): 1, 0 or Null; the compiled pattern is kept with
// the statement while the pattern argument stays the same.
void accessLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv))
        return;
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
    if (!pattern) {
        auto compiled = LikePattern::compile(textOf(argv[1]));
        if (!compiled) {
            sqlite3_result_error(ctx, compiled.status().message().c_str(), -1);
            return;
        }
        pattern = new LikePattern(std::move(compiled.value()));
        sqlite3_set_auxdata(ctx, 1, pattern, [](void* p) { delete static_cast<LikePattern*>(p); });
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
        if (!pattern) {  // SQLite could not keep it: match with a local copy
            auto again = LikePattern::compile(textOf(argv[1]));
            sqlite3_result_int(ctx, again->matches(textOf(argv[0])) ? 1 : 0);
            return;
        }
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        sqlite3_result_int(ctx, pattern->matches(textView(argv[0])) ? 1 : 0);
    } else {
        sqlite3_result_int(ctx, pattern->matches(textOf(argv[0])) ? 1 : 0);
    }
}

void registerOperatorFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function(db, "acc_text", 2, flags, nullptr, textFn, nullptr, nullptr);
    sqlite3_create_function(db, "acc_concat", -1, flags, nullptr, concatFn, nullptr, nullptr);
    sqlite3_create_function(db, "acc_add", 2, flags, nullptr, addFn, nullptr, nullptr);
    sqlite3_create_function(db, "acc_div", 2, flags, nullptr, divFn, nullptr, nullptr);
    sqlite3_create_function(db, "acc_idiv", 2, flags, nullptr, intDivFn, nullptr, nullptr);
    sqlite3_create_function(db, "acc_mod", 2, flags, nullptr, modFn, nullptr, nullptr);
    sqlite3_create_function(db, "acc_pow", 2, flags, nullptr, powFn, nullptr, nullptr);
    sqlite3_create_function(db, "acc_like", 2, flags, nullptr, accessLike, nullptr, nullptr);
    sqlite3_create_function(db, "acc_is_error", 1, flags, nullptr, isRowErrorFn, nullptr, nullptr);
}

}  // namespace jet::sql
