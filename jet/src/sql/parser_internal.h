// The Parser behind parseStatement and parseExpression: a recursive-descent
// reader over the lexer's tokens that records the first syntax error. Shared
// by its two source files, parser.cpp (statements, clauses and FROM) and
// parse_expressions.cpp (expressions by precedence); used nowhere else.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "jet/status.h"
#include "sql/ast.h"
#include "sql/token.h"

namespace jet::sql {

class Parser {
  public:
    explicit Parser(std::vector<Token> tokens, int depth = 0)
        : t_(std::move(tokens)), depth_(depth) {}

    Result<Statement> statement();
    Result<ExprPtr> lone();

  private:
    Status failure();

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
    static std::string near(const Token& tok);
    Status fail(const std::string& what);
    // Nesting past what the parser's recursion allows: Access's "too complex".
    std::nullptr_t tooDeep();
    std::nullptr_t failNull(const std::string& what) {
        (void)fail(what);
        return nullptr;
    }
    bool expectSymbol(const char* s);
    // Words that end an expression or a name list need brackets to be names.
    static bool isReservedWord(const std::string& upperWord);
    bool isName(const Token& tok) const {
        if (tok.kind == TokenKind::Bracketed)
            return true;
        return tok.kind == TokenKind::Word && !isReservedWord(asciiUpper(tok.text));
    }

    // ---- statements ----
    Status refuseAction();
    bool parameters(Statement& st);
    bool crosstab(Statement& st);
    std::shared_ptr<Query> queryChain(bool nested);
    bool selectTerm(SelectCore& core);
    bool select(SelectCore& core, bool inCrosstab);
    bool topClause(SelectCore& core);
    bool externalDatabase(SelectCore& core);
    static bool endsSelectList(const Token& t);
    bool selectItems(SelectCore& core);
    bool tailClauses(SelectCore& core, bool inCrosstab);
    bool exprList(std::vector<ExprPtr>& out);
    std::string sourceOf(std::size_t from, std::size_t to) const;

    // ---- FROM ----
    bool fromClause(SelectCore& core);
    FromPtr joinExpr();
    FromPtr fromPrimary();

    // Access stores derived tables as [SELECT ...]. AS alias
    bool bracketDerived(FromItem& item);

    // ---- expressions, lowest precedence first ----
    using Level = ExprPtr (Parser::*)();
    ExprPtr binary(Level next, std::initializer_list<const char*> ops);
    static ExprPtr make(ExprKind k, std::size_t pos, std::string text, std::vector<ExprPtr> args);

  public:
    ExprPtr expr() { return binary(&Parser::eqv, {"IMP"}); }

  private:
    ExprPtr eqv() { return binary(&Parser::xorLevel, {"EQV"}); }
    ExprPtr xorLevel() { return binary(&Parser::orLevel, {"XOR"}); }
    ExprPtr orLevel() { return binary(&Parser::andLevel, {"OR"}); }
    ExprPtr andLevel() { return binary(&Parser::notLevel, {"AND"}); }

    ExprPtr notLevel();
    ExprPtr comparison();
    ExprPtr compareTail(ExprPtr left);
    std::shared_ptr<Query> subqueryBody();
    ExprPtr predicate(ExprPtr left, bool negated);
    ExprPtr inTail(ExprPtr left, std::size_t pos);

    ExprPtr concat() { return binary(&Parser::additive, {"&"}); }
    ExprPtr additive() { return binary(&Parser::modLevel, {"+", "-"}); }
    ExprPtr modLevel() { return binary(&Parser::intDiv, {"MOD"}); }
    ExprPtr intDiv() { return binary(&Parser::multiplicative, {"\\"}); }
    ExprPtr multiplicative() { return binary(&Parser::unary, {"*", "/"}); }

    ExprPtr unary();
    ExprPtr power();
    ExprPtr primary();
    ExprPtr number();
    ExprPtr dateLiteral();

    // Guards the recursion of nested parentheses, Not and signs.
    struct Depth {
        explicit Depth(int& d) : d_(d) { ++d_; }
        ~Depth() { --d_; }
        int& d_;
    };
    static constexpr int kMaxDepth = 600;  // about 200 levels of parentheses

    ExprPtr parenthesised();
    ExprPtr wordPrimary();
    ExprPtr nameOrCall();
    ExprPtr call(const Token& name);
    std::vector<Token> t_;
    std::size_t i_ = 0;
    int depth_ = 0;
    std::string clause_ = "SELECT clause";
    Status error_;
};

}  // namespace jet::sql
