// The values of a database's complex columns, loaded per column on first
// use: MSysComplexColumns links a column (by its complex id) to its hidden
// value table and to the template table whose shape tells the kind. Owned
// by the Database; cursors look their cells up here.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "database_file.h"
#include "jet/complex_value.h"
#include "jet/status.h"
#include "jet/table_def.h"

namespace jet {

struct ComplexColumnValues {
    ComplexKind kind = ComplexKind::Unknown;
    std::unordered_map<int32_t, ComplexCell> cells;  // by the key the row holds

    const ComplexCell* find(int32_t key) const {
        auto it = cells.find(key);
        return it == cells.end() ? nullptr : &it->second;
    }
};

class ComplexStore {
  public:
    ComplexStore(const DatabaseFile& file, const std::vector<TableDef>& tables)
        : file_(file), tables_(tables) {}

    // The values of `column` of `table`, read on the first call. Fails with
    // Corrupt when the column's value table is missing or malformed.
    Result<const ComplexColumnValues*> column(const TableDef& table, const Column& column);
    // Forgets everything (after the catalog was re-read).
    void clear();

  private:
    struct Link {
        int32_t flatTable = 0;
        int32_t typeTable = 0;
        int32_t ownerTable = 0;
    };

    Status readLinks();
    const TableDef* tableById(int32_t id) const;

    const DatabaseFile& file_;
    const std::vector<TableDef>& tables_;
    bool linksRead_ = false;
    Status linksStatus_;
    std::map<int32_t, Link> links_;  // by complex id
    std::map<int32_t, Result<std::unique_ptr<ComplexColumnValues>>> loaded_;
};

}  // namespace jet
