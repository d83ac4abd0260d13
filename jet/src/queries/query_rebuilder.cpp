#include "queries/query_rebuilder.h"

#include "queries/output_fields.h"
#include "queries/query_elements.h"
#include "queries/query_forms.h"
#include "queries/query_parameters.h"
#include "queries/stored_text_forms.h"

namespace jet {
namespace {

// The query types of the attribute 1 Flag, in code order from 1.
constexpr QueryKind kKinds[] = {
    QueryKind::Select,         QueryKind::MakeTable,   QueryKind::Append,
    QueryKind::Update,         QueryKind::Delete,      QueryKind::Crosstab,
    QueryKind::DataDefinition, QueryKind::PassThrough, QueryKind::Union,
};

Result<std::string> sqlFor(QueryKind kind, const QueryElements& elements) {
    switch (kind) {
        case QueryKind::Select:
            return selectQuerySql(elements);
        case QueryKind::MakeTable:
            return makeTableQuerySql(elements);
        case QueryKind::Append:
            return appendQuerySql(elements);
        case QueryKind::Update:
            return updateQuerySql(elements);
        case QueryKind::Delete:
            return deleteQuerySql(elements);
        case QueryKind::Crosstab:
            return crosstabQuerySql(elements);
        case QueryKind::Union:
            return unionQuerySql(elements);
        case QueryKind::DataDefinition:
        case QueryKind::PassThrough:
            return storedQuerySql(elements);
        case QueryKind::Unknown:
            break;
    }
    return Result<std::string>(ErrorCode::Unsupported, "unknown query type");
}

bool takesParameters(QueryKind kind) {
    return kind != QueryKind::DataDefinition && kind != QueryKind::PassThrough;
}

}  // namespace

Result<QueryInfo> rebuildQuery(const std::vector<QueryRow>& rows) {
    if (rows.empty()) {
        return Result<QueryInfo>(ErrorCode::Corrupt, "the query has no rows in MSysQueries");
    }
    QueryElements elements(rows);
    int32_t code = elements.typeCode();
    if (code < 1 || code > static_cast<int32_t>(std::size(kKinds))) {
        return Result<QueryInfo>(ErrorCode::Unsupported,
                                 "query type " + std::to_string(code) + " is not supported");
    }
    QueryInfo info;
    info.kind = kKinds[code - 1];
    Result<std::string> sql = sqlFor(info.kind, elements);
    if (!sql) {
        return sql.status();
    }
    if (takesParameters(info.kind)) {
        info.parameters = queryParameters(elements);
    }
    info.sql = parametersLine(info.parameters) + *sql;
    if (info.kind == QueryKind::Select) {
        info.fields = outputFieldNames(elements);
    }
    return info;
}

}  // namespace jet
