// Reads the catalog: MSysObjects for tables and saved queries, each table's
// definition, and MSysQueries for the queries' SQL.
#pragma once

#include <vector>

#include "database_file.h"
#include "jet/damage_report.h"
#include "jet/query_def.h"
#include "jet/table_def.h"

namespace jet {

class CatalogReader {
  public:
    // With a `salvage` report, damaged catalog rows are skipped and recorded.
    explicit CatalogReader(const DatabaseFile& file, DamageReport* salvage = nullptr)
        : file_(file), salvage_(salvage) {}

    // Fills `tables` and `queries`, both sorted in Jet's text order.
    Status read(std::vector<TableDef>& tables, std::vector<QueryDef>& queries);

  private:
    struct ObjectRow {
        int32_t id = 0;
        int32_t parentId = 0;
        int16_t type = 0;
        uint32_t flags = 0;
        std::string name, database, connect, foreignName;
    };

    Status readObjects(std::vector<ObjectRow>& rows);
    Status addTable(const ObjectRow& row, std::vector<TableDef>& tables);
    static Status failQueries(std::vector<QueryDef>& queries, const std::string& why);
    Status rebuildQueries(const std::vector<TableDef>& tables, std::vector<QueryDef>& queries);

    const DatabaseFile& file_;
    DamageReport* salvage_ = nullptr;
};

}  // namespace jet
