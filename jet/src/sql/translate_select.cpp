// SELECT half of the translator: select lists and their names, grouping
// rules, ORDER BY, TOP with ties and TRANSFORM ... PIVOT.
#include <cstdio>

#include "jet/number_text.h"
#include "jet/sql_value_text.h"
#include "sql/query_limits.h"
#include "sql/scan_plan.h"
#include "sql/token.h"
#include "sql/translator.h"

namespace jet::sql {

namespace {

constexpr std::size_t kMaxCrosstabColumns = 255;

Status semantic(const std::string& message) {
    return Status(ErrorCode::Semantic, message);
}

std::string joinList(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : ", ") + p;
    return out;
}

std::string withCollation(const TxExpr& t) {
    return isTextType(t.type) ? t.value() + " COLLATE ACCESS" : t.value();
}

// The text GROUP BY expression an item is, if any.
const TxExpr* textGroupOf(const TxExpr& item, const std::vector<TxExpr>& groups) {
    for (const TxExpr& g : groups) {
        if (isTextType(g.type) && g.sql == item.sql && g.cond == item.cond)
            return &g;
    }
    return nullptr;
}

// Groups on text go through the ACCESS collation once per comparison of the
// sort; grouping on acc_key instead lets SQLite compare bytes. That changes
// which row a bare text field is read from, so it is done only where every
// item is an aggregate or a grouped expression itself (text ones are read
// with acc_first: the group's first row, as SQLite gives a GROUP BY term),
// and nothing (HAVING, ORDER BY, DISTINCT, TOP) reads grouped fields otherwise.
bool groupBySortKeys(const SelectCore& c, const std::vector<TxExpr>& items,
                     const std::vector<TxExpr>& groups) {
    if (groups.empty() || c.having || !c.orderBy.empty() || c.distinct != Distinct::All || c.top)
        return false;
    bool anyText = false;
    for (const TxExpr& g : groups)
        anyText = anyText || isTextType(g.type);
    if (!anyText)
        return false;
    for (const TxExpr& item : items) {
        if (item.freeRefs.empty() || textGroupOf(item, groups))
            continue;
        bool grouped = false;
        for (const TxExpr& g : groups)
            grouped = grouped || (g.sql == item.sql && g.cond == item.cond);
        if (!grouped)
            return false;
    }
    return true;
}

// Groups on fields of one table are made by the table's scan, which yields
// the rows group by group: SQLite neither sorts nor needs acc_key, and only
// compares each row with the one before by the collation. The scan does it
// when the rows fit its memory, judged here as if the statement read every
// column (so the scan never refuses what is written for it).
bool groupedByTheScan(const Scope& scope, const std::vector<TxExpr>& groups) {
    if (scope.sources.size() != 1 || !scope.sources[0].stored)
        return false;
    const ScopeSource& src = scope.sources[0];
    const TableDef& table = *src.stored;
    std::vector<int> columns;
    for (const TxExpr& g : groups) {
        int found = -1;
        for (std::size_t i = 0; i < table.columns.size() && !g.cond; ++i) {
            if (g.sql == src.sqlAlias + "." + quoteIdentifier(table.columns[i].name))
                found = static_cast<int>(i);
        }
        if (found < 0 ||
            table.columns[static_cast<std::size_t>(found)].type() == ColumnType::Complex)
            return false;
        columns.push_back(found);
    }
    return groupingFits(table, ~uint64_t{0}, columns);
}

// Access names same-named fields of different tables "Table.Field".
void qualifyDuplicates(std::vector<OutputColumn>& columns,
                       const std::vector<std::string>& qualifiers) {
    std::vector<bool> dup(columns.size(), false);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        for (std::size_t j = 0; j < columns.size(); ++j) {
            dup[i] = dup[i] || (i != j && namesEqual(columns[i].name, columns[j].name));
        }
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (dup[i] && !qualifiers[i].empty())
            columns[i].name = qualifiers[i] + "." + columns[i].name;
    }
}

}  // namespace

