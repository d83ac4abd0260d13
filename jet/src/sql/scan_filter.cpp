#include "sql/scan_filter.h"

#include "sql/function_support.h"

namespace jet::sql {

namespace {

bool holds(int op, int order) {
    switch (op) {
        case SQLITE_INDEX_CONSTRAINT_EQ:
            return order == 0;
        case SQLITE_INDEX_CONSTRAINT_GT:
            return order > 0;
        case SQLITE_INDEX_CONSTRAINT_GE:
            return order >= 0;
        case SQLITE_INDEX_CONSTRAINT_LT:
            return order < 0;
        case SQLITE_INDEX_CONSTRAINT_LE:
            return order <= 0;
        default:
            return true;
    }
}

bool isNumber(int kind) {
    return kind == SQLITE_INTEGER || kind == SQLITE_FLOAT;
}

// Values SQLite compares as they are, without a conversion by affinity.
bool sameClass(int a, int b) {
    return a == b || (isNumber(a) && isNumber(b));
}

}  // namespace

void ScanFilter::prepare(const std::vector<ScanPlan::Test>& tests, sqlite3_value** argv, int argc) {
    tests_.clear();
    for (const ScanPlan::Test& t : tests) {
        if (t.argv < 1 || t.argv > argc)
            continue;
        sqlite3_value* value = argv[t.argv - 1];
        // Null compares as Null and row errors pass through: SQLite decides.
        if (sqlite3_value_type(value) == SQLITE_NULL || isRowError(value))
            continue;
        Prepared p;
        p.column = static_cast<std::size_t>(t.column);
        p.op = t.op;
        p.accessText = t.accessText;
        if (t.op == kLikeConstraint) {
            // The pattern as acc_like reads it; one it rejects is left to
            // SQLite, which reports it.
            auto pattern = LikePattern::compile(textOf(value));
            if (!pattern)
                continue;
            p.like = std::move(pattern.value());
        } else {
            p.value = toSqlScalar(value);
            p.bytes = std::string(p.value.bytes);
        }
        tests_.push_back(std::move(p));
    }
    for (Prepared& p : tests_)
        p.value.bytes = p.bytes;
}

bool ScanFilter::passes(const Prepared& test, const ValueRef& v) {
    if (test.like)  // acc_like matches text as it is; other values go to SQLite
        return v.type != ValueType::Text || test.like->matches(v.data);
    const SqlScalar s = toSqlScalar(v, scratch_);
    if (s.kind == SQLITE_NULL)
        return false;  // a comparison with Null is never true
    if (!sameClass(s.kind, test.value.kind))
        return true;
    return holds(test.op, compareScalars(s, test.value, test.accessText));
}

bool ScanFilter::admits(TableCursor& cursor) {
    for (const Prepared& test : tests_) {
        const ValueRef v = cursor.get(test.column);
        if (!cursor.status().isOk())
            return true;
        if (!passes(test, v))
            return false;
    }
    return true;
}

}  // namespace jet::sql
