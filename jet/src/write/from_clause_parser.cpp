#include "write/from_clause_parser.h"

namespace jet::write {
namespace {

class FromParser {
  public:
    FromParser(std::string_view text, const std::vector<SqlToken>& tokens, size_t first,
               size_t last)
        : text_(text), t_(tokens), i_(first), last_(last) {}

    Result<FromList> list() {
        FromList out;
        do {
            auto source = parseSource();
            if (!source) {
                return source.status();
            }
            out.push_back(std::move(*source));
        } while (accept(","));
        if (i_ != last_) {
            return fail("unexpected text in the FROM clause");
        }
        return out;
    }

  private:
    using SourcePtr = std::unique_ptr<FromSource>;

    bool atEnd() const { return i_ >= last_; }
    const SqlToken& peek(size_t ahead = 0) const {
        static const SqlToken kEnd;
        return i_ + ahead < last_ ? t_[i_ + ahead] : kEnd;
    }
    bool accept(std::string_view symbol) {
        if (!atEnd() && peek().isSymbol(symbol)) {
            ++i_;
            return true;
        }
        return false;
    }
    Status fail(const std::string& what) const {
        const size_t at = atEnd() ? (last_ ? t_[last_ - 1].end : 0) : peek().begin;
        return {ErrorCode::Syntax, "Syntax error in FROM clause: " + what + " at character " +
                                       std::to_string(at + 1) + "."};
    }

    // INNER JOIN, LEFT [OUTER] JOIN, RIGHT [OUTER] JOIN: the type, 0 if none.
    int joinAhead() const {
        const SqlToken& a = peek();
        const bool outer = peek(1).isWord("OUTER");
        const SqlToken& join = peek(outer ? 2 : 1);
        if (!join.isWord("JOIN")) {
            return 0;
        }
        if (a.isWord("INNER") && !outer)
            return 1;
        if (a.isWord("LEFT"))
            return 2;
        if (a.isWord("RIGHT"))
            return 3;
        return 0;
    }

    Result<SourcePtr> parseSource() {
        auto left = parsePrimary();
        if (!left) {
            return left;
        }
        SourcePtr current = std::move(*left);
        while (int type = joinAhead()) {
            i_ += peek(1).isWord("OUTER") ? 3 : 2;
            auto right = parsePrimary();
            if (!right) {
                return right;
            }
            if (atEnd() || !peek().isWord("ON")) {
                return Result<SourcePtr>(fail("a JOIN needs ON"));
            }
            ++i_;
            auto join = std::make_unique<FromSource>();
            join->joinType = type;
            join->left = std::move(current);
            join->right = std::move(*right);
            if (Status s = readCondition(*join); !s) {
                return s;
            }
            current = std::move(join);
        }
        return current;
    }

    Status readCondition(FromSource& join) {
        const size_t start = i_;
        const int depth = atEnd() ? 0 : peek().depth;
        while (!atEnd()) {
            const SqlToken& token = peek();
            if (token.depth < depth ||
                (token.depth == depth &&
                 (token.isSymbol(",") || token.isWord("JOIN") || joinAhead() != 0))) {
                break;
            }
            if (token.isSymbol(".") && i_ > start && i_ + 1 < last_) {
                join.conditionQualifiers.push_back(plainName(text_, t_[i_ - 1]));
            }
            ++i_;
        }
        if (i_ == start) {
            return fail("ON needs a condition");
        }
        join.condition = tokenText(text_, t_, start, i_);
        return Status::ok();
    }

    Result<SourcePtr> parsePrimary() {
        if (accept("(")) {
            if (peek().isWord("SELECT")) {
                return Result<SourcePtr>(ErrorCode::Unsupported,
                                         "A subquery in the FROM clause cannot be saved.");
            }
            auto inner = parseSource();
            if (inner && !accept(")")) {
                return Result<SourcePtr>(fail("a parenthesis is not closed"));
            }
            return inner;
        }
        const SqlToken& name = peek();
        if (atEnd() ||
            (name.kind != SqlToken::Kind::Word && name.kind != SqlToken::Kind::Bracket)) {
            return Result<SourcePtr>(fail("a table name is expected"));
        }
        ++i_;
        if (!atEnd() && peek().isSymbol(".")) {
            return Result<SourcePtr>(ErrorCode::Unsupported,
                                     "A table of another database cannot be saved in a query.");
        }
        auto source = std::make_unique<FromSource>();
        source->name = plainName(text_, name);
        return readAlias(std::move(source));
    }

    Result<SourcePtr> readAlias(SourcePtr source) {
        if (!atEnd() && peek().isWord("IN")) {
            return Result<SourcePtr>(
                ErrorCode::Unsupported,
                "A table of another database (IN) cannot be saved in a query.");
        }
        const bool as = !atEnd() && peek().isWord("AS");
        if (as) {
            ++i_;
        }
        const SqlToken& alias = peek();
        const bool aliasLike =
            !atEnd() &&
            (alias.kind == SqlToken::Kind::Bracket ||
             (alias.kind == SqlToken::Kind::Word && !alias.isWord("ON") && joinAhead() == 0));
        if (aliasLike) {
            source->alias = plainName(text_, alias);
            ++i_;
        } else if (as) {
            return Result<SourcePtr>(fail("AS needs an alias"));
        }
        return source;
    }

    std::string_view text_;
    const std::vector<SqlToken>& t_;
    size_t i_;
    size_t last_;
};

}  // namespace

Result<FromList> parseFromClause(std::string_view text, const std::vector<SqlToken>& tokens,
                                 size_t first, size_t last) {
    return FromParser(text, tokens, first, last).list();
}

}  // namespace jet::write
