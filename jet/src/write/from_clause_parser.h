// Reads the FROM clause of a SELECT into its tables and joins: comma-separated
// sources, each a table or saved query with an optional alias, or a nested
// INNER / LEFT / RIGHT JOIN ... ON with the ON condition kept as written.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/status.h"
#include "write/sql_tokens.h"

namespace jet::write {

struct FromSource {
    // A table (or saved query) ...
    std::string name;
    std::string alias;
    // ... or a join of two sources (joinType 1 inner, 2 left, 3 right).
    int joinType = 0;
    std::unique_ptr<FromSource> left, right;
    std::string condition;
    std::vector<std::string> conditionQualifiers;  // X of every X.Y in the condition

    bool isJoin() const { return joinType != 0; }
    // Alias, else name: how the rest of the statement refers to a table.
    const std::string& key() const { return alias.empty() ? name : alias; }
};

using FromList = std::vector<std::unique_ptr<FromSource>>;

// Parses tokens [first, last) of `text`. Unsupported for derived tables and
// IN 'other database'; Syntax for anything else it cannot read.
Result<FromList> parseFromClause(std::string_view text, const std::vector<SqlToken>& tokens,
                                 size_t first, size_t last);

}  // namespace jet::write
