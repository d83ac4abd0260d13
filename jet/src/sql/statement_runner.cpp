#include "sql/statement_runner.h"

#include <cmath>

#include "jet/sql_value_text.h"
#include "jet/value_format.h"
#include "sql/access_collation.h"
#include "sql/date_serial.h"
#include "sql/function_support.h"
#include "sql/parameter_names.h"
#include "sql/query_limits.h"
#include "sql/token.h"

namespace jet::sql {

namespace {

constexpr long long kMaxTieLimit = 1LL << 40;

bool sameKey(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.type() == ValueType::Text && b.type() == ValueType::Text)
        return compareAccessText(a.data(), b.data()) == 0;
    return a == b;
}

}  // namespace

namespace {

// A value as SQLite stores it: the storage class and its payload.
struct Stored {
    int storage = SQLITE_NULL;
    long long i = 0;         // SQLITE_INTEGER
    double d = 0;            // the value as a number (SQLITE_INTEGER, SQLITE_FLOAT)
    std::string_view bytes;  // SQLITE_TEXT, SQLITE_BLOB
};

ValueRef integerRef(ValueType type, int64_t i) {
    ValueRef v;
    v.type = type;
    v.i = i;
    return v;
}

ValueRef realRef(ValueType type, double d) {
    ValueRef v;
    v.type = type;
    v.d = d;
    return v;
}

ValueRef bytesRef(ValueType type, std::string_view data) {
    ValueRef v;
    v.type = type;
    v.data = data;
    return v;
}

ValueRef byStorage(const Stored& s) {
    switch (s.storage) {
        case SQLITE_INTEGER: {
            const bool fits = s.i >= -2147483648LL && s.i <= 2147483647LL;
            return integerRef(fits ? ValueType::Long : ValueType::BigInt, s.i);
        }
        case SQLITE_FLOAT:
            return realRef(ValueType::Double, s.d);
        case SQLITE_TEXT:
            return bytesRef(ValueType::Text, s.bytes);
        case SQLITE_BLOB:
            return bytesRef(ValueType::Binary, s.bytes);
        default:
            return {};
    }
}

// Types a stored value by the column's static type, as a view of the stored
// bytes. Row errors and Null are handled by the caller.
ValueRef typedRef(const Stored& s, SqlType type) {
    const bool number = s.storage == SQLITE_INTEGER || s.storage == SQLITE_FLOAT;
    const double d = s.d;
    switch (type) {
        case SqlType::Boolean:
            if (number)
                return integerRef(ValueType::Boolean, d != 0 ? 1 : 0);
            break;
        case SqlType::Byte:
        case SqlType::Integer:
        case SqlType::Long:
        case SqlType::BigInt:
            if (s.storage == SQLITE_INTEGER)
                return integerRef(valueTypeOf(type), s.i);
            if (number)
                return realRef(ValueType::Double, d);
            break;
        case SqlType::Currency:
            if (number && std::fabs(d) < 9.2e14)
                return integerRef(ValueType::Currency, std::llround(d * 10000.0));
            break;
        case SqlType::Single:
            if (number)
                return realRef(ValueType::Single, d);
            break;
        case SqlType::Double:
        case SqlType::Decimal:
            if (number)
                return realRef(ValueType::Double, d);
            break;
        case SqlType::Date:
            if (number && d >= kMinDateSerial && d < kMaxDateSerial + 1)
                return realRef(ValueType::DateTime, d);
            break;
        default:
            break;
    }
    return byStorage(s);
}

Value typedValue(const Stored& s, SqlType type) {
    return typedRef(s, type).toValue();
}

}  // namespace

Value valueFromSqlite(sqlite3_value* v, SqlType type) {
    Stored s;
    s.storage = sqlite3_value_type(v);
    if (s.storage == SQLITE_NULL)
        return Value::null();
    if (isRowError(v))
        return errorValue();
    if (s.storage == SQLITE_INTEGER)
        s.i = sqlite3_value_int64(v);
    if (s.storage == SQLITE_INTEGER || s.storage == SQLITE_FLOAT)
        s.d = sqlite3_value_double(v);
    else
        s.bytes = textView(v);
    return typedValue(s, type);
}

namespace {

// Whether SQLite hands `v` back unchanged when a column of `type` holds it:
// the usual case, where the column's own type is what the file stores.
bool comesBackAsItIs(const ValueRef& v, SqlType type) {
    // Below this a Currency value survives the trip through a double:
    // both roundings together move it by less than half a unit.
    constexpr int64_t kExactCurrency = int64_t{1} << 51;
    switch (v.type) {
        case ValueType::Boolean:
            return type == SqlType::Boolean && (v.i == 0 || v.i == 1);
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
        case ValueType::BigInt:
            return isIntegral(type) && type != SqlType::Boolean && valueTypeOf(type) == v.type;
        case ValueType::Currency:
            return type == SqlType::Currency && v.i > -kExactCurrency && v.i < kExactCurrency;
        case ValueType::Single:
            return type == SqlType::Single && !std::isnan(v.d);
        case ValueType::Double:
            return type == SqlType::Double && !std::isnan(v.d);
        case ValueType::DateTime:
            return type == SqlType::Date && v.d >= kMinDateSerial && v.d < kMaxDateSerial + 1;
        default:
            return false;
    }
}

}  // namespace

