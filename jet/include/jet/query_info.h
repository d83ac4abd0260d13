// What the engine knows about one saved query: its kind, its SQL text as
// Access shows it, its parameters and, for a select, its output field names.
#pragma once

#include <string>
#include <vector>

namespace jet {

enum class QueryKind {
    Select,
    Crosstab,
    MakeTable,
    Append,
    Update,
    Delete,
    Union,
    PassThrough,
    DataDefinition,
    Unknown,
};

struct QueryParameter {
    std::string name;
    std::string typeName;  // as written in PARAMETERS, e.g. "Text ( 255 )", "Long"
    int typeCode = 0;      // Jet column type code (0 when unknown)
};

struct QueryInfo {
    QueryKind kind = QueryKind::Unknown;
    std::string sql;  // clauses joined by CR LF, ending in ";"
    std::vector<QueryParameter> parameters;
    std::vector<std::string> fields;  // output names of a select; empty otherwise
};

}  // namespace jet
