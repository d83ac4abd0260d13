// Access aggregates SQLite lacks: First and Last (Nulls not skipped), the
// sample and population variance and standard deviation, and the single
// value of a scalar subquery.
#include <cmath>
#include <new>

#include "sql/function_registry.h"
#include "sql/function_support.h"

namespace jet::sql {

namespace {

struct KeptValue {
    sqlite3_value* value;
    bool set;
};

void firstStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, sizeof(KeptValue)));
    if (!kept)
        return sqlite3_result_error_nomem(ctx);
    const bool last = sqlite3_user_data(ctx) != nullptr;
    if (kept->set && !last)
        return;
    if (kept->set)
        sqlite3_value_free(kept->value);
    kept->value = sqlite3_value_dup(argv[0]);
    kept->set = true;
}

void firstFinal(sqlite3_context* ctx) {
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, 0));
    if (!kept || !kept->set)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, kept->value);
    sqlite3_value_free(kept->value);
    kept->set = false;
}

// The numeric aggregates share their step's start: their state, and the
// argument as a number. Returns null when the row adds nothing (Null, a value
// that is not a number, which marks the state, or no memory, which is reported).
template <typename State>
State* numericStep(sqlite3_context* ctx, sqlite3_value* arg, double& x) {
    auto* s = static_cast<State*>(sqlite3_aggregate_context(ctx, sizeof(State)));
    if (!s) {
        sqlite3_result_error_nomem(ctx);
        return nullptr;
    }
    if (sqlite3_value_type(arg) == SQLITE_NULL)
        return nullptr;
    auto number = numberOf(arg);
    if (!number) {
        s->error = true;
        return nullptr;
    }
    x = *number;
    return s;
}

// Welford's running mean and sum of squared differences.
struct Spread {
    long long n;
    double mean;
    double m2;
    bool error;
};

void spreadStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double x = 0;
    auto* s = numericStep<Spread>(ctx, argv[0], x);
    if (!s)
        return;
    ++s->n;
    const double delta = x - s->mean;
    s->mean += delta / static_cast<double>(s->n);
    s->m2 += delta * (x - s->mean);
}

void spreadFinal(sqlite3_context* ctx) {
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, 0));
    const long which =
        reinterpret_cast<long>(sqlite3_user_data(ctx));  // bit 1: population, bit 2: root
    if (s && s->error)
        return resultRowError(ctx);
    const bool population = which & 1;
    const long long n = s ? s->n : 0;
    if (n == 0 || (!population && n < 2))
        return sqlite3_result_null(ctx);
    double v = s->m2 / static_cast<double>(population ? n : n - 1);
    if (v < 0)
        v = 0;
    sqlite3_result_double(ctx, (which & 2) ? std::sqrt(v) : v);
}

// Currency sums exactly, in ten-thousandths, as Access does.
struct CurrencySum {
    long long scaled;
    bool any;
    bool error;
};

void currencyStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double x = 0;
    auto* s = numericStep<CurrencySum>(ctx, argv[0], x);
    if (!s)
        return;
    s->scaled += std::llround(x * 10000.0);
    s->any = true;
}

void currencyFinal(sqlite3_context* ctx) {
    auto* s = static_cast<CurrencySum*>(sqlite3_aggregate_context(ctx, 0));
    if (s && s->error)
        return resultRowError(ctx);
    if (!s || !s->any)
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, static_cast<double>(s->scaled) / 10000.0);
}

// acc_single(x): the one value of a scalar subquery, Null when it has no
// row; a second row is an error, as in Access.
void singleStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, sizeof(KeptValue)));
    if (!kept)
        return sqlite3_result_error_nomem(ctx);
    if (kept->set)
        return sqlite3_result_error(ctx, "At most one record can be returned by this subquery.",
                                    -1);
    kept->value = sqlite3_value_dup(argv[0]);
    kept->set = true;
}

}  // namespace

void registerAggregateFunctions(sqlite3* db) {
    sqlite3_create_function(db, "acc_first", 1, SQLITE_UTF8, nullptr, nullptr, firstStep,
                            firstFinal);
    sqlite3_create_function(db, "acc_last", 1, SQLITE_UTF8, reinterpret_cast<void*>(1), nullptr,
                            firstStep, firstFinal);
    sqlite3_create_function(db, "acc_single", 1, SQLITE_UTF8, nullptr, nullptr, singleStep,
                            firstFinal);
    sqlite3_create_function(db, "acc_sum_currency", 1, SQLITE_UTF8, nullptr, nullptr, currencyStep,
                            currencyFinal);
    sqlite3_create_function(db, "acc_var", 1, SQLITE_UTF8, reinterpret_cast<void*>(0), nullptr,
                            spreadStep, spreadFinal);
    sqlite3_create_function(db, "acc_varp", 1, SQLITE_UTF8, reinterpret_cast<void*>(1), nullptr,
                            spreadStep, spreadFinal);
    sqlite3_create_function(db, "acc_stdev", 1, SQLITE_UTF8, reinterpret_cast<void*>(2), nullptr,
                            spreadStep, spreadFinal);
    sqlite3_create_function(db, "acc_stdevp", 1, SQLITE_UTF8, reinterpret_cast<void*>(3), nullptr,
                            spreadStep, spreadFinal);
}

}  // namespace jet::sql
