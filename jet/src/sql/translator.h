// Translates a parsed Access statement into one SQLite SELECT over the
// database's virtual tables, keeping Access's names, types and rules:
// parameters for unknown names, TOP with ties, crosstab columns, saved
// queries used as tables.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "jet/status.h"
#include "sql/ast.h"
#include "sql/sql_catalog.h"

namespace jet::sql {

struct OutputColumn {
    std::string name;
    SqlType type = SqlType::Variant;
};

struct Translation {
    std::string sql;
    std::vector<OutputColumn> columns;     // the visible columns
    int hiddenColumns = 0;                 // trailing ORDER BY keys used to find ties
    std::vector<ParameterRef> parameters;  // ?1, ?2, ... in this order
    // TOP n of the outermost SELECT when it has an ORDER BY: the reader reads
    // n rows, then further rows while their keys tie with the n-th.
    std::optional<long long> topWithTies;
};

Result<Translation> translate(const Statement& statement, SqlCatalog& catalog);

// What a translated expression is: SQL text, static type and whether it is
// an SQLite truth value (1/0/Null) rather than an Access value (-1/0/Null).
struct TxExpr {
    std::string sql;
    SqlType type = SqlType::Variant;
    bool cond = false;
    bool aggregate = false;
    std::vector<std::string> freeRefs;  // column references outside aggregates
    bool undeclaredParameter = false;   // holds the text the user gave
    std::string value() const { return cond ? "(-(" + sql + "))" : sql; }
    std::string truth() const { return cond ? sql : "(" + sql + " <> 0)"; }
};

struct ScopeSource {
    std::string name;      // the Access name or alias used to qualify fields
    std::string sqlAlias;  // quoted SQLite alias
    std::vector<CatalogColumn> columns;
    bool isTable = false;              // a stored table (has a rowid)
    const TableDef* stored = nullptr;  // as CatalogTable::stored
};

struct Scope {
    std::vector<ScopeSource> sources;
    const Scope* outer = nullptr;
    // select-list aliases visible to later items and ORDER BY
    std::vector<std::pair<std::string, TxExpr>> aliases;
    bool aliasesVisible = false;
};

struct QueryOut {
    std::string sql;
    std::vector<OutputColumn> columns;
    int hidden = 0;
    std::optional<long long> topWithTies;
};

class Translator {
  public:
    explicit Translator(SqlCatalog& catalog) : catalog_(catalog) {}
    Result<Translation> run(const Statement& st);

    // Expressions (translate_expressions.cpp)
    Result<TxExpr> expr(const Expr& e, const Scope& scope);

  private:
    Result<QueryOut> query(const Query& q, const Scope* outer, bool topLevel);
    Result<QueryOut> unionQuery(const Query& q, const Scope* outer);
    Result<QueryOut> core(const SelectCore& c, const Scope* outer, bool topLevel);
    Result<QueryOut> crosstab(const Statement& st);
    Status buildFrom(const std::vector<FromPtr>& from, Scope& scope, std::string& sql);
    Result<std::string> fromItem(const FromItem& item, Scope& scope);
    Result<ScopeSource> namedSource(const std::string& name, const std::string& alias,
                                    std::string& sql);
    Status selectItems(const SelectCore& c, Scope& scope, std::vector<TxExpr>& items,
                       std::vector<OutputColumn>& columns);
    Status checkGrouping(const SelectCore& c, const std::vector<TxExpr>& items,
                         const std::vector<TxExpr>& groups, const TxExpr* having);
    Result<std::vector<std::pair<TxExpr, bool>>> orderKeys(
        const std::vector<OrderItem>& order, const SelectCore& c, Scope& scope,
        const std::vector<TxExpr>& items, const std::vector<OutputColumn>& columns);
    std::string newAlias();

    // Expression helpers
    Result<TxExpr> name(const Expr& e, const Scope& scope);
    std::optional<TxExpr> subfieldReference(const Expr& e, const Scope& scope);
    Result<TxExpr> call(const Expr& e, const Scope& scope);
    Result<TxExpr> special(const Expr& e, const Scope& scope, std::vector<TxExpr>& args);
    Result<TxExpr> aggregate(const Expr& e, const Scope& scope);
    Result<TxExpr> binary(const Expr& e, const Scope& scope);
    // Left-leaning chains of AND, OR, of + and -, or of *: translated
    // without recursion and written flat ("(a OR b OR c)"), so that long
    // chains nest neither this translator nor SQLite's parser.
    Result<TxExpr> logicalChain(const Expr& e, const std::string& op, const Scope& scope);
    Result<TxExpr> arithmeticChain(const Expr& e, const Scope& scope);
    Result<TxExpr> arithmetic(const std::string& op, const TxExpr& a, const TxExpr& b);
    Result<TxExpr> comparison(const std::string& op, const TxExpr& a, const TxExpr& b,
                              const Expr& e);
    Result<TxExpr> predicate(const Expr& e, const Scope& scope);
    Result<TxExpr> subquery(const Expr& e, const Scope& scope);
    Result<std::vector<TxExpr>> args(const Expr& e, const Scope& scope);
    TxExpr parameter(const std::string& name);
    Result<QueryOut> savedQuery(const std::string& name, const CatalogQuery& q);

    SqlCatalog& catalog_;
    std::vector<ParameterRef> parameters_;
    int aliasCounter_ = 0;
    std::vector<std::string> queryStack_;  // saved queries being expanded
    bool inAggregate_ = false;
    const std::string* pivotFilter_ =
        nullptr;  // crosstab cell: aggregates see only this pivot value
    const Statement* statement_ = nullptr;
    // FROM ... IN 'path': the file the tables of the FROM being built come from
    std::string externalPath_;
    std::string externalPassword_;
};

std::string quoteIdentifier(const std::string& name);
std::string quoteText(const std::string& text);
bool namesEqual(const std::string& a, const std::string& b);

}  // namespace jet::sql
