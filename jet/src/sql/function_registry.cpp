#include "sql/function_registry.h"

#include <cstring>

#include "sql/access_collation.h"

namespace jet::sql {

namespace {

using R = ResultRule;
using T = SqlType;

const FunctionInfo kFunctions[] = {
    // aggregates
    {"COUNT", "count", 1, 1, R::Aggregate, T::Long, "-"},
    {"SUM", "sum", 1, 1, R::Aggregate, T::Double, "-"},
    {"AVG", "avg", 1, 1, R::Aggregate, T::Double, "-"},
    {"MIN", "min", 1, 1, R::Aggregate, T::Variant, "-"},
    {"MAX", "max", 1, 1, R::Aggregate, T::Variant, "-"},
    {"FIRST", "acc_first", 1, 1, R::Aggregate, T::Variant, "-"},
    {"LAST", "acc_last", 1, 1, R::Aggregate, T::Variant, "-"},
    {"STDEV", "acc_stdev", 1, 1, R::Aggregate, T::Double, "-"},
    {"STDEVP", "acc_stdevp", 1, 1, R::Aggregate, T::Double, "-"},
    {"VAR", "acc_var", 1, 1, R::Aggregate, T::Double, "-"},
    {"VARP", "acc_varp", 1, 1, R::Aggregate, T::Double, "-"},
    // program flow, handled in the translator
    {"IIF", "", 3, 3, R::Special, T::Variant, "-"},
    {"NZ", "", 1, 2, R::Special, T::Variant, "-"},
    {"ISNULL", "", 1, 1, R::Special, T::Boolean, "-"},
    {"SWITCH", "", 2, 254, R::Special, T::Variant, "-"},
    {"CHOOSE", "", 2, 254, R::Special, T::Variant, "-"},
    {"ISNUMERIC", "acc_isnumeric", 1, 1, R::Fixed, T::Boolean, "-"},
    {"ISDATE", "acc_isdate", 1, 1, R::Fixed, T::Boolean, "-"},
    // text
    {"FORMAT", "", 1, 4, R::Special, T::Text, "-"},
    {"LEFT", "acc_left", 2, 2, R::Fixed, T::Text, "T-"},
    {"RIGHT", "acc_right", 2, 2, R::Fixed, T::Text, "T-"},
    {"MID", "acc_mid", 2, 3, R::Fixed, T::Text, "T--"},
    {"LEN", "acc_len", 1, 1, R::Fixed, T::Long, "T"},
    {"INSTR", "acc_instr", 2, 4, R::Fixed, T::Long, "-TT-"},
    {"INSTRREV", "acc_instrrev", 2, 4, R::Fixed, T::Long, "TT--"},
    {"REPLACE", "acc_replace", 3, 6, R::Fixed, T::Text, "TTT---"},
    {"LCASE", "acc_lcase", 1, 1, R::Fixed, T::Text, "T"},
    {"UCASE", "acc_ucase", 1, 1, R::Fixed, T::Text, "T"},
    {"TRIM", "acc_trim", 1, 1, R::Fixed, T::Text, "T"},
    {"LTRIM", "acc_ltrim", 1, 1, R::Fixed, T::Text, "T"},
    {"RTRIM", "acc_rtrim", 1, 1, R::Fixed, T::Text, "T"},
    {"SPACE", "acc_space", 1, 1, R::Fixed, T::Text, "-"},
    {"STRING", "acc_string", 2, 2, R::Fixed, T::Text, "--"},
    {"STRCOMP", "acc_strcomp", 2, 3, R::Fixed, T::Integer, "TT-"},
    {"STRREVERSE", "acc_strreverse", 1, 1, R::Fixed, T::Text, "T"},
    {"ASC", "acc_asc", 1, 1, R::Fixed, T::Integer, "T"},
    {"CHR", "acc_chr", 1, 1, R::Fixed, T::Text, "-"},
    {"VAL", "acc_val", 1, 1, R::Fixed, T::Double, "T"},
    {"STR", "acc_str", 1, 1, R::Fixed, T::Text, "-"},
    // conversion
    {"CSTR", "acc_cstr", 1, 1, R::Fixed, T::Text, "T"},
    {"CINT", "acc_cint", 1, 1, R::Fixed, T::Integer, "-"},
    {"CLNG", "acc_clng", 1, 1, R::Fixed, T::Long, "-"},
    {"CBYTE", "acc_cbyte", 1, 1, R::Fixed, T::Byte, "-"},
    {"CDBL", "acc_cdbl", 1, 1, R::Fixed, T::Double, "-"},
    {"CSNG", "acc_csng", 1, 1, R::Fixed, T::Single, "-"},
    {"CCUR", "acc_ccur", 1, 1, R::Fixed, T::Currency, "-"},
    {"CDATE", "acc_cdate", 1, 1, R::Fixed, T::Date, "-"},
    {"CVDATE", "acc_cvdate", 1, 1, R::Fixed, T::Date, "-"},
    {"CBOOL", "acc_cbool", 1, 1, R::Fixed, T::Boolean, "-"},
    // numbers
    {"INT", "acc_int", 1, 1, R::FirstArg, T::Double, "-"},
    {"FIX", "acc_fix", 1, 1, R::FirstArg, T::Double, "-"},
    {"ABS", "acc_abs", 1, 1, R::FirstArg, T::Double, "-"},
    {"SGN", "acc_sgn", 1, 1, R::Fixed, T::Integer, "-"},
    {"ROUND", "acc_round", 1, 2, R::FirstArg, T::Double, "--"},
    {"SQR", "acc_sqr", 1, 1, R::Fixed, T::Double, "-"},
    {"EXP", "acc_exp", 1, 1, R::Fixed, T::Double, "-"},
    {"LOG", "acc_log", 1, 1, R::Fixed, T::Double, "-"},
    // dates
    {"DATE", "acc_date", 0, 0, R::Fixed, T::Date, ""},
    {"TIME", "acc_time", 0, 0, R::Fixed, T::Date, ""},
    {"NOW", "acc_now", 0, 0, R::Fixed, T::Date, ""},
    {"YEAR", "acc_year", 1, 1, R::Fixed, T::Integer, "-"},
    {"MONTH", "acc_month", 1, 1, R::Fixed, T::Integer, "-"},
    {"DAY", "acc_day", 1, 1, R::Fixed, T::Integer, "-"},
    {"HOUR", "acc_hour", 1, 1, R::Fixed, T::Integer, "-"},
    {"MINUTE", "acc_minute", 1, 1, R::Fixed, T::Integer, "-"},
    {"SECOND", "acc_second", 1, 1, R::Fixed, T::Integer, "-"},
    {"WEEKDAY", "acc_weekday", 1, 2, R::Fixed, T::Integer, "--"},
    {"DATESERIAL", "acc_dateserial", 3, 3, R::Fixed, T::Date, "---"},
    {"TIMESERIAL", "acc_timeserial", 3, 3, R::Fixed, T::Date, "---"},
    {"DATEADD", "acc_dateadd", 3, 3, R::Fixed, T::Date, "T--"},
    {"DATEDIFF", "acc_datediff", 3, 5, R::Fixed, T::Long, "T----"},
    {"DATEPART", "acc_datepart", 2, 4, R::Fixed, T::Integer, "T---"},
    {"DATEVALUE", "acc_datevalue", 1, 1, R::Fixed, T::Date, "-"},
    {"TIMEVALUE", "acc_timevalue", 1, 1, R::Fixed, T::Date, "-"},
    {"MONTHNAME", "acc_monthname", 1, 2, R::Fixed, T::Text, "--"},
    {"WEEKDAYNAME", "acc_weekdayname", 1, 3, R::Fixed, T::Text, "---"},
};

}  // namespace

const FunctionInfo* findFunction(const std::string& upperName) {
    for (const FunctionInfo& f : kFunctions) {
        if (upperName == f.name)
            return &f;
    }
    return nullptr;
}

std::vector<std::string> functionNames() {
    std::vector<std::string> names;
    for (const FunctionInfo& f : kFunctions) {
        names.emplace_back(f.name);
    }
    return names;
}

SqlType aggregateType(const std::string& name, SqlType arg) {
    if (name == "COUNT")
        return SqlType::Long;
    if (name == "MIN" || name == "MAX" || name == "FIRST" || name == "LAST")
        return arg;
    if (name == "SUM") {
        if (arg == SqlType::Currency || arg == SqlType::Decimal)
            return arg;
        if (isIntegral(arg))
            return SqlType::Long;
        return SqlType::Double;
    }
    return SqlType::Double;
}

Status registerAccessFunctions(sqlite3* db) {
    if (registerAccessCollation(db) != SQLITE_OK) {
        return Status(ErrorCode::Invalid,
                      std::string("Cannot register the text collation: ") + sqlite3_errmsg(db));
    }
    registerOperatorFunctions(db);
    registerTextFunctions(db);
    registerNumberFunctions(db);
    registerDateFunctions(db);
    registerConversionFunctions(db);
    registerFormatFunction(db);
    registerAggregateFunctions(db);
    return Status::ok();
}

}  // namespace jet::sql