ValueRef refFromTable(const ValueRef& v, SqlType type, std::string& scratch) {
    if (comesBackAsItIs(v, type)) {
        const bool real = v.type == ValueType::Single || v.type == ValueType::Double ||
                          v.type == ValueType::DateTime;
        return real ? realRef(v.type, v.d) : integerRef(v.type, v.i);
    }
    // The same steps as a table value handed to SQLite by the table module
    // and read back by valueFromSqlite.
    const auto fromDouble = [type](double d) -> ValueRef {
        if (std::isnan(d))
            return {};  // SQLite keeps no NaN: it stores Null
        return typedRef({SQLITE_FLOAT, 0, d, {}}, type);
    };
    switch (v.type) {
        case ValueType::Null:
            return {};
        case ValueType::Boolean:
            return typedRef({SQLITE_INTEGER, v.i ? -1 : 0, v.i ? -1.0 : 0.0, {}}, type);
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
        case ValueType::BigInt:
            return typedRef({SQLITE_INTEGER, v.i, static_cast<double>(v.i), {}}, type);
        case ValueType::Currency:
            return fromDouble(static_cast<double>(v.i) / 10000.0);
        case ValueType::Single:
        case ValueType::Double:
        case ValueType::DateTime:
            return fromDouble(v.d);
        case ValueType::Decimal:
            return fromDouble(v.dec.toDouble());
        case ValueType::Text:
            return typedRef({SQLITE_TEXT, 0, 0, v.data}, type);
        case ValueType::Guid:
            scratch = formatGuid(v.data);
            return typedRef({SQLITE_TEXT, 0, 0, scratch}, type);
        default:
            if (isRowErrorBytes(v.data)) {
                static const Value error = errorValue();
                return error.ref();
            }
            return typedRef({SQLITE_BLOB, 0, 0, v.data}, type);
    }
}

namespace {

// Access's count, then what only we can add: the undeclared names among the
// missing ones, so a misspelt column is told apart from a parameter.
Status checkAllGiven(const std::vector<ParameterRef>& parameters, const ParameterValues& values) {
    int missing = 0;
    std::vector<std::string> unknown;
    for (const auto& p : parameters) {
        bool given = false;
        for (const auto& [name, text] : values)
            given = given || compareAccessText(parameterName(name), p.name) == 0;
        if (given)
            continue;
        ++missing;
        if (!p.declared)
            unknown.push_back(p.name);
    }
    if (!missing)
        return Status::ok();
    std::string message = "Too few parameters. Expected " + std::to_string(missing) + ".";
    for (std::size_t i = 0; i < unknown.size(); ++i) {
        message += i == 0 ? (unknown.size() == 1 ? " Unknown name: " : " Unknown names: ") : ", ";
        message += unknown[i];
    }
    return Status(ErrorCode::Parameter, message);
}

}  // namespace

StatementRunner::~StatementRunner() {
    sqlite3_finalize(stmt_);
}

Result<std::unique_ptr<StatementRunner>> StatementRunner::start(sqlite3* db,
                                                                Translation translation,
                                                                const ParameterValues& values) {
    std::unique_ptr<StatementRunner> r(new StatementRunner(db, std::move(translation)));
    if (Status st = checkAllGiven(r->translation_.parameters, values); !st)
        return st;
    if (r->translation_.topWithTies) {
        if (Status st = r->bufferTopRows(values); !st)
            return st;
    } else if (Status st = r->prepare(r->translation_.sql, values); !st) {
        return st;
    }
    return r;
}

Status StatementRunner::prepare(const std::string& sql, const ParameterValues& values) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK) {
        // SQLite's own nesting and size limits are where Access says the same.
        const std::string why = sqlite3_errmsg(db_);
        for (const char* limit : {"parser stack overflow", "Expression tree is too large",
                                  "too many arguments on function", "too many columns",
                                  "too many terms", "string or blob too big"}) {
            if (why.find(limit) != std::string::npos)
                return tooComplex();
        }
        return Status(ErrorCode::Semantic, "The statement cannot run: " + why);
    }
    return bindParameters(stmt_, translation_.parameters, values);
}