Status Translator::selectItems(const SelectCore& c, Scope& scope, std::vector<TxExpr>& items,
                               std::vector<OutputColumn>& columns) {
    std::vector<std::string> qualifiers;
    int exprNumber = 1000;
    scope.aliasesVisible = true;
    for (const SelectItem& item : c.items) {
        if (item.star) {
            bool matched = false;
            for (const ScopeSource& src : scope.sources) {
                if (!item.starTable.empty() && !namesEqual(src.name, item.starTable))
                    continue;
                matched = true;
                for (const CatalogColumn& col : src.columns) {
                    TxExpr t;
                    t.sql = src.sqlAlias + "." + quoteIdentifier(col.name);
                    t.type = col.type;
                    t.freeRefs.push_back(t.sql);
                    items.push_back(t);
                    columns.push_back({col.name, col.type});
                    qualifiers.push_back(src.name);
                }
            }
            if (!matched && !item.starTable.empty()) {
                return semantic("The database engine does not recognize '" + item.starTable +
                                ".*' as a valid field name or expression.");
            }
            if (scope.sources.empty())
                return semantic("Query input must contain at least one table or query.");
            // Access's limit, checked before the names are compared pairwise.
            if (columns.size() > static_cast<std::size_t>(kMaxOutputFields))
                return tooManyFields();
            continue;
        }
        auto t = expr(*item.expr, scope);
        if (!t)
            return t.status();
        std::string name = item.alias;
        std::string qualifier;
        if (name.empty() && item.expr->kind == ExprKind::Name && t->sql.rfind("?", 0) != 0) {
            name = item.expr->parts.back();
            qualifier = item.expr->parts.size() == 2 ? item.expr->parts[0] : "";
        }
        if (name.empty())
            name = "Expr" + std::to_string(exprNumber++);
        for (const auto& col : columns) {
            if (!item.alias.empty() && namesEqual(col.name, item.alias)) {
                return semantic("Duplicate output alias '" + item.alias + "'.");
            }
        }
        items.push_back(*t);
        columns.push_back({name, t->type == SqlType::Null ? SqlType::Variant : t->type});
        qualifiers.push_back(qualifier);
        if (!item.alias.empty())
            scope.aliases.push_back({item.alias, *t});
    }
    qualifyDuplicates(columns, qualifiers);
    scope.aliasesVisible = false;
    return Status::ok();
}

Status Translator::checkGrouping(const SelectCore& c, const std::vector<TxExpr>& items,
                                 const std::vector<TxExpr>& groups, const TxExpr* having) {
    bool grouped = !groups.empty() || having;
    for (const auto& t : items)
        grouped = grouped || t.aggregate;
    if (!grouped)
        return Status::ok();
    auto isGroupKey = [&](const std::string& sql) {
        for (const auto& g : groups) {
            if (g.sql == sql || g.value() == sql)
                return true;
        }
        return false;
    };
    auto check = [&](const TxExpr& t, const std::string& text) -> Status {
        if (isGroupKey(t.sql))
            return Status::ok();
        for (const auto& ref : t.freeRefs) {
            if (!isGroupKey(ref)) {
                return semantic(
                    "You tried to execute a query that does not include the specified expression "
                    "'" +
                    text + "' as part of an aggregate function.");
            }
        }
        return Status::ok();
    };
    std::size_t k = 0;
    for (std::size_t i = 0; i < c.items.size() && k < items.size(); ++i) {
        const SelectItem& item = c.items[i];
        if (item.star)
            return semantic("Cannot group on fields selected with '*'.");
        Status st = check(items[k++], item.sourceText);
        if (!st)
            return st;
    }
    if (having)
        return check(*having, "HAVING");
    return Status::ok();
}

