#include "sql/parser.h"

#include <cstdlib>
#include <set>

#include "sql/date_serial.h"
#include "sql/lexer.h"

namespace jet::sql {

const char* const kActionQueryMessage =
    "Cannot open an action query as a record set: this program only reads table data.";

namespace {

// Words that end an expression or a name list; they need brackets to be names.
const std::set<std::string> kReserved = {
    "SELECT",    "FROM",   "WHERE",    "GROUP",       "BY",   "HAVING",  "ORDER", "AS",
    "ON",        "AND",    "OR",       "XOR",         "EQV",  "IMP",     "NOT",   "LIKE",
    "BETWEEN",   "IN",     "IS",       "UNION",       "ALL",  "INNER",   "LEFT",  "RIGHT",
    "JOIN",      "OUTER",  "DISTINCT", "DISTINCTROW", "TOP",  "PERCENT", "MOD",   "PIVOT",
    "TRANSFORM", "INTO",   "WITH",     "PARAMETERS",  "ASC",  "DESC",    "NULL",  "TRUE",
    "FALSE",     "EXISTS", "ANY",      "SOME",        "FULL", "CROSS",   "TABLE"};

class Parser {
  public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    Result<Statement> statement() {
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

    Result<ExprPtr> lone() {
        clause_ = "query expression";
        auto e = expr();
        if (!e)
            return failure();
        if (peek().kind != TokenKind::End)
            return fail("Syntax error (missing operator) in query expression");
        return e;
    }

  private:
    Status failure() {
        if (error_.isOk())
            error_ = Status(ErrorCode::Syntax, "Syntax error" + near(peek()));
        return error_;
    }

    // ---- token helpers ----
    const Token& peek(std::size_t ahead = 0) const {
        return t_[std::min(i_ + ahead, t_.size() - 1)];
    }
    const Token& advance() { return t_[i_ < t_.size() - 1 ? i_++ : i_]; }
    bool acceptWord(const char* w) {
        if (!peek().isWord(w))
            return false;
        advance();
        return true;
    }
    bool acceptSymbol(const char* s) {
        if (!peek().isSymbol(s))
            return false;
        advance();
        return true;
    }
    static std::string near(const Token& tok) {
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
    Status fail(const std::string& what) {
        if (error_.isOk())
            error_ = Status(ErrorCode::Syntax, what + near(peek()));
        return error_;
    }
    std::nullptr_t failNull(const std::string& what) {
        (void)fail(what);
        return nullptr;
    }
    bool expectSymbol(const char* s) {
        if (acceptSymbol(s))
            return true;
        (void)fail(std::string("Syntax error in ") + clause_ + ": expected '" + s + "'");
        return false;
    }
    bool isName(const Token& tok) const {
        if (tok.kind == TokenKind::Bracketed)
            return true;
        return tok.kind == TokenKind::Word && !kReserved.count(asciiUpper(tok.text));
    }

    // ---- statements ----
    Status refuseAction() {
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

    bool parameters(Statement& st) {
        advance();
        clause_ = "PARAMETER clause";
        do {
            const Token& name = advance();
            if (name.kind != TokenKind::Bracketed && name.kind != TokenKind::Word) {
                --i_;
                return (void)fail("Syntax error in PARAMETER clause"), false;
            }
            ParameterDecl d{name.text, ""};
            while (!peek().isSymbol(",") && !peek().isSymbol(";") &&
                   peek().kind != TokenKind::End) {
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

    bool crosstab(Statement& st) {
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

    std::shared_ptr<Query> queryChain(bool nested) {
        auto q = std::make_shared<Query>();
        while (true) {
            SelectCore core;
            if (!selectTerm(core))
                return nullptr;
            q->parts.push_back(std::move(core));
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

    bool selectTerm(SelectCore& core) {
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

    bool select(SelectCore& core, bool inCrosstab) {
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
        if (peek().isWord("IN") && !core.from.empty()) {
            error_ =
                Status(ErrorCode::Unsupported,
                       "Tables of another database (the IN clause of FROM) are not supported.");
            return false;
        }
        return tailClauses(core, inCrosstab);
    }

    bool topClause(SelectCore& core) {
        const Token& n = advance();
        char* end = nullptr;
        long long v = n.kind == TokenKind::Number ? std::strtoll(n.text.c_str(), &end, 10) : 0;
        if (n.kind != TokenKind::Number || *end != '\0' || v <= 0 || v > 2147483647LL) {
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

    static bool endsSelectList(const Token& t) {
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

    bool selectItems(SelectCore& core) {
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
                        return (void)fail("Syntax error in SELECT clause: expected an alias"),
                               false;
                    item.alias = advance().text;
                }
            }
            item.sourceText = sourceOf(start, i_);
            core.items.push_back(std::move(item));
        } while (acceptSymbol(","));
        return true;
    }

    bool tailClauses(SelectCore& core, bool inCrosstab) {
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

    bool exprList(std::vector<ExprPtr>& out) {
        do {
            auto e = expr();
            if (!e)
                return false;
            out.push_back(e);
        } while (acceptSymbol(","));
        return true;
    }

    std::string sourceOf(std::size_t from, std::size_t to) const {
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

    // ---- FROM ----
    bool fromClause(SelectCore& core) {
        clause_ = "FROM clause";
        do {
            auto item = joinExpr();
            if (!item)
                return false;
            core.from.push_back(item);
        } while (acceptSymbol(","));
        return true;
    }

    FromPtr joinExpr() {
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

    FromPtr fromPrimary() {
        Depth guard(depth_);
        if (depth_ > kMaxDepth)
            return failNull("The FROM clause is nested too deeply");
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

    // Access stores derived tables as [SELECT ...]. AS alias
    bool bracketDerived(FromItem& item) {
        const Token inner = advance();
        advance();  // '.'
        auto parsed = parseStatement(inner.text);
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

    // ---- expressions, lowest precedence first ----
    using Level = ExprPtr (Parser::*)();

    ExprPtr binary(Level next, std::initializer_list<const char*> ops) {
        ExprPtr left = (this->*next)();
        while (left) {
            const char* found = nullptr;
            for (const char* op : ops) {
                if (peek().isSymbol(op) || peek().isWord(op))
                    found = op;
            }
            if (!found)
                break;
            const std::size_t pos = advance().pos;
            ExprPtr right = (this->*next)();
            if (!right)
                return nullptr;
            left = make(ExprKind::Binary, pos, found, {left, right});
        }
        return left;
    }

    static ExprPtr make(ExprKind k, std::size_t pos, std::string text, std::vector<ExprPtr> args) {
        auto e = std::make_shared<Expr>();
        e->kind = k;
        e->pos = pos;
        e->text = std::move(text);
        e->args = std::move(args);
        return e;
    }

  public:
    ExprPtr expr() { return binary(&Parser::eqv, {"IMP"}); }

  private:
    ExprPtr eqv() { return binary(&Parser::xorLevel, {"EQV"}); }
    ExprPtr xorLevel() { return binary(&Parser::orLevel, {"XOR"}); }
    ExprPtr orLevel() { return binary(&Parser::andLevel, {"OR"}); }
    ExprPtr andLevel() { return binary(&Parser::notLevel, {"AND"}); }

    ExprPtr notLevel() {
        Depth guard(depth_);
        if (depth_ > kMaxDepth)
            return failNull("The expression is nested too deeply");
        if (peek().isWord("NOT")) {
            const std::size_t pos = advance().pos;
            ExprPtr inner = notLevel();
            return inner ? make(ExprKind::Unary, pos, "NOT", {inner}) : nullptr;
        }
        return comparison();
    }

    ExprPtr comparison() {
        ExprPtr left = concat();
        while (left) {
            const Token& tok = peek();
            if (tok.kind == TokenKind::Symbol &&
                (tok.text == "=" || tok.text == "<>" || tok.text == "<" || tok.text == ">" ||
                 tok.text == "<=" || tok.text == ">=" || tok.text == "!=")) {
                left = compareTail(left);
                continue;
            }
            bool negated = false;
            if (tok.isWord("NOT") &&
                (peek(1).isWord("LIKE") || peek(1).isWord("BETWEEN") || peek(1).isWord("IN"))) {
                advance();
                negated = true;
            }
            if (peek().isWord("LIKE") || peek().isWord("BETWEEN") || peek().isWord("IN") ||
                peek().isWord("IS")) {
                left = predicate(left, negated);
                continue;
            }
            break;
        }
        return left;
    }

    ExprPtr compareTail(ExprPtr left) {
        const Token op = advance();
        const std::string text = op.text == "!=" ? "<>" : op.text;
        if ((peek().isWord("ANY") || peek().isWord("SOME") || peek().isWord("ALL")) &&
            peek(1).isSymbol("(")) {
            auto e = make(ExprKind::Compare, op.pos, text, {left});
            e->quantifier = peek().isWord("ALL") ? "ALL" : "ANY";
            advance();
            advance();
            if (!peek().isWord("SELECT"))
                return failNull("Syntax error: expected a subquery");
            e->query = subqueryBody();
            return e->query ? e : nullptr;
        }
        ExprPtr right = concat();
        return right ? make(ExprKind::Binary, op.pos, text, {left, right}) : nullptr;
    }

    std::shared_ptr<Query> subqueryBody() {
        const std::string saved = clause_;
        auto q = queryChain(true);
        clause_ = saved;
        if (!q || !expectSymbol(")"))
            return nullptr;
        if (q->parts.size() > 1) {
            error_ = Status(ErrorCode::Semantic, "Unions not allowed in a subquery.");
            return nullptr;
        }
        return q;
    }

    ExprPtr predicate(ExprPtr left, bool negated) {
        const Token kw = advance();
        const std::string word = asciiUpper(kw.text);
        ExprPtr e;
        if (word == "LIKE") {
            ExprPtr pattern = concat();
            if (!pattern)
                return nullptr;
            e = make(ExprKind::Like, kw.pos, "LIKE", {left, pattern});
        } else if (word == "BETWEEN") {
            ExprPtr low = concat();
            if (!low || !acceptWord("AND"))
                return low ? failNull("Syntax error in Between: expected And") : nullptr;
            ExprPtr high = concat();
            if (!high)
                return nullptr;
            e = make(ExprKind::Between, kw.pos, "BETWEEN", {left, low, high});
        } else if (word == "IN") {
            e = inTail(left, kw.pos);
        } else {  // IS [NOT] NULL
            bool isNot = acceptWord("NOT");
            if (!acceptWord("NULL"))
                return failNull("Syntax error: expected Null after Is");
            e = make(ExprKind::IsNull, kw.pos, "IS", {left});
            negated = isNot;
        }
        if (e)
            e->negated = negated;
        return e;
    }

    ExprPtr inTail(ExprPtr left, std::size_t pos) {
        if (!expectSymbol("("))
            return nullptr;
        if (peek().isWord("SELECT")) {
            auto e = make(ExprKind::InQuery, pos, "IN", {left});
            e->query = subqueryBody();
            return e->query ? e : nullptr;
        }
        auto e = make(ExprKind::InList, pos, "IN", {left});
        do {
            ExprPtr item = expr();
            if (!item)
                return nullptr;
            e->args.push_back(item);
        } while (acceptSymbol(","));
        return expectSymbol(")") ? e : nullptr;
    }

    ExprPtr concat() { return binary(&Parser::additive, {"&"}); }
    ExprPtr additive() { return binary(&Parser::modLevel, {"+", "-"}); }
    ExprPtr modLevel() { return binary(&Parser::intDiv, {"MOD"}); }
    ExprPtr intDiv() { return binary(&Parser::multiplicative, {"\\"}); }
    ExprPtr multiplicative() { return binary(&Parser::unary, {"*", "/"}); }

    ExprPtr unary() {
        Depth guard(depth_);
        if (depth_ > kMaxDepth)
            return failNull("The expression is nested too deeply");
        if (peek().isSymbol("-") || peek().isSymbol("+")) {
            const Token op = advance();
            ExprPtr inner = unary();
            if (!inner)
                return nullptr;
            return op.text == "-" ? make(ExprKind::Unary, op.pos, "-", {inner}) : inner;
        }
        return power();
    }

    ExprPtr power() {
        ExprPtr left = primary();
        while (left && peek().isSymbol("^")) {
            const std::size_t pos = advance().pos;
            ExprPtr right;
            if (peek().isSymbol("-")) {
                const std::size_t upos = advance().pos;
                ExprPtr inner = primary();
                right = inner ? make(ExprKind::Unary, upos, "-", {inner}) : nullptr;
            } else {
                right = primary();
            }
            if (!right)
                return nullptr;
            left = make(ExprKind::Binary, pos, "^", {left, right});
        }
        return left;
    }

    ExprPtr primary() {
        const Token& tok = peek();
        switch (tok.kind) {
            case TokenKind::Number:
                return number();
            case TokenKind::String: {
                auto e = make(ExprKind::String, tok.pos, tok.text, {});
                advance();
                return e;
            }
            case TokenKind::Date:
                return dateLiteral();
            case TokenKind::Bracketed:
                return nameOrCall();
            case TokenKind::Word:
                return wordPrimary();
            case TokenKind::Symbol:
                if (tok.isSymbol("("))
                    return parenthesised();
                break;
            case TokenKind::End:
                break;
        }
        return failNull("Syntax error (missing operand) in " + clause_);
    }

    ExprPtr number() {
        const Token tok = advance();
        auto e = make(ExprKind::Number, tok.pos, tok.text, {});
        e->number = std::strtod(tok.text.c_str(), nullptr);
        return e;
    }

    ExprPtr dateLiteral() {
        const Token tok = advance();
        auto serial = parseDateText(tok.text);
        if (!serial) {
            --i_;
            return failNull("Syntax error in date in query expression '#" + tok.text + "#'");
        }
        auto e = make(ExprKind::Date, tok.pos, tok.text, {});
        e->number = *serial;
        return e;
    }

    // Guards the recursion of nested parentheses, Not and signs.
    struct Depth {
        explicit Depth(int& d) : d_(d) { ++d_; }
        ~Depth() { --d_; }
        int& d_;
    };
    static constexpr int kMaxDepth = 600;  // about 200 levels of parentheses

    ExprPtr parenthesised() {
        Depth guard(depth_);
        if (depth_ > kMaxDepth)
            return failNull("The expression is nested too deeply");
        const std::size_t pos = advance().pos;
        if (peek().isWord("SELECT")) {
            auto e = make(ExprKind::Subquery, pos, "", {});
            e->query = subqueryBody();
            return e->query ? e : nullptr;
        }
        ExprPtr inner = expr();
        if (!inner || !expectSymbol(")"))
            return nullptr;
        return inner;
    }

    ExprPtr wordPrimary() {
        const Token tok = peek();
        const std::string w = asciiUpper(tok.text);
        if (w == "NULL") {
            advance();
            return make(ExprKind::Null, tok.pos, "NULL", {});
        }
        const bool isTrue = w == "TRUE" || w == "YES" || w == "ON";
        const bool isFalse = w == "FALSE" || w == "NO" || w == "OFF";
        if ((isTrue || isFalse) && !peek(1).isSymbol("(") && !peek(1).isSymbol(".")) {
            advance();
            auto e = make(ExprKind::Boolean, tok.pos, w, {});
            e->number = isTrue ? -1 : 0;
            return e;
        }
        if (w == "EXISTS" && peek(1).isSymbol("(")) {
            advance();
            advance();
            auto e = make(ExprKind::Exists, tok.pos, "EXISTS", {});
            e->query = subqueryBody();
            return e->query ? e : nullptr;
        }
        if (kReserved.count(w) && !peek(1).isSymbol("("))
            return failNull("Syntax error (missing operand) in " + clause_);
        return nameOrCall();
    }

    ExprPtr nameOrCall() {
        const Token first = advance();
        if (first.kind == TokenKind::Word && peek().isSymbol("("))
            return call(first);
        auto e = make(ExprKind::Name, first.pos, "", {});
        e->parts.push_back(first.text);
        while ((peek().isSymbol(".") || peek().isSymbol("!")) &&
               (peek(1).kind == TokenKind::Word || peek(1).kind == TokenKind::Bracketed)) {
            advance();
            e->parts.push_back(advance().text);
        }
        return e;
    }

    ExprPtr call(const Token& name) {
        advance();  // '('
        auto e = make(ExprKind::Call, name.pos, asciiUpper(name.text), {});
        if (acceptSymbol(")"))
            return e;
        if (peek().isSymbol("*") && peek(1).isSymbol(")")) {
            e->args.push_back(make(ExprKind::Star, advance().pos, "*", {}));
        } else {
            if (peek().isWord("DISTINCT"))
                return failNull(
                    "Syntax error: DISTINCT is not allowed inside an aggregate function");
            if (!exprList(e->args))
                return nullptr;
        }
        return expectSymbol(")") ? e : nullptr;
    }

    std::vector<Token> t_;
    std::size_t i_ = 0;
    int depth_ = 0;
    std::string clause_ = "SELECT clause";
    Status error_;
};

}  // namespace

Result<Statement> parseStatement(const std::string& text) {
    auto tokens = tokenize(text);
    if (!tokens)
        return tokens.status();
    if (tokens->size() == 1)
        return Status(ErrorCode::Syntax, "The SQL statement is empty.");
    return Parser(std::move(tokens.value())).statement();
}

Result<ExprPtr> parseExpression(const std::string& text) {
    auto tokens = tokenize(text);
    if (!tokens)
        return tokens.status();
    return Parser(std::move(tokens.value())).lone();
}

}  // namespace jet::sql
