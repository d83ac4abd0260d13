// Expression half of the translator: names, parameters, operators, Like,
// subqueries and function calls, each turned into SQLite text with its type.
#include <cmath>
#include <cstdio>

#include "jet/number_text.h"
#include "sql/complex_subfields.h"
#include "sql/function_registry.h"
#include "sql/parameter_names.h"
#include "sql/token.h"
#include "sql/translator.h"

namespace jet::sql {

namespace {

Status semantic(const std::string& message) {
    return Status(ErrorCode::Semantic, message);
}

std::string numberSql(double d) {
    std::string s = realText(d);
    if (s.find_first_of(".eEn") == std::string::npos)
        s += ".0";  // keep it a real in SQLite
    return s;
}

TxExpr literal(std::string sql, SqlType type) {
    TxExpr t;
    t.sql = std::move(sql);
    t.type = type;
    return t;
}

void mergeInfo(TxExpr& into, const TxExpr& from) {
    into.aggregate = into.aggregate || from.aggregate;
    into.freeRefs.insert(into.freeRefs.end(), from.freeRefs.begin(), from.freeRefs.end());
}

// The text form handed to text functions and '&': dates, Yes/No and Single
// values read as Access shows them.
std::string asText(const TxExpr& t) {
    const std::string v = t.value();
    switch (t.type) {
        case SqlType::Date:
            return "acc_text(" + v + ",'D')";
        case SqlType::Boolean:
            return "acc_text(" + v + ",'B')";
        case SqlType::Single:
            return "acc_text(" + v + ",'S')";
        default:
            return v;
    }
}

bool isStringLiteral(const Expr& e) {
    return e.kind == ExprKind::String;
}

SqlType commonType(SqlType a, SqlType b) {
    if (a == b)
        return a;
    if (a == SqlType::Null)
        return b;
    if (b == SqlType::Null)
        return a;
    if (isNumeric(a) && isNumeric(b))
        return widerNumeric(a, b);
    if (isTextType(a) && isTextType(b))
        return SqlType::Text;
    return SqlType::Variant;
}

std::string kindLetter(SqlType t) {
    if (t == SqlType::Date)
        return "'D'";
    if (t == SqlType::Boolean)
        return "'B'";
    return "'-'";
}

}  // namespace

Result<TxExpr> Translator::expr(const Expr& e, const Scope& scope) {
    switch (e.kind) {
        case ExprKind::Null:
            return literal("NULL", SqlType::Null);
        case ExprKind::Boolean:
            return literal(e.number != 0 ? "-1" : "0", SqlType::Boolean);
        case ExprKind::Number: {
            const bool whole = e.text.find_first_of(".eE") == std::string::npos;
            if (whole && e.number <= 2147483647.0) {
                return literal(e.text, e.number <= 32767 ? SqlType::Integer : SqlType::Long);
            }
            return literal(numberSql(e.number), SqlType::Double);
        }
        case ExprKind::String:
            return literal(quoteText(e.text), SqlType::Text);
        case ExprKind::Date:
            return literal(numberSql(e.number), SqlType::Date);
        case ExprKind::Name:
            return name(e, scope);
        case ExprKind::Star:
            return Status(ErrorCode::Syntax,
                          "'*' is only allowed in Count(*) and the select list.");
        case ExprKind::Unary: {
            auto inner = expr(*e.args[0], scope);
            if (!inner)
                return inner;
            TxExpr t = *inner;
            if (e.text == "NOT") {
                t.sql = "(NOT " + inner->truth() + ")";
                t.cond = true;
                t.type = SqlType::Boolean;
            } else {
                t.sql = "(-" + inner->value() + ")";
                t.cond = false;
                if (t.type == SqlType::Boolean)
                    t.type = SqlType::Integer;
            }
            return t;
        }
        case ExprKind::Binary:
            return binary(e, scope);
        case ExprKind::Call:
            return call(e, scope);
        case ExprKind::Subquery:
        case ExprKind::Exists:
        case ExprKind::InQuery:
        case ExprKind::Compare:
            return subquery(e, scope);
        default:
            return predicate(e, scope);
    }
}

TxExpr Translator::parameter(const std::string& written) {
    const std::string paramName = parameterName(written);
    std::size_t index = 0;
    while (index < parameters_.size() && !namesEqual(parameters_[index].name, paramName))
        ++index;
    if (index == parameters_.size())
        parameters_.push_back({paramName, "", SqlType::Variant, false});
    SqlType t = parameters_[index].type;
    if (t == SqlType::Variant)
        t = SqlType::Variant;
    TxExpr out = literal("?" + std::to_string(index + 1), t);
    out.undeclaredParameter = !parameters_[index].declared;
    return out;
}

Result<TxExpr> Translator::name(const Expr& e, const Scope& scope) {
    // A form or report reference is a parameter, never a field that
    // happens to share the last part's name.
    if (e.parts.size() > 2 && isFormOrReport(e.parts[0]))
        return parameter(referenceName(e.parts));
    const std::string field = e.parts.back();
    for (const Scope* s = &scope; s; s = s->outer) {
        const ScopeSource* found = nullptr;
        const CatalogColumn* column = nullptr;
        for (const ScopeSource& src : s->sources) {
            if (e.parts.size() == 2 && !namesEqual(src.name, e.parts[0]))
                continue;
            for (const CatalogColumn& c : src.columns) {
                if (!namesEqual(c.name, field))
                    continue;
                if (found && found != &src) {
                    return semantic("The specified field '" + field +
                                    "' could refer to more than one table listed in the FROM "
                                    "clause of your SQL "
                                    "statement.");
                }
                found = &src;
                column = &c;
            }
        }
        if (found) {
            TxExpr t = literal(found->sqlAlias + "." + quoteIdentifier(column->name), column->type);
            t.freeRefs.push_back(t.sql);
            return t;
        }
        if (e.parts.size() == 1 && s->aliasesVisible) {
            for (const auto& [alias, tx] : s->aliases) {
                if (!namesEqual(alias, field))
                    continue;
                TxExpr t = tx;
                t.sql = "(" + tx.sql + ")";
                return t;
            }
        }
    }
    if (auto sub = subfieldReference(e, scope))
        return *sub;
    if (e.parts.size() > 2 || (e.parts.size() == 2 && isFormOrReport(e.parts[0])))
        return parameter(referenceName(e.parts));
    return parameter(e.parts.size() == 2 ? e.parts[0] + "." + e.parts[1] : field);
}

// T.Att.FileName or Att.FileName (likewise T.MV.Value): a subfield of a
// complex column, read from the table's hidden column "Att.FileName".
std::optional<TxExpr> Translator::subfieldReference(const Expr& e, const Scope& scope) {
    const std::size_t n = e.parts.size();
    if (n != 2 && n != 3)
        return std::nullopt;
    const std::optional<Subfield> subfield = subfieldNamed(e.parts[n - 1]);
    if (!subfield)
        return std::nullopt;
    for (const Scope* s = &scope; s; s = s->outer) {
        for (const ScopeSource& src : s->sources) {
            if (n == 3 && !namesEqual(src.name, e.parts[0]))
                continue;
            for (const CatalogColumn& c : src.columns) {
                if (!c.complex || !namesEqual(c.name, e.parts[n - 2]))
                    continue;
                TxExpr t = literal(
                    src.sqlAlias + "." + quoteIdentifier(c.name + "." + subfieldName(*subfield)),
                    subfieldType(*subfield));
                t.freeRefs.push_back(t.sql);
                return t;
            }
        }
    }
    return std::nullopt;
}

Result<std::vector<TxExpr>> Translator::args(const Expr& e, const Scope& scope) {
    std::vector<TxExpr> out;
    for (const auto& a : e.args) {
        auto t = expr(*a, scope);
        if (!t)
            return t.status();
        out.push_back(*t);
    }
    return out;
}

Result<TxExpr> Translator::binary(const Expr& e, const Scope& scope) {
    const std::string op = asciiUpper(e.text);
    if (op == "&") {
        // a & b & c becomes one acc_concat call: Null counts as "" unless all are Null
        std::vector<const Expr*> operands;
        std::vector<const Expr*> stack = {&e};
        while (!stack.empty()) {
            const Expr* x = stack.back();
            stack.pop_back();
            if (x->kind == ExprKind::Binary && x->text == "&") {
                stack.push_back(x->args[1].get());
                stack.push_back(x->args[0].get());
            } else {
                operands.push_back(x);
            }
        }
        TxExpr out = literal("acc_concat(", SqlType::Text);
        for (std::size_t i = 0; i < operands.size(); ++i) {
            auto t = expr(*operands[i], scope);
            if (!t)
                return t;
            out.sql += (i ? "," : "") + asText(*t);
            mergeInfo(out, *t);
        }
        out.sql += ")";
        return out;
    }
    if (op == "AND" || op == "OR")
        return logicalChain(e, op, scope);
    if (op == "+" || op == "-" || op == "*")
        return arithmeticChain(e, scope);
    auto a = expr(*e.args[0], scope);
    if (!a)
        return a;
    auto b = expr(*e.args[1], scope);
    if (!b)
        return b;
    if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
        return comparison(op, *a, *b, e);
    }
    if (op == "AND" || op == "OR" || op == "XOR" || op == "EQV" || op == "IMP") {
        TxExpr t = literal("", SqlType::Boolean);
        t.cond = true;
        if (op == "XOR")
            t.sql = "(" + a->truth() + " <> " + b->truth() + ")";
        else if (op == "EQV")
            t.sql = "(" + a->truth() + " = " + b->truth() + ")";
        else
            t.sql = "((NOT " + a->truth() + ") OR " + b->truth() + ")";
        mergeInfo(t, *a);
        mergeInfo(t, *b);
        return t;
    }
    return arithmetic(op, *a, *b);
}

