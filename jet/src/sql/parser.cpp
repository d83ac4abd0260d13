#include "sql/parser.h"

#include <cstdlib>
#include <set>

#include "jet/number_text.h"
#include "sql/lexer.h"
#include "sql/parameter_names.h"
#include "sql/parser_internal.h"
#include "sql/query_limits.h"

namespace jet::sql {

const char* const kActionQueryMessage =
    "Cannot open an action query as a record set: this program only reads table data.";

namespace {

const std::set<std::string> kReserved = {
    "SELECT",    "FROM",   "WHERE",    "GROUP",       "BY",   "HAVING",  "ORDER", "AS",
    "ON",        "AND",    "OR",       "XOR",         "EQV",  "IMP",     "NOT",   "LIKE",
    "BETWEEN",   "IN",     "IS",       "UNION",       "ALL",  "INNER",   "LEFT",  "RIGHT",
    "JOIN",      "OUTER",  "DISTINCT", "DISTINCTROW", "TOP",  "PERCENT", "MOD",   "PIVOT",
    "TRANSFORM", "INTO",   "WITH",     "PARAMETERS",  "ASC",  "DESC",    "NULL",  "TRUE",
    "FALSE",     "EXISTS", "ANY",      "SOME",        "FULL", "CROSS",   "TABLE"};

}  // namespace

bool Parser::isReservedWord(const std::string& upperWord) {
    return kReserved.count(upperWord) != 0;
}

bool isReservedWord(const std::string& upperWord) {
    return kReserved.count(upperWord) != 0;
}

Result<Statement> Parser::statement() {
    Statement st;
    if (peek().isWord("PARAMETERS")) {
        if (!parameters(st))
            return failure();
    }
    Status refused = refuseAction();
    if (!refused)
        return refused;
    if (peek().isWord("TRANSFORM")) {
        if (!crosstab(st))
            return failure();
    } else {
        auto q = queryChain(false);
        if (!q)
            return failure();
        st.query = q;
    }
    if (peek().isSymbol(";"))
        advance();
    if (peek().kind != TokenKind::End) {
        return Status(ErrorCode::Syntax,
                      "Characters found after end of SQL statement" + near(peek()));
    }
    return st;
}

Result<ExprPtr> Parser::lone() {
    clause_ = "query expression";
    auto e = expr();
    if (!e)
        return failure();
    if (peek().kind != TokenKind::End)
        return fail("Syntax error (missing operator) in query expression");
    return e;
}

Status Parser::failure() {
    if (error_.isOk())
        error_ = Status(ErrorCode::Syntax, "Syntax error" + near(peek()));
    return error_;
}

std::string Parser::near(const Token& tok) {
    if (tok.kind == TokenKind::End)
        return " at the end of the statement.";
    std::string word = tok.text;
    if (tok.kind == TokenKind::Bracketed)
        word = "[" + word + "]";
    if (tok.kind == TokenKind::String)
        word = "\"" + word + "\"";
    if (tok.kind == TokenKind::Date)
        word = "#" + word + "#";
    return " near '" + word + "' at character " + std::to_string(tok.pos) + ".";
}

std::nullptr_t Parser::tooDeep() {
    if (error_.isOk())
        error_ = tooComplex();
    return nullptr;
}

Status Parser::fail(const std::string& what) {
    if (error_.isOk())
        error_ = Status(ErrorCode::Syntax, what + near(peek()));
    return error_;
}

bool Parser::expectSymbol(const char* s) {
    if (acceptSymbol(s))
        return true;
    (void)fail(std::string("Syntax error in ") + clause_ + ": expected '" + s + "'");
    return false;
}

Status Parser::refuseAction() {
    static const char* actions[] = {"INSERT", "UPDATE", "DELETE", "CREATE",  "ALTER",
                                    "DROP",   "GRANT",  "REVOKE", "EXECUTE", "PROCEDURE"};
    for (const char* a : actions) {
        if (peek().isWord(a))
            return Status(ErrorCode::ReadOnly, kActionQueryMessage);
    }
    if (!peek().isWord("SELECT") && !peek().isWord("TRANSFORM") && !peek().isWord("TABLE") &&
        !peek().isSymbol("(")) {
        return Status(ErrorCode::Syntax,
                      "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', "
                      "'SELECT', or 'UPDATE'" +
                          near(peek()));
    }
    return Status::ok();
}

bool Parser::parameters(Statement& st) {
    advance();
    clause_ = "PARAMETER clause";
    do {
        const Token& name = advance();
        if (name.kind != TokenKind::Bracketed && name.kind != TokenKind::Word) {
            --i_;
            return (void)fail("Syntax error in PARAMETER clause"), false;
        }
        std::vector<std::string> parts{name.text};
        while ((peek().isSymbol("!") || peek().isSymbol(".")) && isName(peek(1))) {
            advance();
            parts.push_back(advance().text);
        }
        ParameterDecl d{parameterName(name.text), ""};
        if (parts.size() > 2 || (parts.size() == 2 && isFormOrReport(parts[0])))
            d.name = referenceName(parts);
        else if (parts.size() == 2)
            d.name = parts[0] + "." + parts[1];
        while (!peek().isSymbol(",") && !peek().isSymbol(";") && peek().kind != TokenKind::End) {
            if (!d.typeName.empty() && !peek().isSymbol("(") && !peek().isSymbol(")"))
                d.typeName += " ";
            d.typeName += advance().text;
        }
        if (d.typeName.empty())
            return (void)fail("Syntax error in PARAMETER clause"), false;
        st.parameters.push_back(d);
    } while (acceptSymbol(","));
    if (!acceptSymbol(";"))
        return (void)fail("Syntax error in PARAMETER clause: expected ';'"), false;
    return true;
}

bool Parser::crosstab(Statement& st) {
    advance();
    clause_ = "TRANSFORM statement";
    Crosstab ct;
    ct.value = expr();
    if (!ct.value)
        return false;
    if (acceptWord("AS"))
        ct.valueAlias = advance().text;
    if (!peek().isWord("SELECT"))
        return (void)fail("Syntax error in TRANSFORM statement"), false;
    auto q = std::make_shared<Query>();
    SelectCore core;
    if (!select(core, true))
        return false;
    q->parts.push_back(std::move(core));
    if (!acceptWord("PIVOT"))
        return (void)fail("Syntax error in TRANSFORM statement: expected PIVOT"), false;
    clause_ = "TRANSFORM statement";
    ct.pivot = concat();  // IN after the pivot lists the columns
    if (!ct.pivot)
        return false;
    if (acceptWord("IN")) {
        ct.hasIn = true;
        if (!expectSymbol("("))
            return false;
        do {
            auto v = expr();
            if (!v)
                return false;
            ct.pivotIn.push_back(v);
        } while (acceptSymbol(","));
        if (!expectSymbol(")"))
            return false;
    }
    st.query = q;
    st.crosstab = std::move(ct);
    return true;
}

std::shared_ptr<Query> Parser::queryChain(bool nested) {
    auto q = std::make_shared<Query>();
    while (true) {
        SelectCore core;
        if (!selectTerm(core))
            return nullptr;
        q->parts.push_back(std::move(core));
        // Access may store the first part of a union with its own ';'
        if (peek().isSymbol(";") && peek(1).isWord("UNION"))
            advance();
        if (!acceptWord("UNION"))
            break;
        q->all.push_back(acceptWord("ALL"));
    }
    if (q->parts.size() > 1 && q->parts.back().orderBy.empty() && acceptWord("ORDER")) {
        clause_ = "ORDER BY clause";
        if (!acceptWord("BY"))
            return failNull("Syntax error in ORDER BY clause");
        do {
            OrderItem o;
            if (!(o.expr = expr()))
                return nullptr;
            if (acceptWord("DESC"))
                o.descending = true;
            else
                acceptWord("ASC");
            q->parts.back().orderBy.push_back(o);
        } while (acceptSymbol(","));
    }
    if (q->parts.size() > 1) {
        // the ORDER BY of the last part sorts the whole union
        q->orderBy = std::move(q->parts.back().orderBy);
        q->parts.back().orderBy.clear();
    }
    (void)nested;
    return q;
}

bool Parser::selectTerm(SelectCore& core) {
    core.pos = peek().pos;
    if (acceptWord("TABLE") || (isName(peek()) && !peek().isWord("SELECT"))) {
        if (!isName(peek()))
            return (void)fail("Syntax error in union query"), false;
        core.tableName = advance().text;
        return true;
    }
    if (peek().isSymbol("(")) {
        advance();
        if (!peek().isWord("SELECT"))
            return (void)fail("Syntax error in union query"), false;
        bool ok = select(core, false);
        return ok && expectSymbol(")");
    }
    if (!peek().isWord("SELECT")) {
        return (void)fail(
                   "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', "
                   "or 'UPDATE'"),
               false;
    }
    return select(core, false);
}

bool Parser::select(SelectCore& core, bool inCrosstab) {
    core.pos = advance().pos;  // SELECT
    clause_ = "SELECT clause";
    if (acceptWord("DISTINCT"))
        core.distinct = Distinct::Distinct;
    else if (acceptWord("DISTINCTROW"))
        core.distinct = Distinct::DistinctRow;
    else
        acceptWord("ALL");
    if (acceptWord("TOP") && !topClause(core))
        return false;
    if (!selectItems(core))
        return false;
    if (!endsSelectList(peek()))
        return (void)fail("Syntax error (missing operator) in query expression"), false;
    if (peek().isWord("INTO")) {
        error_ = Status(ErrorCode::ReadOnly, kActionQueryMessage);
        return false;
    }
    if (acceptWord("FROM") && !fromClause(core))
        return false;
    if (!core.from.empty() && acceptWord("IN") && !externalDatabase(core))
        return false;
    return tailClauses(core, inCrosstab);
}

// IN 'path' or IN '' [type; DATABASE=path; PWD=pw] after FROM. Only Access
// files are read; other types are refused by name.
bool Parser::externalDatabase(SelectCore& core) {
    clause_ = "FROM clause";
    if (peek().kind != TokenKind::String)
        return (void)fail("Syntax error in FROM clause: expected a file name after IN"), false;
    core.externalPath = advance().text;
    if (peek().kind != TokenKind::String && peek().kind != TokenKind::Bracketed)
        return true;
    const std::string connect = advance().text;
    std::string type = connect.substr(0, connect.find(';'));
    while (!type.empty() && type.back() == ' ')
        type.pop_back();
    if (!type.empty() && asciiUpper(type) != "MS ACCESS") {
        error_ = Status(ErrorCode::Unsupported, "Tables of a '" + type +
                                                    "' source (the IN clause of FROM) are not "
                                                    "supported; only Access files are read.");
        return false;
    }
    std::size_t start = 0;
    while (start < connect.size()) {
        std::size_t end = std::min(connect.find(';', start), connect.size());
        const std::string item = connect.substr(start, end - start);
        const std::string key = asciiUpper(item.substr(0, item.find('=')));
        const std::size_t eq = item.find('=');
        if (eq != std::string::npos && key == "DATABASE")
            core.externalPath = item.substr(eq + 1);
        else if (eq != std::string::npos && key == "PWD")
            core.externalPassword = item.substr(eq + 1);
        start = end + 1;
    }
    return true;
}

bool Parser::topClause(SelectCore& core) {
    const Token& n = advance();
    const long long v = n.kind == TokenKind::Number ? parseInteger(n.text).value_or(0) : 0;
    if (v <= 0 || v > 2147483647LL) {
        --i_;
        return (void)fail("Invalid TOP argument in select query"), false;
    }
    core.top = v;
    core.topPercent = acceptWord("PERCENT");
    if (core.topPercent && v > 100) {
        --i_;
        return (void)fail("Invalid TOP argument in select query"), false;
    }
    return true;
}

bool Parser::endsSelectList(const Token& t) {
    static const char* words[] = {"FROM",  "WHERE", "GROUP", "HAVING", "ORDER",
                                  "UNION", "INTO",  "WITH",  "PIVOT"};
    if (t.kind == TokenKind::End || t.isSymbol(";") || t.isSymbol(")"))
        return true;
    for (const char* w : words) {
        if (t.isWord(w))
            return true;
    }
    return false;
}

bool Parser::selectItems(SelectCore& core) {
    do {
        SelectItem item;
        const std::size_t start = i_;
        if (acceptSymbol("*")) {
            item.star = true;
        } else if (isName(peek()) && (peek(1).isSymbol(".") || peek(1).isSymbol("!")) &&
                   peek(2).isSymbol("*")) {
            item.star = true;
            item.starTable = advance().text;
            advance();
            advance();
        } else {
            item.expr = expr();
            if (!item.expr)
                return false;
            if (acceptWord("AS")) {
                if (!isName(peek()))
                    return (void)fail("Syntax error in SELECT clause: expected an alias"), false;
                item.alias = advance().text;
            }
        }
        item.sourceText = sourceOf(start, i_);
        core.items.push_back(std::move(item));
    } while (acceptSymbol(","));
    return true;
}

bool Parser::tailClauses(SelectCore& core, bool inCrosstab) {
    if (acceptWord("WHERE")) {
        clause_ = "WHERE clause";
        const std::size_t start = i_;
        if (!(core.where = expr()))
            return false;
        core.whereText = sourceOf(start, i_);
    }
    if (acceptWord("GROUP")) {
        clause_ = "GROUP BY clause";
        if (!acceptWord("BY"))
            return (void)fail("Syntax error in GROUP BY clause"), false;
        if (!exprList(core.groupBy))
            return false;
    }
    if (acceptWord("HAVING")) {
        clause_ = "HAVING clause";
        if (inCrosstab)
            return (void)fail("Cannot use HAVING clause in TRANSFORM statement"), false;
        if (!(core.having = expr()))
            return false;
    }
    if (acceptWord("ORDER")) {
        clause_ = "ORDER BY clause";
        if (!acceptWord("BY"))
            return (void)fail("Syntax error in ORDER BY clause"), false;
        do {
            OrderItem o;
            if (!(o.expr = expr()))
                return false;
            if (acceptWord("DESC"))
                o.descending = true;
            else
                acceptWord("ASC");
            core.orderBy.push_back(o);
        } while (acceptSymbol(","));
    }
    if (acceptWord("WITH")) {
        if (!acceptWord("OWNERACCESS") || !acceptWord("OPTION"))
            return (void)fail("Syntax error"), false;
    }
    return true;
}

bool Parser::exprList(std::vector<ExprPtr>& out) {
    do {
        auto e = expr();
        if (!e)
            return false;
        out.push_back(e);
    } while (acceptSymbol(","));
    return true;
}

std::string Parser::sourceOf(std::size_t from, std::size_t to) const {
    std::string s;
    for (std::size_t k = from; k < to && k < t_.size(); ++k) {
        const Token& tok = t_[k];
        if (!s.empty() && tok.kind != TokenKind::Symbol && t_[k - 1].kind != TokenKind::Symbol)
            s += " ";
        switch (tok.kind) {
            case TokenKind::Bracketed:
                s += "[" + tok.text + "]";
                break;
            case TokenKind::String:
                s += "\"" + tok.text + "\"";
                break;
            case TokenKind::Date:
                s += "#" + tok.text + "#";
                break;
            default:
                s += tok.text;
        }
    }
    return s;
}

bool Parser::fromClause(SelectCore& core) {
    clause_ = "FROM clause";
    do {
        auto item = joinExpr();
        if (!item)
            return false;
        core.from.push_back(item);
    } while (acceptSymbol(","));
    return true;
}

FromPtr Parser::joinExpr() {
    FromPtr left = fromPrimary();
    while (left) {
        JoinKind kind;
        if (acceptWord("INNER"))
            kind = JoinKind::Inner;
        else if (acceptWord("LEFT"))
            kind = JoinKind::Left;
        else if (acceptWord("RIGHT"))
            kind = JoinKind::Right;
        else if (peek().isWord("JOIN"))
            kind = JoinKind::Inner;
        else
            break;
        if (kind != JoinKind::Inner)
            acceptWord("OUTER");
        if (!acceptWord("JOIN"))
            return failNull("Syntax error in JOIN operation");
        auto join = std::make_shared<FromItem>();
        join->kind = FromItem::Kind::Join;
        join->pos = left->pos;
        join->join = kind;
        join->left = left;
        join->right = fromPrimary();
        if (!join->right)
            return nullptr;
        if (!acceptWord("ON"))
            return failNull("Syntax error in JOIN operation: expected ON");
        const std::string saved = clause_;
        clause_ = "JOIN operation";
        join->on = expr();
        clause_ = saved;
        if (!join->on)
            return nullptr;
        left = join;
    }
    return left;
}

FromPtr Parser::fromPrimary() {
    Depth guard(depth_);
    if (depth_ > kMaxDepth)
        return tooDeep();
    auto item = std::make_shared<FromItem>();
    item->pos = peek().pos;
    if (peek().isSymbol("(")) {
        advance();
        if (peek().isWord("SELECT")) {
            item->kind = FromItem::Kind::Derived;
            item->query = queryChain(true);
            if (!item->query || !expectSymbol(")"))
                return nullptr;
        } else {
            item = joinExpr();
            if (!item || !expectSymbol(")"))
                return nullptr;
            return item;
        }
    } else if (peek().kind == TokenKind::Bracketed && peek(1).isSymbol(".") &&
               asciiUpper(peek().text).rfind("SELECT", 0) == 0) {
        if (!bracketDerived(*item))
            return nullptr;
    } else if (isName(peek())) {
        item->name = advance().text;
        // owner-qualified names are not supported; a dotted name is one name
    } else {
        return failNull("Syntax error in FROM clause");
    }
    if (acceptWord("AS")) {
        if (!isName(peek()))
            return failNull("Syntax error in FROM clause: expected an alias");
        item->alias = advance().text;
    } else if (isName(peek())) {
        item->alias = advance().text;
    }
    if (item->kind == FromItem::Kind::Derived && item->alias.empty()) {
        return failNull("Syntax error in FROM clause: a subquery needs an alias");
    }
    return item;
}

bool Parser::bracketDerived(FromItem& item) {
    const Token inner = advance();
    advance();  // '.'
    // the inner statement counts towards the nesting limit of this one
    auto tokens = tokenize(inner.text);
    Result<Statement> parsed = tokens ? Parser(std::move(tokens.value()), depth_).statement()
                                      : Result<Statement>(tokens.status());
    if (!parsed) {
        error_ = Status(parsed.status().code(), parsed.status().message() +
                                                    " (in the subquery at character " +
                                                    std::to_string(inner.pos) + ")");
        return false;
    }
    if (!parsed->parameters.empty() || parsed->crosstab)
        return (void)fail("Syntax error in FROM clause"), false;
    item.kind = FromItem::Kind::Derived;
    item.query = parsed->query;
    return true;
}

Result<Statement> parseStatement(const std::string& text) {
    if (Status s = checkStatementText(text); !s)
        return s;
    auto tokens = tokenize(text);
    if (!tokens)
        return tokens.status();
    if (tokens->size() == 1)
        return Status(ErrorCode::Syntax, "The SQL statement is empty.");
    auto statement = Parser(std::move(tokens.value())).statement();
    if (statement) {
        if (Status s = checkStatementLimits(*statement); !s)
            return s;
    }
    return statement;
}

Result<ExprPtr> parseExpression(const std::string& text) {
    if (Status s = checkStatementText(text); !s)
        return s;
    auto tokens = tokenize(text);
    if (!tokens)
        return tokens.status();
    return Parser(std::move(tokens.value())).lone();
}

}  // namespace jet::sql
