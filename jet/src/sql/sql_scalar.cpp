#include "sql/sql_scalar.h"

#include <cmath>
#include <cstring>

#include "jet/value_format.h"
#include "sql/access_collation.h"

namespace jet::sql {

namespace {

SqlScalar integer(int64_t i) {
    return {SQLITE_INTEGER, i, static_cast<double>(i), {}};
}

// SQLite keeps no NaN: a NaN result reads back as Null.
SqlScalar real(double d) {
    if (std::isnan(d))
        return {};
    return {SQLITE_FLOAT, 0, d, {}};
}

int sign(auto a, auto b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// An integer against a real without rounding either, as SQLite does.
int compareIntReal(int64_t i, double r) {
    if (r < -9223372036854775808.0)
        return 1;
    if (r >= 9223372036854775808.0)
        return -1;
    const auto whole = static_cast<int64_t>(r);
    if (i != whole)
        return sign(i, whole);
    return sign(static_cast<double>(i), r);
}

int compareNumbers(const SqlScalar& a, const SqlScalar& b) {
    if (a.kind == SQLITE_INTEGER && b.kind == SQLITE_INTEGER)
        return sign(a.i, b.i);
    if (a.kind == SQLITE_FLOAT && b.kind == SQLITE_FLOAT)
        return sign(a.d, b.d);
    if (a.kind == SQLITE_INTEGER)
        return compareIntReal(a.i, b.d);
    return -compareIntReal(b.i, a.d);
}

int compareBytes(std::string_view a, std::string_view b) {
    const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    return c != 0 ? (c < 0 ? -1 : 1) : sign(a.size(), b.size());
}

int rank(int kind) {
    switch (kind) {
        case SQLITE_NULL:
            return 0;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return 1;
        case SQLITE_TEXT:
            return 2;
        default:
            return 3;
    }
}

}  // namespace

SqlScalar toSqlScalar(const ValueRef& v, std::string& scratch) {
    switch (v.type) {
        case ValueType::Null:
            return {};
        case ValueType::Boolean:
            return integer(v.i ? -1 : 0);
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
        case ValueType::BigInt:
            return integer(v.i);
        case ValueType::Currency:
            return real(static_cast<double>(v.i) / 10000.0);
        case ValueType::Single:
        case ValueType::Double:
        case ValueType::DateTime:
            return real(v.d);
        case ValueType::Decimal:
            return real(v.dec.toDouble());
        case ValueType::Text:
            return {SQLITE_TEXT, 0, 0, v.data};
        case ValueType::Guid:
            scratch = formatGuid(v.data);
            return {SQLITE_TEXT, 0, 0, scratch};
        default:
            return {SQLITE_BLOB, 0, 0, v.data};
    }
}

SqlScalar toSqlScalar(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return integer(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return real(sqlite3_value_double(v));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
            return {SQLITE_TEXT, 0, 0, std::string_view(text, sqlite3_value_bytes(v))};
        }
        case SQLITE_BLOB: {
            const auto* blob = static_cast<const char*>(sqlite3_value_blob(v));
            return {SQLITE_BLOB, 0, 0, std::string_view(blob, sqlite3_value_bytes(v))};
        }
        default:
            return {};
    }
}

void resultScalar(sqlite3_context* ctx, const SqlScalar& s) {
    switch (s.kind) {
        case SQLITE_INTEGER:
            sqlite3_result_int64(ctx, s.i);
            break;
        case SQLITE_FLOAT:
            sqlite3_result_double(ctx, s.d);
            break;
        case SQLITE_TEXT:
            sqlite3_result_text(ctx, s.bytes.data(), static_cast<int>(s.bytes.size()),
                                SQLITE_TRANSIENT);
            break;
        case SQLITE_BLOB:
            sqlite3_result_blob(ctx, s.bytes.data(), static_cast<int>(s.bytes.size()),
                                SQLITE_TRANSIENT);
            break;
        default:
            sqlite3_result_null(ctx);
    }
}

int compareScalars(const SqlScalar& a, const SqlScalar& b, bool accessText) {
    const int ra = rank(a.kind), rb = rank(b.kind);
    if (ra != rb)
        return sign(ra, rb);
    switch (ra) {
        case 0:
            return 0;
        case 1:
            return compareNumbers(a, b);
        case 2:
            if (accessText) {
                const int c = compareAccessText(a.bytes, b.bytes);
                return sign(c, 0);
            }
            return compareBytes(a.bytes, b.bytes);
        default:
            return compareBytes(a.bytes, b.bytes);
    }
}

}  // namespace jet::sql
