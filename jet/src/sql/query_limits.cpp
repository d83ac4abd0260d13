#include "sql/query_limits.h"

#include <utility>
#include <vector>

#include "sql/parser.h"

namespace jet::sql {
namespace {

constexpr const char* kTooComplex = "Query is too complex.";
constexpr const char* kTooManyFields = "Too many fields defined.";

// Operators the translator writes as one flat chain: a left operand with an
// operator of the same group adds no level.
int chainGroup(const Expr& e) {
    if (e.kind != ExprKind::Binary)
        return 0;
    if (e.text == "AND")
        return 1;
    if (e.text == "OR")
        return 2;
    if (e.text == "&")
        return 3;
    if (e.text == "+" || e.text == "-")
        return 4;
    if (e.text == "*")
        return 5;
    return 0;
}

int countAnds(const Expr* root) {
    int ands = 0;
    std::vector<const Expr*> stack = {root};
    while (!stack.empty()) {
        const Expr* e = stack.back();
        stack.pop_back();
        if (!e)
            continue;
        if (e->kind == ExprKind::Binary && e->text == "AND")
            ++ands;
        for (const ExprPtr& a : e->args)
            stack.push_back(a.get());
    }
    return ands;
}

// Walks every expression of a statement, subqueries and derived tables
// included, without recursion (the tree can be as deep as the text is long).
class LimitWalk {
  public:
    Status run(const Statement& st) {
        if (st.query)
            queries_.push_back(st.query.get());
        if (st.crosstab) {
            add(st.crosstab->value.get(), 1);
            add(st.crosstab->pivot.get(), 1);
            for (const ExprPtr& e : st.crosstab->pivotIn)
                add(e.get(), 1);
        }
        while (!queries_.empty() || !exprs_.empty() || !froms_.empty()) {
            if (!queries_.empty()) {
                const Query* q = queries_.back();
                queries_.pop_back();
                if (Status s = query(*q); !s)
                    return s;
            } else if (!froms_.empty()) {
                from();
            } else if (!expr()) {
                return tooComplex();
            }
        }
        return Status::ok();
    }

  private:
    void add(const Expr* e, int depth, int chain = 1) {
        if (e)
            exprs_.push_back({e, depth, chain});
    }

    Status query(const Query& q) {
        for (const SelectCore& core : q.parts) {
            if (core.items.size() > static_cast<std::size_t>(kMaxOutputFields))
                return tooManyFields();
            if (countAnds(core.where.get()) > kMaxAndsInClause ||
                countAnds(core.having.get()) > kMaxAndsInClause)
                return tooComplex();
            for (const SelectItem& item : core.items)
                add(item.expr.get(), 1);
            add(core.where.get(), 1);
            add(core.having.get(), 1);
            for (const ExprPtr& e : core.groupBy)
                add(e.get(), 1);
            for (const OrderItem& o : core.orderBy)
                add(o.expr.get(), 1);
            for (const FromPtr& f : core.from)
                froms_.push_back(f.get());
        }
        for (const OrderItem& o : q.orderBy)
            add(o.expr.get(), 1);
        return Status::ok();
    }

    void from() {
        const FromItem* f = froms_.back();
        froms_.pop_back();
        if (!f)
            return;
        if (f->query)
            queries_.push_back(f->query.get());
        add(f->on.get(), 1);
        froms_.push_back(f->left.get());
        froms_.push_back(f->right.get());
    }

    // False when an expression nests past the limit.
    bool expr() {
        const auto [e, depth, chain] = exprs_.back();
        exprs_.pop_back();
        if (depth > kMaxNesting || chain >= kMaxChainTerms)
            return false;
        if (e->query)
            queries_.push_back(e->query.get());
        const int group = chainGroup(*e);
        for (std::size_t i = 0; i < e->args.size(); ++i) {
            const Expr* a = e->args[i].get();
            const bool chained = i == 0 && group != 0 && a && chainGroup(*a) == group;
            if (chained)
                add(a, depth, chain + 1);
            else
                add(a, depth + 1);
        }
        return true;
    }

    std::vector<const Query*> queries_;
    std::vector<const FromItem*> froms_;
    struct Pending {
        const Expr* e;
        int depth, chain;
    };
    std::vector<Pending> exprs_;
};

}  // namespace

Status tooComplex() {
    return Status(ErrorCode::Semantic, kTooComplex);
}

Status tooManyFields() {
    return Status(ErrorCode::Semantic, kTooManyFields);
}

bool isLimitError(const Status& status) {
    return status.message() == kTooComplex || status.message() == kTooManyFields;
}

Status checkStatementText(const std::string& text) {
    return text.size() > kMaxStatementCharacters ? tooComplex() : Status::ok();
}

Status checkStatementLimits(const Statement& statement) {
    return LimitWalk().run(statement);
}

Status checkAccessLimits(const std::string& text) {
    if (Status s = checkStatementText(text); !s)
        return s;
    auto parsed = parseStatement(text);
    if (!parsed)
        return isLimitError(parsed.status()) ? parsed.status() : Status::ok();
    return Status::ok();
}

}  // namespace jet::sql
