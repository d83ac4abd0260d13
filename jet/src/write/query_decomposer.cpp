#include "write/query_decomposer.h"

#include <map>
#include <set>
#include <tuple>

#include "jet/number_text.h"
#include "sql/parser.h"
#include "write/from_clause_parser.h"
#include "write/sql_tokens.h"

namespace jet::write {
namespace {

constexpr int kAttrStart = 0, kAttrType = 1, kAttrParameter = 2, kAttrOptions = 3;
constexpr int kAttrInput = 5, kAttrColumn = 6, kAttrJoin = 7, kAttrWhere = 8, kAttrGroup = 9;
constexpr int kAttrHaving = 10, kAttrOrder = 11, kAttrEnd = 255;
constexpr int kTypeSelect = 1, kTypeUnion = 9;
// Options-row flags of a union: 1 is UNION ALL, 1 | 2 (distinct) is UNION.
constexpr int kUnionAll = 1, kUnionDistinct = 3;
// The names under which Access stores the two parts of a union's text.
constexpr const char* kUnionFirst = "X7YZ_____1";
constexpr const char* kUnionSecond = "X7YZ_____2";
constexpr int kMaxTextSize = 255;  // a Text parameter holds at most 255 characters

Status refused(const std::string& what) {
    return {ErrorCode::Unsupported, what};
}

QueryRow makeRow(int attribute) {
    QueryRow row;
    row.attribute = attribute;
    return row;
}

// Clause boundaries: token indexes of each clause's first token after its
// keyword(s), and where each ends.
struct Clauses {
    size_t selectBegin = 0, selectEnd = 0;
    size_t fromBegin = 0, fromEnd = 0;
    std::map<std::string, std::pair<size_t, size_t>> tail;  // WHERE, GROUP, HAVING, ORDER
    size_t parametersEnd = 0;                               // index of the ";" or 0
};

int parameterFlag(const std::string& type) {
    static const std::map<std::string, int> kFlags = {
        {"VALUE", 0},         {"BIT", 1},           {"BOOLEAN", 1},
        {"YESNO", 1},         {"LOGICAL", 1},       {"LOGICAL1", 1},
        {"BYTE", 2},          {"INTEGER1", 2},      {"SHORT", 3},
        {"SMALLINT", 3},      {"INTEGER2", 3},      {"LONG", 4},
        {"INT", 4},           {"INTEGER", 4},       {"INTEGER4", 4},
        {"COUNTER", 4},       {"AUTOINCREMENT", 4}, {"CURRENCY", 5},
        {"MONEY", 5},         {"IEEESINGLE", 6},    {"SINGLE", 6},
        {"REAL", 6},          {"FLOAT4", 6},        {"IEEEDOUBLE", 7},
        {"DOUBLE", 7},        {"FLOAT", 7},         {"FLOAT8", 7},
        {"NUMBER", 7},        {"NUMERIC", 7},       {"DATETIME", 8},
        {"DATE", 8},          {"TIME", 8},          {"TIMESTAMP", 8},
        {"BINARY", 9},        {"VARBINARY", 9},     {"TEXT", 10},
        {"CHAR", 10},         {"VARCHAR", 10},      {"STRING", 10},
        {"ALPHANUMERIC", 10}, {"CHARACTER", 10},    {"LONGBINARY", 11},
        {"OLEOBJECT", 11},    {"GENERAL", 11},      {"IMAGE", 11},
        {"MEMO", 12},         {"LONGTEXT", 12},     {"LONGCHAR", 12},
        {"NOTE", 12},         {"GUID", 15},         {"UNIQUEIDENTIFIER", 15},
        {"DECIMAL", 20},
    };
    auto it = kFlags.find(type);
    return it == kFlags.end() ? -1 : it->second;
}

class Decomposer {
  public:
    Decomposer(const std::string& sql, bool jet3) : sql_(sql), jet3_(jet3) {}

