// Rebuilds a saved query's SQL text, type, parameters and output fields from
// its MSysQueries rows, the way Access shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/query_info.h"
#include "jet/status.h"

namespace jet {

// One row of MSysQueries, as stored (only the columns the rebuild needs).
struct QueryRow {
    int attribute = 0;
    std::optional<std::string> expression;
    std::optional<int32_t> flag;
    std::optional<std::string> name1;
    std::optional<std::string> name2;
    int32_t objectId = 0;
    std::optional<std::vector<uint8_t>> order;
    std::optional<int32_t> lvExtra;  // Jet 4 / ACE only: declared size of a Text parameter
};

// `rows` are the rows of one query (same ObjectId), in stored order. Fails with
// ErrorCode::Corrupt when the rows contradict each other (a join naming a
// type it cannot have, a crosstab without a value) and ErrorCode::Unsupported
// for a query type Access does not write.
Result<QueryInfo> rebuildQuery(const std::vector<QueryRow>& rows);

}  // namespace jet