namespace {

// The binary nodes of the left spine of `e` whose operator `inChain` accepts,
// outermost first.
std::vector<const Expr*> leftSpine(const Expr& e, bool (*inChain)(const Expr&)) {
    std::vector<const Expr*> spine;
    for (const Expr* x = &e; x->kind == ExprKind::Binary && inChain(*x); x = x->args[0].get())
        spine.push_back(x);
    return spine;
}

bool isAnd(const Expr& x) {
    return asciiUpper(x.text) == "AND";
}
bool isOr(const Expr& x) {
    return asciiUpper(x.text) == "OR";
}
bool isAdditive(const Expr& x) {
    return x.text == "+" || x.text == "-";
}
bool isProduct(const Expr& x) {
    return x.text == "*";
}

}  // namespace

Result<TxExpr> Translator::logicalChain(const Expr& e, const std::string& op, const Scope& scope) {
    const std::vector<const Expr*> spine = leftSpine(e, op == "AND" ? isAnd : isOr);
    TxExpr t = literal("(", SqlType::Boolean);
    t.cond = true;
    for (size_t i = 0; i <= spine.size(); ++i) {
        const Expr& operand = i == 0 ? *spine.back()->args[0] : *spine[spine.size() - i]->args[1];
        auto x = expr(operand, scope);
        if (!x)
            return x;
        t.sql += (i ? " " + op + " " : "") + x->truth();
        mergeInfo(t, *x);
    }
    t.sql += ")";
    return t;
}