    Result<std::vector<QueryRow>> run() {
        auto tokens = tokenizeSql(sql_);
        if (!tokens) {
            return tokens.status();
        }
        t_ = std::move(*tokens);
        if (isUnion()) {
            return runUnion();
        }
        if (Status s = findClauses(); !s) {
            return s;
        }
        rows_.push_back(withFlag(makeRow(kAttrStart), 0));
        rows_.push_back(withFlag(makeRow(kAttrType), kTypeSelect));
        for (Status s : {addParameters(), addSelectList(), addFrom(), addTailClauses()}) {
            if (!s) {
                return s;
            }
        }
        rows_.push_back(makeRow(kAttrEnd));
        numberRows();
        return rows_;
    }

  private:
    static QueryRow withFlag(QueryRow row, int32_t flag) {
        row.flag = flag;
        return row;
    }

    bool topWord(size_t i, std::string_view word) const {
        return t_[i].depth == 0 && t_[i].isWord(word);
    }

    bool isUnion() const {
        for (size_t i = 0; i < t_.size(); ++i) {
            if (topWord(i, "UNION")) {
                return true;
            }
        }
        return false;
    }

    // Index of the first token after PARAMETERS ...; (0 without one).
    Result<size_t> skipParameters() {
        if (t_.empty() || !t_[0].isWord("PARAMETERS")) {
            return size_t(0);
        }
        size_t i = 0;
        while (i < t_.size() && !(t_[i].depth == 0 && t_[i].isSymbol(";"))) {
            ++i;
        }
        if (i == t_.size()) {
            return Result<size_t>(ErrorCode::Syntax, "Syntax error in PARAMETER clause.");
        }
        c_.parametersEnd = i;
        return i + 1;
    }

    // A union: the text before its last UNION and the last SELECT are stored
    // whole; ORDER BY after the last SELECT belongs to the whole union.
    Result<std::vector<QueryRow>> runUnion() {
        auto begin = skipParameters();
        if (!begin) {
            return begin.status();
        }
        size_t end = t_.size();
        if (end > *begin && t_[end - 1].depth == 0 && t_[end - 1].isSymbol(";")) {
            --end;
        }
        size_t last = 0, order = end;
        for (size_t i = *begin; i < end; ++i) {
            if (topWord(i, "UNION")) {
                last = i;
                order = end;
            } else if (last && topWord(i, "ORDER") && i + 1 < end && t_[i + 1].isWord("BY")) {
                order = i;
            }
        }
        const bool all = last + 1 < end && t_[last + 1].isWord("ALL");
        const size_t second = last + (all ? 2 : 1);
        if (last == *begin || second >= order) {
            return Result<std::vector<QueryRow>>(ErrorCode::Syntax,
                                                 "Syntax error in the UNION query.");
        }
        rows_.push_back(withFlag(makeRow(kAttrStart), 0));
        rows_.push_back(withFlag(makeRow(kAttrType), kTypeUnion));
        if (Status s = addParameters(); !s) {
            return s;
        }
        rows_.push_back(withFlag(makeRow(kAttrOptions), all ? kUnionAll : kUnionDistinct));
        for (const auto& [name, first, stop] :
             {std::tuple{kUnionFirst, *begin, last}, std::tuple{kUnionSecond, second, order}}) {
            QueryRow part = makeRow(kAttrInput);
            part.name2 = name;
            part.expression = tokenText(sql_, t_, first, stop);
            rows_.push_back(std::move(part));
        }
        if (order < end) {
            c_.tail["ORDER"] = {order + 2, end};
        }
        if (Status s = addTailClauses(); !s) {
            return s;
        }
        rows_.push_back(makeRow(kAttrEnd));
        numberRows();
        return rows_;
    }

