#include <cmath>
#include <cstdlib>

#include "jet/number_text.h"
#include "sql/date_serial.h"
#include "sql/parser_internal.h"

namespace jet::sql {

ExprPtr Parser::binary(Level next, std::initializer_list<const char*> ops) {
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

ExprPtr Parser::make(ExprKind k, std::size_t pos, std::string text, std::vector<ExprPtr> args) {
    auto e = std::make_shared<Expr>();
    e->kind = k;
    e->pos = pos;
    e->text = std::move(text);
    e->args = std::move(args);
    return e;
}

ExprPtr Parser::notLevel() {
    Depth guard(depth_);
    if (depth_ > kMaxDepth)
        return tooDeep();
    if (peek().isWord("NOT")) {
        const std::size_t pos = advance().pos;
        ExprPtr inner = notLevel();
        return inner ? make(ExprKind::Unary, pos, "NOT", {inner}) : nullptr;
    }
    return comparison();
}

ExprPtr Parser::comparison() {
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

ExprPtr Parser::compareTail(ExprPtr left) {
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

std::shared_ptr<Query> Parser::subqueryBody() {
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

ExprPtr Parser::predicate(ExprPtr left, bool negated) {
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

ExprPtr Parser::inTail(ExprPtr left, std::size_t pos) {
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

ExprPtr Parser::unary() {
    Depth guard(depth_);
    if (depth_ > kMaxDepth)
        return tooDeep();
    if (peek().isSymbol("-") || peek().isSymbol("+")) {
        const Token op = advance();
        ExprPtr inner = unary();
        if (!inner)
            return nullptr;
        return op.text == "-" ? make(ExprKind::Unary, op.pos, "-", {inner}) : inner;
    }
    return power();
}

ExprPtr Parser::power() {
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

ExprPtr Parser::primary() {
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

ExprPtr Parser::number() {
    const Token tok = advance();
    auto e = make(ExprKind::Number, tok.pos, tok.text, {});
    e->number = parseDouble(tok.text).value_or(0);
    if (!std::isfinite(e->number)) {
        // A number past the range of a Double (1e400): Access's "Overflow".
        if (error_.isOk())
            error_ = Status(ErrorCode::Semantic, "Overflow");
        return nullptr;
    }
    return e;
}

ExprPtr Parser::dateLiteral() {
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

ExprPtr Parser::parenthesised() {
    Depth guard(depth_);
    if (depth_ > kMaxDepth)
        return tooDeep();
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

ExprPtr Parser::wordPrimary() {
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
    if (isReservedWord(w) && !peek(1).isSymbol("("))
        return failNull("Syntax error (missing operand) in " + clause_);
    return nameOrCall();
}

ExprPtr Parser::nameOrCall() {
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

ExprPtr Parser::call(const Token& name) {
    advance();  // '('
    auto e = make(ExprKind::Call, name.pos, asciiUpper(name.text), {});
    if (acceptSymbol(")"))
        return e;
    if (peek().isSymbol("*") && peek(1).isSymbol(")")) {
        e->args.push_back(make(ExprKind::Star, advance().pos, "*", {}));
    } else {
        if (peek().isWord("DISTINCT"))
            return failNull("Syntax error: DISTINCT is not allowed inside an aggregate function");
        if (!exprList(e->args))
            return nullptr;
    }
    return expectSymbol(")") ? e : nullptr;
}

}  // namespace jet::sql
