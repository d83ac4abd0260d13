// The parsed form of an Access SQL statement: expressions, SELECT cores,
// UNION chains, crosstabs and the PARAMETERS declaration.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace jet::sql {

struct Query;

enum class ExprKind {
    Null,
    Boolean,  // number = -1 or 0
    Number,   // text holds the literal as written
    String,
    Date,      // number holds the serial
    Name,      // parts: qualified name, e.g. {"Orders", "Amount"}
    Star,      // Count(*) argument
    Unary,     // op: "-", "+", "NOT"
    Binary,    // op: + - * / \ MOD ^ & = <> < > <= >= AND OR XOR EQV IMP
    Like,      // args: value, pattern; negated
    Between,   // args: value, low, high; negated
    InList,    // args: value, items...; negated
    InQuery,   // args: value; query; negated
    Exists,    // query; negated
    Compare,   // quantified: args: value; op, quantifier "ANY"/"ALL"; query
    IsNull,    // args: value; negated
    Call,      // name: function; args
    Subquery,  // scalar subquery
};

struct Expr;
using ExprPtr = std::shared_ptr<Expr>;

struct Expr {
    ExprKind kind = ExprKind::Null;
    std::size_t pos = 0;  // where the expression starts in the statement
    std::string text;     // literal text, operator or function name (upper-cased)
    double number = 0;
    std::vector<std::string> parts;
    std::vector<ExprPtr> args;
    std::shared_ptr<Query> query;
    bool negated = false;
    std::string quantifier;
};

struct SelectItem {
    ExprPtr expr;           // null for * and t.*
    std::string alias;      // as written after AS
    std::string starTable;  // for t.*; empty for a bare *
    bool star = false;
    std::string sourceText;  // the expression as written, for messages
};

enum class JoinKind { Inner, Left, Right };

struct FromItem;
using FromPtr = std::shared_ptr<FromItem>;

struct FromItem {
    enum class Kind { Table, Derived, Join } kind = Kind::Table;
    std::size_t pos = 0;
    std::string name;   // table or saved query
    std::string alias;  // empty: the name itself
    std::shared_ptr<Query> query;
    JoinKind join = JoinKind::Inner;
    FromPtr left, right;
    ExprPtr on;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

enum class Distinct { All, Distinct, DistinctRow };

struct SelectCore {
    std::size_t pos = 0;
    Distinct distinct = Distinct::All;
    std::optional<long long> top;
    bool topPercent = false;
    std::vector<SelectItem> items;
    std::vector<FromPtr> from;
    ExprPtr where;
    std::string whereText;  // as written, for messages
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;
    std::string tableName;  // "TABLE name" or a bare query name in a union
    // FROM ... IN 'path' [connect]: the Access file every table of the FROM
    // clause comes from; empty for the current database.
    std::string externalPath;
    std::string externalPassword;
};

// A SELECT or a UNION chain; `all[i]` says how part i+1 joins the parts before it.
struct Query {
    std::vector<SelectCore> parts;
    std::vector<bool> all;
    std::vector<OrderItem> orderBy;  // for a union: sorts the whole chain
};

struct ParameterDecl {
    std::string name;
    std::string typeName;
};

struct Crosstab {
    ExprPtr value;  // the TRANSFORM aggregate
    std::string valueAlias;
    ExprPtr pivot;
    std::vector<ExprPtr> pivotIn;
    bool hasIn = false;
};

struct Statement {
    std::vector<ParameterDecl> parameters;
    std::shared_ptr<Query> query;
    std::optional<Crosstab> crosstab;
};

}  // namespace jet::sql