    Status findClauses() {
        static const std::set<std::string> kRefused = {"INTO", "UNION", "TRANSFORM", "PIVOT",
                                                       "WITH"};
        auto begin = skipParameters();
        if (!begin) {
            return begin.status();
        }
        size_t i = *begin;
        if (i >= t_.size() || !t_[i].isWord("SELECT")) {
            return refused("Only a SELECT statement can be saved as a query.");
        }
        size_t end = t_.size();
        if (end > i && t_[end - 1].isSymbol(";") && t_[end - 1].depth == 0) {
            --end;
        }
        std::vector<std::pair<std::string, size_t>> marks;
        for (size_t k = i + 1; k < end; ++k) {
            if (t_[k].depth != 0 || t_[k].kind != SqlToken::Kind::Word) {
                continue;
            }
            if (kRefused.count(t_[k].upper)) {
                return refused("A query with " + t_[k].upper +
                               " cannot be saved; only a plain SELECT statement can.");
            }
            const bool by = k + 1 < end && t_[k + 1].isWord("BY");
            if (t_[k].upper == "FROM" || t_[k].upper == "WHERE" || t_[k].upper == "HAVING" ||
                ((t_[k].upper == "GROUP" || t_[k].upper == "ORDER") && by)) {
                marks.push_back({t_[k].upper, k});
            }
        }
        if (t_[end - 1].isSymbol(";")) {
            return {ErrorCode::Syntax, "Characters found after end of SQL statement."};
        }
        return placeClauses(i + 1, end, marks);
    }

    Status placeClauses(size_t selectBegin, size_t end,
                        const std::vector<std::pair<std::string, size_t>>& marks) {
        c_.selectBegin = selectBegin;
        c_.selectEnd = marks.empty() ? end : marks.front().second;
        for (size_t m = 0; m < marks.size(); ++m) {
            const auto& [word, at] = marks[m];
            const size_t begin = at + (word == "GROUP" || word == "ORDER" ? 2 : 1);
            const size_t stop = m + 1 < marks.size() ? marks[m + 1].second : end;
            if (word == "FROM") {
                c_.fromBegin = begin;
                c_.fromEnd = stop;
            } else if (!c_.tail.emplace(word, std::make_pair(begin, stop)).second) {
                return {ErrorCode::Syntax, "Syntax error: " + word + " appears twice."};
            }
            if (begin >= stop) {
                return {ErrorCode::Syntax, "Syntax error: " + word + " has nothing after it."};
            }
        }
        return Status::ok();
    }

    // Splits tokens [first, last) at depth-0 commas.
    std::vector<std::pair<size_t, size_t>> items(size_t first, size_t last) const {
        std::vector<std::pair<size_t, size_t>> out;
        size_t start = first;
        for (size_t k = first; k <= last; ++k) {
            if (k == last || (t_[k].depth == 0 && t_[k].isSymbol(","))) {
                out.push_back({start, k});
                start = k + 1;
            }
        }
        return out;
    }

    Status addParameters() {
        if (!c_.parametersEnd) {
            return Status::ok();
        }
        for (auto [first, last] : items(1, c_.parametersEnd)) {
            if (last - first < 2) {
                return {ErrorCode::Syntax, "Syntax error in PARAMETER clause."};
            }
            QueryRow row = makeRow(kAttrParameter);
            row.name1 = plainName(sql_, t_[first]);
            const int flag = parameterFlag(t_[first + 1].upper);
            if (flag < 0) {
                return {ErrorCode::Syntax, "Syntax error in PARAMETER clause: unknown type '" +
                                               tokenText(sql_, t_, first + 1, first + 2) + "'."};
            }
            row.flag = flag;
            if (flag == 10 && !jet3_ && first + 4 < last && t_[first + 2].isSymbol("(")) {
                const auto size = parseInt(t_[first + 3].upper);
                if (!size || *size < 0 || *size > kMaxTextSize) {
                    return {ErrorCode::Syntax, "Syntax error in PARAMETER clause: the size in '" +
                                                   tokenText(sql_, t_, first + 1, first + 5) +
                                                   "' is not a whole number from 0 to 255."};
                }
                row.lvExtra = *size;
            }
            rows_.push_back(std::move(row));
        }
        return Status::ok();
    }

