#include "jet/portable_query.h"

#include "sql/parser.h"
#include "sql/translator.h"

namespace jet {
namespace {

using sql::SqlType;

// Serves the translator from the caller's tables; nothing runs while
// translating, so crosstabs (whose columns come from the data) are refused.
class PortableCatalog : public sql::SqlCatalog {
  public:
    PortableCatalog(const Database& db, const PortableTableSource& source)
        : db_(db), source_(source) {}

    Result<sql::CatalogTable> table(std::string_view name) override {
        const TableDef* def = db_.findTable(name);
        if (!def)
            return Status(ErrorCode::NotFound, "no table");
        if (def->isLinked())
            return Status(ErrorCode::Unsupported, "it reads the linked table '" + def->name + "'");
        sql::CatalogTable t{source_(*def), {}};
        for (const Column& c : def->columns)
            t.columns.push_back({c.name, sql::typeOfColumn(c.typeCode)});
        return t;
    }

    std::optional<sql::CatalogQuery> query(std::string_view name) override {
        return sql::savedQuery(db_, name);
    }

    Result<std::vector<sql::PivotValue>> pivotValues(
        const std::string&, const std::vector<sql::ParameterRef>&) override {
        return Status(ErrorCode::Unsupported, "it is a crosstab, whose columns depend on the data");
    }

  private:
    const Database& db_;
    const PortableTableSource& source_;
};

ValueType portableType(SqlType t) {
    return t == SqlType::Guid ? ValueType::Guid : sql::valueTypeOf(t);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// TOP n with ORDER BY keeps rows that tie with the n-th; the engine reads
// the ties itself, a view ranks them: the translation ends in ORDER BY over
// the hidden key columns "__k1" ... that follow the visible ones.
Result<std::string> withTies(const sql::Translation& t) {
    const size_t orderAt = t.sql.rfind(" ORDER BY \"__k1\"");
    if (orderAt == std::string::npos)
        return Status(ErrorCode::Unsupported, "its TOP clause cannot be expressed in a view");
    const std::string inner = t.sql.substr(0, orderAt);
    const std::string keys = t.sql.substr(orderAt + 10);
    std::string visible;
    for (const sql::OutputColumn& c : t.columns)
        visible += (visible.empty() ? "" : ", ") + sql::quoteIdentifier(c.name);
    return "SELECT " + visible + " FROM (SELECT *, RANK() OVER (ORDER BY " + keys +
           ") AS \"__r\" FROM (" + inner + ")) WHERE \"__r\" <= " + std::to_string(*t.topWithTies) +
           " ORDER BY " + keys;
}

}  // namespace

Result<PortableQuery> portableQuery(const Database& db, const QueryDef& query,
                                    const PortableTableSource& tableSource) {
    if (!query.status.isOk())
        return query.status;
    if (query.info.kind == QueryKind::Crosstab)
        return Status(ErrorCode::Unsupported, "it is a crosstab, whose columns depend on the data");
    if (query.info.kind != QueryKind::Select && query.info.kind != QueryKind::Union)
        return Status(ErrorCode::Unsupported, "it is not a select query");
    auto parsed = sql::parseStatement(query.info.sql);
    if (!parsed)
        return parsed.status();
    PortableCatalog catalog(db, tableSource);
    auto t = sql::translate(*parsed, catalog);
    if (!t)
        return t.status();
    if (!t->parameters.empty())
        return Status(ErrorCode::Unsupported,
                      "it asks for the parameter '" + t->parameters.front().name + "'");
    PortableQuery out;
    if (t->topWithTies) {
        auto ranked = withTies(*t);
        if (!ranked)
            return ranked.status();
        out.sql = *ranked;
    } else {
        out.sql = t->sql;
    }
    replaceAll(out.sql, " COLLATE ACCESS", " COLLATE NOCASE");
    // Sums of Currency are exact in the engine; SQLite's sum() over the
    // copied amounts is the nearest plain equivalent.
    replaceAll(out.sql, "acc_sum_currency(", "sum(");
    for (const sql::OutputColumn& c : t->columns)
        out.columns.push_back({c.name, portableType(c.type)});
    return out;
}

}  // namespace jet
