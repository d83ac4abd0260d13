#include "sql/sql_catalog.h"

#include "jet/database.h"

namespace jet::sql {

std::optional<CatalogQuery> savedQuery(const Database& db, std::string_view name) {
    const QueryDef* q = db.findQuery(name);
    if (!q)
        return std::nullopt;
    if (!q->status.isOk())
        return CatalogQuery{"", QueryKind::Unknown};
    return CatalogQuery{q->info.sql, q->info.kind};
}

}  // namespace jet::sql
