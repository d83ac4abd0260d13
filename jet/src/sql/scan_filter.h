// The tests of a scan plan made on the table's own rows: a row that fails
// one is never handed to SQLite. A test only turns away rows SQLite would
// turn away itself (SQLite still checks the rows that pass), so a value the
// filter cannot judge exactly, such as text met by a number, passes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "jet/table_cursor.h"
#include "sql/like_pattern.h"
#include "sql/scan_plan.h"
#include "sql/sql_scalar.h"

namespace jet::sql {

class ScanFilter {
  public:
    // Takes the tests' values from xFilter's `argv` (copied: they live only
    // for the call).
    void prepare(const std::vector<ScanPlan::Test>& tests, sqlite3_value** argv, int argc);
    bool empty() const { return tests_.empty(); }
    // False when the cursor's current row fails a test. A value the cursor
    // cannot read passes; its failure shows in the cursor's status.
    bool admits(TableCursor& cursor);

  private:
    struct Prepared {
        std::size_t column = 0;
        int op = 0;
        bool accessText = false;
        SqlScalar value;
        std::string bytes;  // the text or blob `value` views
        std::optional<LikePattern> like;
    };

    bool passes(const Prepared& test, const ValueRef& v);

    std::vector<Prepared> tests_;
    std::string scratch_;
};

}  // namespace jet::sql