    Status addSelectList() {
        size_t i = c_.selectBegin;
        int32_t options = 0;
        QueryRow optionRow = makeRow(kAttrOptions);
        for (bool more = true; more && i < c_.selectEnd;) {
            more = false;
            if (t_[i].isWord("DISTINCT"))
                options |= 2, ++i, more = true;
            else if (t_[i].isWord("DISTINCTROW"))
                options |= 8, ++i, more = true;
            else if (t_[i].isWord("ALL"))
                ++i, more = true;
            else if (t_[i].isWord("TOP") && i + 1 < c_.selectEnd) {
                options |= 16;
                optionRow.name1 = t_[i + 1].upper;
                i += 2;
                if (i < c_.selectEnd && t_[i].isWord("PERCENT"))
                    options |= 32, ++i;
                more = true;
            }
        }
        if (i >= c_.selectEnd) {
            return {ErrorCode::Syntax, "The SELECT statement has no fields."};
        }
        for (auto [first, last] : items(i, c_.selectEnd)) {
            if (first == last) {
                return {ErrorCode::Syntax, "Syntax error: an empty field in the SELECT list."};
            }
            if (last - first == 1 && t_[first].isSymbol("*")) {
                options |= 1;
                continue;
            }
            QueryRow row = makeRow(kAttrColumn);
            row.flag = 0;
            size_t exprEnd = last;
            if (last - first >= 3 && t_[last - 2].depth == 0 && t_[last - 2].isWord("AS")) {
                row.name1 = plainName(sql_, t_[last - 1]);
                exprEnd = last - 2;
            }
            row.expression = tokenText(sql_, t_, first, exprEnd);
            rows_.push_back(std::move(row));
        }
        optionRow.flag = options;
        rows_.insert(rows_.begin() + 2, std::move(optionRow));
        return Status::ok();
    }

    Status addFrom() {
        if (c_.fromBegin == 0) {
            return Status::ok();
        }
        auto list = parseFromClause(sql_, t_, c_.fromBegin, c_.fromEnd);
        if (!list) {
            return list.status();
        }
        std::vector<const FromSource*> leaves;
        std::vector<const FromSource*> joins;
        for (const auto& source : *list) {
            collect(*source, leaves, joins);
        }
        std::set<std::string> keys;
        for (const FromSource* leaf : leaves) {
            if (!keys.insert(upper(leaf->key())).second) {
                return {ErrorCode::Semantic, "The table '" + leaf->key() +
                                                 "' is listed twice in the FROM clause; give "
                                                 "one of them an alias."};
            }
            QueryRow row = makeRow(kAttrInput);
            row.name1 = leaf->name;
            if (!leaf->alias.empty()) {
                row.name2 = leaf->alias;
            }
            rows_.push_back(std::move(row));
        }
        for (const FromSource* join : joins) {
            QueryRow row = makeRow(kAttrJoin);
            row.name1 = pickSide(*join->left, join->conditionQualifiers);
            row.name2 = pickSide(*join->right, join->conditionQualifiers);
            row.expression = join->condition;
            row.flag = join->joinType;
            rows_.push_back(std::move(row));
        }
        return Status::ok();
    }

    static std::string upper(std::string s) {
        for (char& ch : s) {
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 32);
        }
        return s;
    }

    // Leaves in text order; joins in the order Jet evaluates them (operands first).
    static void collect(const FromSource& source, std::vector<const FromSource*>& leaves,
                        std::vector<const FromSource*>& joins) {
        if (!source.isJoin()) {
            leaves.push_back(&source);
            return;
        }
        collect(*source.left, leaves, joins);
        collect(*source.right, leaves, joins);
        joins.push_back(&source);
    }

    // The first table of `side` the condition names, else its first table.
    static std::string pickSide(const FromSource& side, const std::vector<std::string>& named) {
        std::vector<const FromSource*> leaves, joins;
        collect(side, leaves, joins);
        for (const std::string& name : named) {
            for (const FromSource* leaf : leaves) {
                if (upper(name) == upper(leaf->key())) {
                    return leaf->key();
                }
            }
        }
        return leaves.front()->key();
    }