namespace {

Status bindOne(sqlite3_stmt* stmt, int index, const ParameterRef& p, const std::string& text) {
    const SqlType t = p.type;
    if (text.empty() && t != SqlType::Text && t != SqlType::Memo && t != SqlType::Variant) {
        sqlite3_bind_null(stmt, index);
        return Status::ok();
    }
    auto wrong = [&] {
        return Status(ErrorCode::Parameter, "Data type conversion error: the value '" + text +
                                                "' does not fit the parameter '" + p.name + "'.");
    };
    if (t == SqlType::Date) {
        auto d = parseDateText(text);
        if (!d)
            d = numberFromText(text);
        if (!d)
            return wrong();
        sqlite3_bind_double(stmt, index, *d);
    } else if (t == SqlType::Boolean) {
        const std::string u = asciiUpper(text);
        auto n = numberFromText(text);
        if (u == "TRUE" || u == "YES" || u == "ON")
            n = -1;
        if (u == "FALSE" || u == "NO" || u == "OFF")
            n = 0;
        if (!n)
            return wrong();
        sqlite3_bind_int(stmt, index, *n != 0 ? -1 : 0);
    } else if (isIntegral(t)) {
        auto n = numberFromText(text);
        if (!n)
            return wrong();
        sqlite3_bind_int64(stmt, index, static_cast<long long>(roundHalfEven(*n)));
    } else if (isNumeric(t)) {
        auto n = numberFromText(text);
        if (!n)
            return wrong();
        sqlite3_bind_double(stmt, index, *n);
    } else if (t == SqlType::Variant && numberFromText(text) &&
               text.find_first_of(" ,") == std::string::npos) {
        // An undeclared parameter is a Variant: numeric text meets numbers as a number.
        sqlite3_bind_double(stmt, index, *numberFromText(text));
    } else {
        sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    return Status::ok();
}

}  // namespace

Status StatementRunner::bindParameters(sqlite3_stmt* stmt,
                                       const std::vector<ParameterRef>& parameters,
                                       const ParameterValues& values) {
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count && i <= static_cast<int>(parameters.size()); ++i) {
        const ParameterRef& p = parameters[i - 1];
        const std::string* text = nullptr;
        for (const auto& [name, value] : values) {
            if (compareAccessText(parameterName(name), p.name) == 0)
                text = &value;
        }
        if (!text)
            return Status(ErrorCode::Parameter, "Too few parameters. Expected 1.");
        if (Status st = bindOne(stmt, i, p, *text); !st)
            return st;
    }
    return Status::ok();
}

Status stepError(sqlite3* db, int rc) {
    // The table module reports damaged pages as SQLITE_CORRUPT.
    const bool damaged = (rc & 0xff) == SQLITE_CORRUPT;
    return Status(damaged ? ErrorCode::Corrupt : ErrorCode::Semantic, sqlite3_errmsg(db));
}

bool StatementRunner::stepInto(std::vector<Value>& out, std::vector<Value>* keys) {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW) {
        status_ = stepError(db_, rc);
        return false;
    }
    const std::size_t visible = translation_.columns.size();
    out.resize(visible);
    for (std::size_t i = 0; i < visible; ++i) {
        out[i] = valueFromSqlite(sqlite3_column_value(stmt_, static_cast<int>(i)),
                                 translation_.columns[i].type);
    }
    if (keys) {
        keys->resize(static_cast<std::size_t>(translation_.hiddenColumns));
        for (int k = 0; k < translation_.hiddenColumns; ++k) {
            (*keys)[k] = valueFromSqlite(sqlite3_column_value(stmt_, static_cast<int>(visible) + k),
                                         SqlType::Variant);
        }
    }
    return true;
}

// TOP n with ORDER BY: the first n rows, then every row whose keys equal the
// n-th row's. Read with a LIMIT of n + 1 so SQLite keeps only the best rows;
// read again with a larger limit in the rare case that the ties run past it.
Status StatementRunner::bufferTopRows(const ParameterValues& values) {
    const long long n = *translation_.topWithTies;
    for (long long limit = n + 1;; limit = limit > kMaxTieLimit / 8 ? -1 : limit * 8) {
        const std::string sql =
            translation_.sql + (limit > 0 ? " LIMIT " + std::to_string(limit) : "");
        if (Status st = prepare(sql, values); !st)
            return st;
        buffer_.clear();
        std::vector<Value> row, keys, nthKeys;
        long long read = 0;
        bool tiesEnded = false;
        while (stepInto(row, &keys)) {
            ++read;
            if (read > n && !std::equal(keys.begin(), keys.end(), nthKeys.begin(), sameKey)) {
                tiesEnded = true;
                break;
            }
            if (read == n)
                nthKeys = keys;
            buffer_.push_back(row);
        }
        if (!status_)
            return status_;
        if (tiesEnded || limit < 0 || read < limit)
            break;
    }
    buffered_ = true;
    return Status::ok();
}

bool StatementRunner::next() {
    if (!status_)
        return false;
    if (buffered_) {
        if (bufferAt_ >= buffer_.size())
            return false;
        row_ = std::move(buffer_[bufferAt_++]);
        return true;
    }
    return stepInto(row_, nullptr);
}

}  // namespace jet::sql