Result<TxExpr> Translator::arithmeticChain(const Expr& e, const Scope& scope) {
    const std::vector<const Expr*> spine = leftSpine(e, isAdditive(e) ? isAdditive : isProduct);
    auto first = expr(*spine.back()->args[0], scope);
    if (!first)
        return first;
    TxExpr t = std::move(first.value());
    bool flat = false;  // t.sql is "(" a chain of infix steps ")" written here
    for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
        auto b = expr(*(*it)->args[1], scope);
        if (!b)
            return b;
        auto r = arithmetic((*it)->text, t, *b);
        if (!r)
            return r;
        // An infix step "(<t> op y)" on a flat chain drops the inner parentheses.
        const bool infix = r->sql.size() > t.sql.size() + 2 && r->sql[0] == '(' &&
                           r->sql.compare(1, t.sql.size(), t.sql) == 0 &&
                           r->sql[t.sql.size() + 1] == ' ';
        if (flat && infix)
            r->sql = "(" + t.sql.substr(1, t.sql.size() - 2) + r->sql.substr(t.sql.size() + 1);
        flat = infix;
        t = std::move(r.value());
    }
    return t;
}

Result<TxExpr> Translator::arithmetic(const std::string& op, const TxExpr& a, const TxExpr& b) {
    TxExpr t;
    mergeInfo(t, a);
    mergeInfo(t, b);
    const std::string x = a.value(), y = b.value();
    const bool numA = isNumeric(a.type) || a.type == SqlType::Date || a.type == SqlType::Null;
    const bool numB = isNumeric(b.type) || b.type == SqlType::Date || b.type == SqlType::Null;
    if (op == "+") {
        if (numA && numB) {
            t.sql = "(" + x + " + " + y + ")";
            if (a.type == SqlType::Date || b.type == SqlType::Date)
                t.type = SqlType::Date;
            else
                t.type = widerNumeric(a.type, b.type);
        } else if (isTextType(a.type) && isTextType(b.type)) {
            t.sql = "(" + x + " || " + y + ")";
            t.type = SqlType::Text;
        } else {
            t.sql = "acc_add(" + x + "," + y + ")";
            t.type = SqlType::Variant;
        }
    } else if (op == "-" || op == "*") {
        t.sql = "(" + x + " " + op + " " + y + ")";
        t.type = widerNumeric(a.type, b.type);
        if (op == "-" && a.type == SqlType::Date)
            t.type = b.type == SqlType::Date ? SqlType::Double : SqlType::Date;
        if (t.type == SqlType::Variant)
            t.type = SqlType::Double;
    } else if (op == "/") {
        t.sql = "acc_div(" + x + "," + y + ")";
        t.type = SqlType::Double;
    } else if (op == "\\" || op == "MOD") {
        t.sql = std::string(op == "MOD" ? "acc_mod(" : "acc_idiv(") + x + "," + y + ")";
        t.type = SqlType::Long;
    } else if (op == "^") {
        t.sql = "acc_pow(" + x + "," + y + ")";
        t.type = SqlType::Double;
    } else {
        return Status(ErrorCode::Syntax, "Unknown operator '" + op + "'.");
    }
    if (t.type == SqlType::Boolean)
        t.type = SqlType::Integer;
    return t;
}