    void addSingle(const char* word, int attribute) {
        if (auto it = c_.tail.find(word); it != c_.tail.end()) {
            QueryRow row = makeRow(attribute);
            row.expression = tokenText(sql_, t_, it->second.first, it->second.second);
            rows_.push_back(std::move(row));
        }
    }

    // WHERE, GROUP BY, HAVING, ORDER BY rows, in attribute order.
    Status addTailClauses() {
        addSingle("WHERE", kAttrWhere);
        if (auto it = c_.tail.find("GROUP"); it != c_.tail.end()) {
            for (auto [first, last] : items(it->second.first, it->second.second)) {
                QueryRow row = makeRow(kAttrGroup);
                row.expression = tokenText(sql_, t_, first, last);
                row.flag = 0;
                rows_.push_back(std::move(row));
            }
        }
        addSingle("HAVING", kAttrHaving);
        if (auto it = c_.tail.find("ORDER"); it != c_.tail.end()) {
            for (auto [first, last] : items(it->second.first, it->second.second)) {
                QueryRow row = makeRow(kAttrOrder);
                if (last - first >= 2 &&
                    (t_[last - 1].isWord("DESC") || t_[last - 1].isWord("ASC"))) {
                    if (t_[last - 1].isWord("DESC")) {
                        row.name1 = "D";
                    }
                    --last;
                }
                row.expression = tokenText(sql_, t_, first, last);
                rows_.push_back(std::move(row));
            }
        }
        for (const QueryRow& row : rows_) {
            if (row.expression && row.expression->empty()) {
                return {ErrorCode::Syntax, "Syntax error: an empty item in a clause."};
            }
        }
        return Status::ok();
    }

    // Order: a big-endian counter per attribute, from 1.
    void numberRows() {
        std::map<int, uint32_t> counters;
        for (QueryRow& row : rows_) {
            const uint32_t n = ++counters[row.attribute];
            row.order =
                std::vector<uint8_t>{static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                                     static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
        }
    }

    const std::string& sql_;
    bool jet3_;
    std::vector<SqlToken> t_;
    Clauses c_;
    std::vector<QueryRow> rows_;
};

// What the engine's own parser says about the statement: it must parse, and
// be a single SELECT.
Status checkWithParser(const std::string& sql) {
    auto parsed = sql::parseStatement(sql);
    if (!parsed) {
        if (parsed.status().code() == ErrorCode::ReadOnly) {
            return refused("Only a SELECT statement can be saved as a query; " +
                           parsed.status().message());
        }
        return parsed.status();
    }
    if (parsed->crosstab) {
        return refused("A crosstab (TRANSFORM) query cannot be saved.");
    }
    if (!parsed->query) {
        return refused("Only a SELECT statement can be saved as a query.");
    }
    if (parsed->query->parts.size() == 1 && !parsed->query->parts.front().tableName.empty()) {
        return refused("Only a SELECT statement can be saved as a query.");
    }
    return Status::ok();
}

}  // namespace

Result<DecomposedQuery> decomposeSelect(const std::string& sql, bool jet3) {
    if (Status status = checkWithParser(sql); !status) {
        return status;
    }
    auto rows = Decomposer(sql, jet3).run();
    if (!rows) {
        return rows.status();
    }
    auto info = rebuildQuery(*rows);
    if (!info) {
        return Result<DecomposedQuery>(
            ErrorCode::Unsupported,
            "The statement cannot be stored as a query: " + info.status().message());
    }
    // The rows must give back a statement the engine can run.
    if (auto again = sql::parseStatement(info->sql); !again) {
        return Result<DecomposedQuery>(ErrorCode::Unsupported,
                                       "The statement cannot be stored faithfully as a query (" +
                                           again.status().message() + ").");
    }
    const bool isUnion = info->kind == QueryKind::Union;
    return DecomposedQuery{std::move(*rows), info->sql, isUnion ? 128 : 0};
}

}  // namespace jet::write