Result<std::vector<std::pair<TxExpr, bool>>> Translator::orderKeys(
    const std::vector<OrderItem>& order, const SelectCore& c, Scope& scope,
    const std::vector<TxExpr>& items, const std::vector<OutputColumn>& columns) {
    std::vector<std::pair<TxExpr, bool>> keys;
    for (const OrderItem& o : order) {
        TxExpr key;
        if (o.expr->kind == ExprKind::Number) {
            const auto pos = static_cast<std::size_t>(o.expr->number);
            if (pos < 1 || pos > items.size())
                return Status(ErrorCode::Syntax, "Syntax error in ORDER BY clause.");
            key = items[pos - 1];
        } else {
            scope.aliasesVisible = true;
            auto t = expr(*o.expr, scope);
            scope.aliasesVisible = false;
            if (!t)
                return t.status();
            key = *t;
        }
        if (c.distinct == Distinct::Distinct) {
            bool listed = false;
            for (const auto& it : items)
                listed = listed || it.sql == key.sql || ("(" + it.sql + ")") == key.sql;
            if (!listed)
                return semantic("ORDER BY clause conflicts with DISTINCT.");
        }
        keys.push_back({key, o.descending});
    }
    (void)columns;
    return keys;
}

Result<QueryOut> Translator::core(const SelectCore& c, const Scope* outer, bool topLevel) {
    if (!c.tableName.empty()) {
        SelectCore star;
        star.items.push_back(SelectItem{nullptr, "", "", true, "*"});
        auto from = std::make_shared<FromItem>();
        from->name = c.tableName;
        star.from.push_back(from);
        return core(star, outer, topLevel);
    }
    Scope scope;
    scope.outer = outer;
    std::string fromSql;
    const std::string outerExternal = externalPath_;
    externalPath_ = c.externalPath;
    externalPassword_ = c.externalPassword;
    const Status built = buildFrom(c.from, scope, fromSql);
    externalPath_ = outerExternal;
    if (!built)
        return built;
    std::vector<TxExpr> items;
    QueryOut out;
    if (Status st = selectItems(c, scope, items, out.columns); !st)
        return st;

    std::string sql = "SELECT ";
    if (c.distinct == Distinct::Distinct)
        sql += "DISTINCT ";
    std::vector<std::string> list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        list.push_back(withCollation(items[i]) + " AS " + quoteIdentifier(out.columns[i].name));
    }
    std::string tail;
    if (!fromSql.empty())
        tail += " FROM " + fromSql;
    if (c.where) {
        auto w = expr(*c.where, scope);
        if (!w)
            return w.status();
        if (w->aggregate)
            return semantic("Cannot have aggregate function in WHERE clause (" + c.whereText +
                            ").");
        tail += " WHERE " + w->truth();
    }
    std::vector<TxExpr> groups;
    std::vector<std::string> groupSql;
    for (const auto& g : c.groupBy) {
        auto t = expr(*g, scope);
        if (!t)
            return t.status();
        if (t->aggregate)
            return semantic("Cannot have aggregate function in GROUP BY clause.");
        groups.push_back(*t);
        groupSql.push_back(withCollation(*t));
    }
    const std::size_t groupAt = tail.size();
    if (!groupSql.empty())
        tail += " GROUP BY " + joinList(groupSql);
    std::optional<TxExpr> having;
    if (c.having) {
        auto h = expr(*c.having, scope);
        if (!h)
            return h.status();
        having = *h;
        tail += " HAVING " + h->truth();
    }
    if (Status st = checkGrouping(c, items, groups, having ? &*having : nullptr); !st)
        return st;
    if (groupBySortKeys(c, items, groups) && groupedByTheScan(scope, groups)) {
        // The table's own columns sort by ACCESS already; written bare, the
        // terms differ from the items, which SQLite needs to hand the
        // grouping to the table.
        for (std::size_t i = 0; i < groups.size(); ++i)
            groupSql[i] = groups[i].value();
        tail.resize(groupAt);
        tail += " GROUP BY " + joinList(groupSql);
    } else if (groupBySortKeys(c, items, groups)) {
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (isTextType(groups[i].type))
                groupSql[i] = "acc_key(" + groups[i].value() + ")";
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!items[i].freeRefs.empty() && textGroupOf(items[i], groups))
                list[i] = "acc_first(" + items[i].value() + ") COLLATE ACCESS AS " +
                          quoteIdentifier(out.columns[i].name);
        }
        tail.resize(groupAt);
        tail += " GROUP BY " + joinList(groupSql);
    }

    // DISTINCTROW matters only when a table of the join shows no field:
    // one row per combination of the records of the tables that do.
    if (c.distinct == Distinct::DistinctRow && groups.empty() && !having &&
        scope.sources.size() > 1) {
        std::vector<std::string> rowids;
        bool allTables = true, someSilent = false;
        for (const auto& src : scope.sources) {
            bool shown = false;
            for (const auto& it : items)
                shown = shown || it.sql.find(src.sqlAlias + ".") != std::string::npos;
            if (!shown)
                someSilent = true;
            else if (!src.isTable)
                allTables = false;
            else
                rowids.push_back(src.sqlAlias + ".rowid");
        }
        bool aggregated = false;
        for (const auto& it : items)
            aggregated = aggregated || it.aggregate;
        if (someSilent && allTables && !aggregated && !rowids.empty())
            tail += " GROUP BY " + joinList(rowids);
    }

    auto keys = orderKeys(c.orderBy, c, scope, items, out.columns);
    if (!keys)
        return keys.status();
    std::vector<std::string> orderSql;
    for (const auto& [k, desc] : *keys)
        orderSql.push_back(withCollation(k) + (desc ? " DESC" : ""));
    if (orderSql.empty() && !groupSql.empty() && !c.top)
        orderSql = groupSql;  // Jet returns groups sorted

    if (!c.top) {
        out.sql = sql + joinList(list) + tail +
                  (orderSql.empty() ? "" : " ORDER BY " + joinList(orderSql));
        return out;
    }
    const long long n = *c.top;
    if (!c.topPercent && keys->empty()) {
        out.sql = sql + joinList(list) + tail + " LIMIT " + std::to_string(n);
        return out;
    }
    // The ORDER BY keys travel as hidden columns so that ties can be found.
    std::vector<std::string> hiddenKeys;
    for (std::size_t i = 0; i < keys->size(); ++i) {
        const std::string name = "__k" + std::to_string(i + 1);
        list.push_back(withCollation((*keys)[i].first) + " AS " + quoteIdentifier(name));
        hiddenKeys.push_back(quoteIdentifier(name) + ((*keys)[i].second ? " DESC" : ""));
    }
    const std::string inner = sql + joinList(list) + tail;
    if (topLevel && !c.topPercent) {
        out.sql = inner + " ORDER BY " + joinList(hiddenKeys);
        out.hidden = static_cast<int>(keys->size());
        out.topWithTies = n;
        return out;
    }
    std::vector<std::string> visible;
    for (const auto& col : out.columns)
        visible.push_back(quoteIdentifier(col.name));
    const std::string window = keys->empty()
                                   ? "ROW_NUMBER() OVER ()"
                                   : "RANK() OVER (ORDER BY " + joinList(hiddenKeys) + ")";
    const std::string limit =
        c.topPercent ? "((\"__n\" * " + std::to_string(n) + " + 99) / 100)" : std::to_string(n);
    out.sql = "SELECT " + joinList(visible) + " FROM (SELECT *, " + window +
              " AS \"__r\", COUNT(*) OVER () AS \"__n\" FROM (" + inner +
              ")) WHERE \"__r\" <= " + limit +
              (hiddenKeys.empty() ? "" : " ORDER BY " + joinList(hiddenKeys));
    return out;
}