namespace {

// An undeclared parameter holds text. Met by a date or a number it converts
// as Access converts a Variant ("5/1/1996" against a date column is that
// date), and text that cannot convert is a type mismatch.
TxExpr metBy(const TxExpr& side, const TxExpr& other) {
    if (!side.undeclaredParameter || other.aggregate)
        return side;
    TxExpr t = side;
    if (other.type == SqlType::Date) {
        t.sql = "acc_param_date(" + side.sql + ")";
        t.type = SqlType::Date;
    } else if (isNumeric(other.type)) {
        t.sql = "acc_param_number(" + side.sql + ")";
        t.type = SqlType::Double;
    }
    return t;
}

}  // namespace

Result<TxExpr> Translator::comparison(const std::string& op, const TxExpr& a, const TxExpr& b,
                                      const Expr& e) {
    auto mismatch = [](const TxExpr& side, const Expr& lit) {
        // aggregates are checked for their place first (WHERE refuses them)
        const bool typed = (isNumeric(side.type) || side.type == SqlType::Date) && !side.aggregate;
        return typed && isStringLiteral(lit);
    };
    if (mismatch(a, *e.args[1]) || mismatch(b, *e.args[0])) {
        return semantic("Data type mismatch in criteria expression.");
    }
    TxExpr t = literal("", SqlType::Boolean);
    t.cond = true;
    const bool text = isTextType(a.type) || isTextType(b.type);
    t.sql = "(" + metBy(a, b).value() + " " + op + " " + metBy(b, a).value() +
            (text ? " COLLATE ACCESS)" : ")");
    mergeInfo(t, a);
    mergeInfo(t, b);
    return t;
}

