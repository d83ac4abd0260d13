#include "queries/from_list.h"

#include <memory>
#include <string>
#include <vector>

#include "queries/sql_names.h"

namespace jet {
namespace {

// A table (or query) in the FROM list, or a join of two such sources.
struct Source {
    std::string text;  // a plain source's rendering
    std::string key;   // alias, else name: what join rows refer to
    std::unique_ptr<Source> left;
    std::unique_ptr<Source> right;
    int joinType = 0;  // 0 for a plain source
    std::vector<std::string> conditions;

    bool isJoin() const { return joinType != 0; }
    bool contains(const std::string& name) const {
        if (isJoin()) {
            return left->contains(name) || right->contains(name);
        }
        return sameName(key, name);
    }
};

using SourceList = std::vector<std::unique_ptr<Source>>;

// Access allows 32 tables in a query; anything far beyond is a damaged file,
// and the nesting depth of the join tree must stay bounded.
constexpr size_t kMaxJoins = 1024;

std::unique_ptr<Source> plainSource(const QueryRow& row) {
    auto source = std::make_unique<Source>();
    if (hasText(row.expression)) {
        source->text = "[" + *row.expression + "].";
    }
    source->text += bracketName(textOf(row.name1));
    if (hasText(row.name2)) {
        source->text += " AS " + bracketPart(*row.name2);
        source->key = *row.name2;
    } else {
        source->key = textOf(row.name1);
    }
    return source;
}

std::unique_ptr<Source> namedSource(const std::string& name) {
    auto source = std::make_unique<Source>();
    source->text = bracketName(name);
    source->key = name;
    return source;
}

// Where a join row's two names are found in `list`: indexes, or -1. When one
// source holds both names, `right` equals `left`.
struct Sides {
    long left = -1;
    long right = -1;
};

Sides findSides(const SourceList& list, const std::string& leftName, const std::string& rightName) {
    Sides sides;
    for (size_t i = 0; i < list.size() && (sides.left < 0 || sides.right < 0); ++i) {
        if (sides.left < 0 && list[i]->contains(leftName)) {
            sides.left = static_cast<long>(i);
            if (list[i]->contains(rightName)) {
                sides.right = sides.left;
            }
        } else if (sides.right < 0 && list[i]->contains(rightName)) {
            sides.right = static_cast<long>(i);
        }
    }
    return sides;
}

std::unique_ptr<Source> takeOrMake(SourceList& list, long index, const std::string& name) {
    return index < 0 ? namedSource(name) : std::move(list[index]);
}

Status addJoin(SourceList& list, const QueryRow& row) {
    int type = row.flag ? *row.flag : 0;
    std::string leftName = textOf(row.name1), rightName = textOf(row.name2);
    if (type < 1 || type > 3) {
        return {ErrorCode::Corrupt, "join of '" + leftName + "' and '" + rightName +
                                        "' has unknown type " + std::to_string(type)};
    }
    Sides sides = findSides(list, leftName, rightName);
    if (sides.left >= 0 && sides.left == sides.right) {
        Source& join = *list[sides.left];
        if (!join.isJoin() || join.joinType != type) {
            return {ErrorCode::Corrupt,
                    "joins of '" + leftName + "' and '" + rightName + "' contradict each other"};
        }
        join.conditions.insert(join.conditions.begin(), textOf(row.expression));
        return Status::ok();
    }
    auto join = std::make_unique<Source>();
    join->left = takeOrMake(list, sides.left, leftName);
    join->right = takeOrMake(list, sides.right, rightName);
    join->joinType = type;
    join->conditions.push_back(textOf(row.expression));
    std::erase_if(list, [](const std::unique_ptr<Source>& s) { return !s; });
    list.push_back(std::move(join));
    return Status::ok();
}

std::string render(const Source& source, bool nested) {
    if (!source.isJoin()) {
        return source.text;
    }
    static const char* const kJoinWords[] = {"", " INNER JOIN ", " LEFT JOIN ", " RIGHT JOIN "};
    std::string on;
    if (source.conditions.size() == 1) {
        on = source.conditions.front();
    } else {
        for (const std::string& condition : source.conditions) {
            on += (on.empty() ? "(" : " AND (") + condition + ")";
        }
    }
    std::string text = render(*source.left, true) + kJoinWords[source.joinType] +
                       render(*source.right, true) + " ON " + on;
    return nested ? "(" + text + ")" : text;
}

}  // namespace

Result<std::string> buildFromList(const QueryElements& elements) {
    SourceList list;
    for (const QueryRow* row : elements.rows(kAttrInput)) {
        list.push_back(plainSource(*row));
    }
    std::vector<const QueryRow*> joins = elements.rows(kAttrJoin);
    if (joins.size() > kMaxJoins) {
        return Result<std::string>(ErrorCode::Corrupt, "query has " + std::to_string(joins.size()) +
                                                           " joins, more than Access allows");
    }
    for (const QueryRow* row : joins) {
        if (Status status = addJoin(list, *row); !status) {
            return status;
        }
    }
    std::string text;
    for (const auto& source : list) {
        text += (text.empty() ? "" : ", ") + render(*source, false);
    }
    return text;
}

}  // namespace jet