namespace {

std::string pivotName(const PivotValue& v, SqlType type) {
    if (v.isNull)
        return "<>";
    if (v.isText)
        return v.text;
    if (type == SqlType::Date)
        return generalDateText(v.number);
    if (type == SqlType::Boolean)
        return v.number != 0 ? "True" : "False";
    return doubleText(v.number);
}

std::string pivotLiteral(const PivotValue& v) {
    if (v.isText)
        return quoteText(v.text);
    return realText(v.number);
}

}  // namespace

Result<QueryOut> Translator::crosstab(const Statement& st) {
    const Crosstab& ct = *st.crosstab;
    const SelectCore& c = st.query->parts[0];
    for (const auto& item : c.items) {
        if (item.star)
            return semantic("Cannot use '*' in crosstab query.");
    }
    SelectCore rows = c;
    rows.orderBy.clear();
    Scope scope;
    std::string fromSql;
    if (Status s = buildFrom(c.from, scope, fromSql); !s)
        return s;
    std::vector<TxExpr> items;
    QueryOut out;
    if (Status s = selectItems(c, scope, items, out.columns); !s)
        return s;
    auto pivot = expr(*ct.pivot, scope);
    if (!pivot)
        return pivot.status();
    auto value = expr(*ct.value, scope);
    if (!value)
        return value.status();
    if (!value->aggregate)
        return semantic("The TRANSFORM expression must be an aggregate function.");
    std::string where;
    if (c.where) {
        auto w = expr(*c.where, scope);
        if (!w)
            return w.status();
        if (w->aggregate)
            return semantic("Cannot have aggregate function in WHERE clause (" + c.whereText +
                            ").");
        where = " WHERE " + w->truth();
    }
    std::vector<TxExpr> groups;
    std::vector<std::string> groupSql;
    for (const auto& g : c.groupBy) {
        auto t = expr(*g, scope);
        if (!t)
            return t.status();
        groups.push_back(*t);
        groupSql.push_back(withCollation(*t));
    }
    if (Status s = checkGrouping(c, items, groups, nullptr); !s)
        return s;

    std::vector<PivotValue> values;
    if (ct.hasIn) {
        for (const auto& e : ct.pivotIn) {
            PivotValue v;
            if (e->kind == ExprKind::String) {
                v.isText = true;
                v.text = e->text;
            } else if (e->kind == ExprKind::Number || e->kind == ExprKind::Date ||
                       e->kind == ExprKind::Boolean) {
                v.number = e->number;
            } else if (e->kind == ExprKind::Null) {
                v.isNull = true;
            } else {
                return semantic(
                    "Crosstab query contains one or more invalid fixed column headings.");
            }
            values.push_back(v);
        }
    } else {
        const std::string sql =
            "SELECT DISTINCT " + withCollation(*pivot) + " FROM " + fromSql + where + " ORDER BY 1";
        auto found = catalog_.pivotValues(sql, parameters_);
        if (!found)
            return found.status();
        values = *found;
    }
    if (values.size() + items.size() > kMaxCrosstabColumns) {
        return semantic("Too many crosstab column headers (" + std::to_string(values.size()) +
                        ").");
    }
    std::vector<std::string> list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        list.push_back(withCollation(items[i]) + " AS " + quoteIdentifier(out.columns[i].name));
    }
    for (const PivotValue& v : values) {
        const std::string filter =
            v.isNull ? "(" + pivot->value() + " IS NULL)"
                     : "(" + pivot->value() + " = " + pivotLiteral(v) +
                           (isTextType(pivot->type) || v.isText ? " COLLATE ACCESS)" : ")");
        pivotFilter_ = &filter;
        auto cell = expr(*ct.value, scope);
        pivotFilter_ = nullptr;
        if (!cell)
            return cell.status();
        const std::string name = ct.hasIn && !v.isText && !v.isNull
                                     ? ct.pivotIn[&v - &values[0]]->text
                                     : pivotName(v, pivot->type);
        list.push_back("(CASE WHEN count(CASE WHEN " + filter + " THEN 1 END) > 0 THEN " +
                       cell->value() + " END) AS " + quoteIdentifier(name));
        out.columns.push_back({name, value->type});
    }
    std::string sql = "SELECT " + joinList(list) + " FROM " + fromSql + where;
    if (!groupSql.empty())
        sql += " GROUP BY " + joinList(groupSql);
    auto keys = orderKeys(c.orderBy, rows, scope, items, out.columns);
    if (!keys)
        return keys.status();
    std::vector<std::string> orderSql;
    for (const auto& [k, desc] : *keys)
        orderSql.push_back(withCollation(k) + (desc ? " DESC" : ""));
    if (orderSql.empty())
        orderSql = groupSql;
    if (!orderSql.empty())
        sql += " ORDER BY " + joinList(orderSql);
    out.sql = sql;
    return out;
}

}  // namespace jet::sql