Result<TxExpr> Translator::predicate(const Expr& e, const Scope& scope) {
    auto all = args(e, scope);
    if (!all)
        return all.status();
    const std::vector<TxExpr>& a = *all;
    TxExpr t = literal("", SqlType::Boolean);
    t.cond = true;
    for (const auto& x : a)
        mergeInfo(t, x);
    const bool text = isTextType(a[0].type);
    const std::string coll = text ? " COLLATE ACCESS" : "";
    switch (e.kind) {
        case ExprKind::Like:
            t.sql = "acc_like(" + asText(a[0]) + "," + a[1].value() + ")";
            break;
        case ExprKind::Between:
            t.sql = "(" + a[0].value() + coll + " BETWEEN " + metBy(a[1], a[0]).value() + " AND " +
                    metBy(a[2], a[0]).value() + ")";
            break;
        case ExprKind::InList: {
            t.sql = "(" + a[0].value() + coll + " IN (";
            for (std::size_t i = 1; i < a.size(); ++i)
                t.sql += (i > 1 ? "," : "") + metBy(a[i], a[0]).value();
            t.sql += "))";
            break;
        }
        case ExprKind::IsNull:
            t.sql = "(" + a[0].value() + (e.negated ? " IS NOT NULL)" : " IS NULL)");
            return t;
        default:
            return Status(ErrorCode::Syntax, "Unsupported expression.");
    }
    if (e.negated)
        t.sql = "(NOT " + t.sql + ")";
    return t;
}

Result<TxExpr> Translator::subquery(const Expr& e, const Scope& scope) {
    auto sub = query(*e.query, &scope, false);
    if (!sub)
        return sub.status();
    TxExpr t = literal("", SqlType::Boolean);
    t.cond = true;
    if (e.kind == ExprKind::Exists) {
        t.sql = std::string(e.negated ? "(NOT EXISTS (" : "(EXISTS (") + sub->sql + "))";
        return t;
    }
    if (sub->columns.size() != 1) {
        return semantic(
            "You have written a subquery that can return more than one field without using the "
            "EXISTS "
            "reserved word in the main query's FROM clause. Revise the SELECT statement of the "
            "subquery "
            "to request only one field.");
    }
    if (e.kind == ExprKind::Subquery) {
        // SQLite would take the first row; Access refuses a second one.
        t.sql = "(SELECT acc_single(q." + quoteIdentifier(sub->columns[0].name) + ") FROM (" +
                sub->sql + ") AS q)";
        t.cond = false;
        t.type = sub->columns[0].type;
        return t;
    }
    auto left = expr(*e.args[0], scope);
    if (!left)
        return left;
    mergeInfo(t, *left);
    const std::string coll = isTextType(left->type) ? " COLLATE ACCESS" : "";
    if (e.kind == ExprKind::InQuery) {
        t.sql = "(" + left->value() + coll + (e.negated ? " NOT IN (" : " IN (") + sub->sql + "))";
        return t;
    }
    const std::string col = "q." + quoteIdentifier(sub->columns[0].name);
    const std::string test = "(" + left->value() + " " + e.text + " " + col + coll + ")";
    if (e.quantifier == "ALL") {
        t.sql = "(NOT EXISTS (SELECT 1 FROM (" + sub->sql + ") AS q WHERE NOT " + test + "))";
    } else {
        t.sql = "(EXISTS (SELECT 1 FROM (" + sub->sql + ") AS q WHERE " + test + "))";
    }
    return t;
}

Result<TxExpr> Translator::call(const Expr& e, const Scope& scope) {
    const FunctionInfo* f = findFunction(e.text);
    if (!f)
        return semantic("Undefined function '" + e.text + "' in expression.");
    const int n = static_cast<int>(e.args.size());
    if (n < f->minArgs || n > f->maxArgs) {
        return Status(
            ErrorCode::Syntax,
            "Wrong number of arguments used with function in query expression '" + e.text + "'.");
    }
    if (f->rule == ResultRule::Aggregate)
        return aggregate(e, scope);
    auto all = args(e, scope);
    if (!all)
        return all.status();
    if (f->rule == ResultRule::Special)
        return special(e, scope, *all);
    TxExpr t = literal(std::string(f->sqlName) + "(", f->type);
    for (int i = 0; i < n; ++i) {
        const TxExpr& a = (*all)[i];
        const bool wantsText = i < static_cast<int>(std::char_traits<char>::length(f->textArgs)) &&
                               f->textArgs[i] == 'T';
        t.sql += (i ? "," : "") + (wantsText ? asText(a) : a.value());
        mergeInfo(t, a);
    }
    t.sql += ")";
    if (f->rule == ResultRule::FirstArg) {
        const SqlType at = (*all)[0].type;
        t.type = (isNumeric(at) || at == SqlType::Date)
                     ? (at == SqlType::Boolean ? SqlType::Integer : at)
                     : SqlType::Double;
    }
    if (e.text == "ISNUMERIC" && (*all)[0].type == SqlType::Date)
        t.sql = "0";
    return t;
}

