// The Access functions known to the translator (name, argument count, result
// type, SQLite name) and their registration in an SQLite connection.
#pragma once

#include <string>
#include <vector>

#include <sqlite3.h>

#include "jet/status.h"
#include "sql/sql_type.h"

namespace jet::sql {

enum class ResultRule {
    Fixed,      // always `type`
    FirstArg,   // the type of the first argument (Abs, Int, Fix)
    Special,    // handled by the translator itself (IIf, Nz, Switch, ...)
    Aggregate,  // an aggregate; see aggregateType()
};

struct FunctionInfo {
    const char* name;     // upper-case Access name
    const char* sqlName;  // the SQLite function
    int minArgs, maxArgs;
    ResultRule rule;
    SqlType type;
    const char*
        textArgs;  // per argument: 'T' wants text (dates and Booleans shown as text), '-' as is
};

// Null when `upperName` is not a function this engine knows.
const FunctionInfo* findFunction(const std::string& upperName);
// Every known name, upper case, in the table's order.
std::vector<std::string> functionNames();
// The result type of an aggregate over an argument of type `arg`.
SqlType aggregateType(const std::string& upperName, SqlType arg);

// Registers the collation, operators, functions and aggregates.
Status registerAccessFunctions(sqlite3* db);

// Per-file registration, called by registerAccessFunctions.
void registerOperatorFunctions(sqlite3* db);
void registerTextFunctions(sqlite3* db);
void registerNumberFunctions(sqlite3* db);
void registerDateFunctions(sqlite3* db);
void registerConversionFunctions(sqlite3* db);
void registerFormatFunction(sqlite3* db);
void registerAggregateFunctions(sqlite3* db);

// acc_like(value, pattern), which the table module also hands SQLite as its
// own overload when it tests Like in its scans.
void accessLike(sqlite3_context* ctx, int argc, sqlite3_value** argv);

}  // namespace jet::sql
