// How one scan of a table serves a statement, as the table module chooses it
// when SQLite plans the statement: which columns it reads, an equality it
// answers from a lookup, the comparisons and Like tests it makes itself so
// that rows that cannot match never reach SQLite, and an ORDER BY ... LIMIT
// it answers by keeping only the best rows. SQLite hands the plan back to
// the scan as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sqlite3.h>

#include "jet/table_def.h"

namespace jet::sql {

// The constraint code the module gives acc_like(column, pattern).
inline constexpr int kLikeConstraint = SQLITE_INDEX_CONSTRAINT_FUNCTION;
// The most rows an ORDER BY ... LIMIT keeps in the scan; beyond it SQLite sorts.
inline constexpr long long kMaxKeptRows = 100000;
// The most memory a scan that groups its rows itself may need at worst
// (every row a group of its own); beyond it SQLite sorts.
inline constexpr double kMostGroupedBytes = 512.0 * 1024 * 1024;

struct ScanPlan {
    // A test of column `column` against the value in xFilter's argv[argv].
    // `op` is an SQLITE_INDEX_CONSTRAINT_ code or kLikeConstraint.
    struct Test {
        int column = 0;
        int op = 0;
        bool accessText = false;  // text compares by the ACCESS collation
        int argv = 0;
    };
    struct OrderKey {
        int column = 0;
        bool descending = false;
    };

    uint64_t columnsUsed = 0;  // sqlite3_index_info.colUsed
    int lookupColumn = -1;     // equality answered by a lookup; its value is argv[0]
    std::vector<Test> tests;
    std::vector<OrderKey> order;  // with limitArgv: the scan yields rows in this order
    int limitArgv = -1;
    std::vector<int> groupBy;  // the scan yields rows grouped by these columns

    std::string encode() const;
    static std::optional<ScanPlan> decode(std::string_view text);
};

// What the table offers a plan beyond its columns.
struct ScanChoices {
    bool flattens = false;    // the scan yields one row per item of a complex column
    bool hiddenUsed = false;  // the statement reads subfields of complex columns
    const std::vector<bool>* noLookup = nullptr;  // columns whose lookup would not fit
};

// Whether a scan grouping `table`'s rows by the columns `groupBy`, reading
// the columns in `columnsUsed`, needs at most kMostGroupedBytes even if every
// row were a group of its own.
bool groupingFits(const TableDef& table, uint64_t columnsUsed, const std::vector<int>& groupBy);

// Chooses the plan for `info` and fills its outputs (argv indexes, costs,
// orderByConsumed). Every test is also checked again by SQLite.
ScanPlan chooseScanPlan(const TableDef& table, sqlite3_index_info* info,
                        const ScanChoices& choices);

}  // namespace jet::sql
