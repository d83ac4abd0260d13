#include "sql/translator.h"

#include <algorithm>

#include "jet/sql_value_text.h"
#include "sql/access_collation.h"
#include "sql/parser.h"
#include "sql/token.h"

namespace jet::sql {

namespace {

Status semantic(const std::string& message) {
    return Status(ErrorCode::Semantic, message);
}

constexpr int kMaxQueryDepth = 32;

std::string joinList(const std::vector<std::string>& parts, const char* sep = ", ") {
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : sep) + p;
    return out;
}

std::string withCollation(const TxExpr& t) {
    return isTextType(t.type) ? t.value() + " COLLATE ACCESS" : t.value();
}

}  // namespace

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string quoteText(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

bool namesEqual(const std::string& a, const std::string& b) {
    return asciiUpper(a) == asciiUpper(b) || compareAccessText(a, b) == 0;
}

std::string Translator::newAlias() {
    return quoteIdentifier("t" + std::to_string(++aliasCounter_));
}

Result<Translation> translate(const Statement& statement, SqlCatalog& catalog) {
    return Translator(catalog).run(statement);
}

Result<Translation> Translator::run(const Statement& st) {
    statement_ = &st;
    for (const ParameterDecl& d : st.parameters) {
        bool seen = false;
        for (const auto& p : parameters_)
            seen = seen || namesEqual(p.name, d.name);
        if (!seen)
            parameters_.push_back({d.name, d.typeName, typeOfParameterName(d.typeName), true});
    }
    auto out = st.crosstab ? crosstab(st) : query(*st.query, nullptr, true);
    if (!out)
        return out.status();
    Translation t;
    t.sql = out->sql;
    t.columns = out->columns;
    t.hiddenColumns = out->hidden;
    t.parameters = parameters_;
    t.topWithTies = out->topWithTies;
    return t;
}

Result<QueryOut> Translator::query(const Query& q, const Scope* outer, bool topLevel) {
    if (q.parts.size() == 1 && q.orderBy.empty())
        return core(q.parts[0], outer, topLevel);
    return unionQuery(q, outer);
}

Result<QueryOut> Translator::unionQuery(const Query& q, const Scope* outer) {
    QueryOut out;
    std::string sql;
    for (std::size_t i = 0; i < q.parts.size(); ++i) {
        auto part = core(q.parts[i], outer, false);
        if (!part)
            return part;
        if (i == 0) {
            out.columns = part->columns;
        } else if (part->columns.size() != out.columns.size()) {
            return semantic(
                "The number of columns in the two selected tables or queries of a union query do "
                "not match.");
        } else {
            for (std::size_t c = 0; c < out.columns.size(); ++c) {
                if (out.columns[c].type != part->columns[c].type &&
                    part->columns[c].type != SqlType::Null) {
                    out.columns[c].type = out.columns[c].type == SqlType::Null
                                              ? part->columns[c].type
                                              : SqlType::Variant;
                }
            }
        }
        if (i > 0)
            sql += q.all[i - 1] ? " UNION ALL " : " UNION ";
        sql += "SELECT * FROM (" + part->sql + ")";
    }
    if (q.orderBy.empty()) {
        out.sql = sql;
        return out;
    }
    // ORDER BY of a union names the first part's columns, or their positions.
    Scope scope;
    ScopeSource src{"", quoteIdentifier("u"), {}, false};
    for (const auto& c : out.columns)
        src.columns.push_back({c.name, c.type});
    scope.sources.push_back(src);
    std::vector<std::string> keys;
    for (const OrderItem& o : q.orderBy) {
        std::string key;
        if (o.expr->kind == ExprKind::Number) {
            const auto pos = static_cast<std::size_t>(o.expr->number);
            if (pos < 1 || pos > out.columns.size())
                return Status(ErrorCode::Syntax, "Syntax error in ORDER BY clause.");
            const auto& col = out.columns[pos - 1];
            key = "\"u\"." + quoteIdentifier(col.name) +
                  (isTextType(col.type) ? " COLLATE ACCESS" : "");
        } else {
            auto t = expr(*o.expr, scope);
            if (!t)
                return t.status();
            key = withCollation(*t);
        }
        keys.push_back(key + (o.descending ? " DESC" : ""));
    }
    out.sql = "SELECT * FROM (" + sql + ") AS \"u\" ORDER BY " + joinList(keys);
    return out;
}

Result<ScopeSource> Translator::namedSource(const std::string& name, const std::string& alias,
                                            std::string& sql) {
    ScopeSource src;
    src.name = alias.empty() ? name : alias;
    src.sqlAlias = newAlias();
    auto table = externalPath_.empty()
                     ? catalog_.table(name)
                     : catalog_.externalTable(externalPath_, externalPassword_, name);
    if (table) {
        src.columns = table->columns;
        src.isTable = true;
        src.stored = table->stored;
        sql = table->sqlName + " AS " + src.sqlAlias;
        return src;
    }
    if (table.status().code() != ErrorCode::NotFound)
        return table.status();
    auto saved = catalog_.query(name);
    if (!saved) {
        return Status(ErrorCode::NotFound,
                      "The database engine cannot find the input table or query '" + name +
                          "'. Make sure it exists and that its name is spelled correctly.");
    }
    auto sub = savedQuery(name, *saved);
    if (!sub)
        return sub.status();
    for (const auto& c : sub->columns)
        src.columns.push_back({c.name, c.type});
    sql = "(" + sub->sql + ") AS " + src.sqlAlias;
    return src;
}

Result<QueryOut> Translator::savedQuery(const std::string& name, const CatalogQuery& q) {
    if (q.kind != QueryKind::Select && q.kind != QueryKind::Union &&
        q.kind != QueryKind::Crosstab) {
        return Status(ErrorCode::ReadOnly,
                      "The query '" + name +
                          "' changes data or is not a SELECT; it cannot be used as a table.");
    }
    for (const auto& open : queryStack_) {
        if (namesEqual(open, name))
            return semantic("Circular reference caused by '" + name + "'.");
    }
    if (static_cast<int>(queryStack_.size()) >= kMaxQueryDepth)
        return semantic("Saved queries are nested too deeply.");
    auto parsed = parseStatement(q.sql);
    if (!parsed) {
        return Status(parsed.status().code(),
                      parsed.status().message() + " (in the query '" + name + "')");
    }
    queryStack_.push_back(name);
    for (const ParameterDecl& d : parsed->parameters) {
        bool seen = false;
        for (const auto& p : parameters_)
            seen = seen || namesEqual(p.name, d.name);
        if (!seen)
            parameters_.push_back({d.name, d.typeName, typeOfParameterName(d.typeName), true});
    }
    const Statement* saved = statement_;
    statement_ = &parsed.value();
    auto out = parsed->crosstab ? crosstab(*parsed) : query(*parsed->query, nullptr, false);
    statement_ = saved;
    queryStack_.pop_back();
    if (out)
        out->hidden = 0;
    return out;
}

Result<std::string> Translator::fromItem(const FromItem& item, Scope& scope) {
    std::string sql;
    if (item.kind == FromItem::Kind::Join) {
        auto left = fromItem(*item.left, scope);
        if (!left)
            return left;
        auto right = fromItem(*item.right, scope);
        if (!right)
            return right;
        auto on = expr(*item.on, scope);
        if (!on)
            return on.status();
        if (on->aggregate)
            return semantic("Join expression not supported.");
        const char* kind = item.join == JoinKind::Inner  ? " INNER JOIN "
                           : item.join == JoinKind::Left ? " LEFT JOIN "
                                                         : " RIGHT JOIN ";
        return "(" + *left + kind + *right + " ON " + on->truth() + ")";
    }
    if (item.kind == FromItem::Kind::Derived) {
        auto sub = query(*item.query, nullptr, false);
        if (!sub)
            return sub.status();
        ScopeSource src{item.alias, newAlias(), {}, false};
        for (const auto& c : sub->columns)
            src.columns.push_back({c.name, c.type});
        scope.sources.push_back(src);
        return "(" + sub->sql + ") AS " + src.sqlAlias;
    }
    auto src = namedSource(item.name, item.alias, sql);
    if (!src)
        return src.status();
    scope.sources.push_back(*src);
    return sql;
}

Status Translator::buildFrom(const std::vector<FromPtr>& from, Scope& scope, std::string& sql) {
    // Sources are registered first so that ON conditions can see every table
    // of the join, then the text is built.
    std::vector<std::string> parts;
    for (const auto& item : from) {
        auto part = fromItem(*item, scope);
        if (!part)
            return part.status();
        parts.push_back(*part);
    }
    sql = joinList(parts);
    return Status::ok();
}

}  // namespace jet::sql