Result<TxExpr> Translator::special(const Expr& e, const Scope&, std::vector<TxExpr>& a) {
    TxExpr t;
    for (const auto& x : a)
        mergeInfo(t, x);
    const std::string& fn = e.text;
    if (fn == "IIF") {
        t.sql = "(CASE WHEN " + a[0].truth() + " THEN " + a[1].value() + " ELSE " + a[2].value() +
                " END)";
        t.type = commonType(a[1].type, a[2].type);
    } else if (fn == "NZ") {
        // Without a second argument Access's Nz gives "" in a query, whatever
        // the type (a Null date is not 12/30/1899).
        t.sql = "coalesce(" + a[0].value() + "," + (a.size() > 1 ? a[1].value() : "''") + ")";
        t.type = a.size() > 1 ? commonType(a[0].type, a[1].type) : a[0].type;
    } else if (fn == "ISNULL") {
        t.sql = "(" + a[0].value() + " IS NULL)";
        t.cond = true;
        t.type = SqlType::Boolean;
    } else if (fn == "SWITCH") {
        if (a.size() % 2)
            return Status(ErrorCode::Semantic,
                          "Invalid procedure call or argument: Switch needs pairs of arguments.");
        t.sql = "(CASE";
        t.type = SqlType::Null;
        for (std::size_t i = 0; i < a.size(); i += 2) {
            t.sql += " WHEN " + a[i].truth() + " THEN " + a[i + 1].value();
            t.type = commonType(t.type, a[i + 1].type);
        }
        t.sql += " END)";
    } else if (fn == "CHOOSE") {
        t.sql = "(CASE acc_round(" + a[0].value() + ")";
        t.type = SqlType::Null;
        for (std::size_t i = 1; i < a.size(); ++i) {
            t.sql += " WHEN " + std::to_string(i) + " THEN " + a[i].value();
            t.type = commonType(t.type, a[i].type);
        }
        t.sql += " END)";
    } else {  // FORMAT
        t.sql = "acc_format(" + a[0].value() + "," + kindLetter(a[0].type);
        for (std::size_t i = 1; i < a.size(); ++i)
            t.sql += "," + a[i].value();
        t.sql += ")";
        t.type = SqlType::Text;
    }
    if (t.type == SqlType::Null && fn != "ISNULL")
        t.type = SqlType::Variant;
    return t;
}

Result<TxExpr> Translator::aggregate(const Expr& e, const Scope& scope) {
    if (inAggregate_)
        return Status(ErrorCode::Semantic,
                      "Cannot have aggregate function in expression (" + e.text + ").");
    const FunctionInfo* f = findFunction(e.text);
    TxExpr t;
    t.aggregate = true;
    if (e.args[0]->kind == ExprKind::Star) {
        if (e.text != "COUNT")
            return Status(ErrorCode::Syntax, "'*' is only allowed in Count(*).");
        t.sql = pivotFilter_ ? "count(CASE WHEN " + *pivotFilter_ + " THEN 1 END)" : "count(*)";
        t.type = SqlType::Long;
        return t;
    }
    inAggregate_ = true;
    auto arg = expr(*e.args[0], scope);
    inAggregate_ = false;
    if (!arg)
        return arg;
    std::string inner = arg->value();
    if (pivotFilter_)
        inner = "CASE WHEN " + *pivotFilter_ + " THEN " + inner + " END";
    if ((e.text == "MIN" || e.text == "MAX") && isTextType(arg->type))
        inner += " COLLATE ACCESS";
    const bool exactCurrency = e.text == "SUM" && arg->type == SqlType::Currency;
    t.sql = std::string(exactCurrency ? "acc_sum_currency" : f->sqlName) + "(" + inner + ")";
    t.type = aggregateType(e.text, arg->type);
    if (t.type == SqlType::Null)
        t.type = SqlType::Variant;
    return t;
}

}  // namespace jet::sql
