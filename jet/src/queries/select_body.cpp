#include "queries/select_body.h"

#include "queries/from_list.h"
#include "queries/sql_names.h"

namespace jet {
namespace {

const std::string kCrLf = "\r\n";

std::string joinExpressions(const std::vector<const QueryRow*>& rows) {
    std::string out;
    for (const QueryRow* row : rows) {
        out += (out.empty() ? "" : ", ") + textOf(row->expression);
    }
    return out;
}

std::string conditionClause(const QueryElements& elements, int attr, const char* keyword) {
    const QueryRow* row = elements.first(attr);
    if (!row || !hasText(row->expression)) {
        return {};
    }
    return kCrLf + keyword + *row->expression;
}

std::string selectList(const QueryElements& elements, const std::vector<const QueryRow*>& rows) {
    std::string out;
    for (const QueryRow* row : rows) {
        out += (out.empty() ? "" : ", ") + columnItem(*row);
    }
    if (elements.hasOption(kOptAllFields)) {
        out += out.empty() ? "*" : ", *";
    }
    return out;
}

std::string fromSourceDatabase(const QueryElements& elements) {
    const QueryRow* row = elements.first(kAttrSourceDatabase);
    if (!row) {
        return {};
    }
    // FROM ... IN '' is how Access marks the current database explicitly.
    std::string text = " IN '" + textOf(row->name1) + "'";
    return hasText(row->expression) ? text + " [" + *row->expression + "]" : text;
}

}  // namespace

std::string orderByList(const QueryElements& elements) {
    std::string out;
    for (const QueryRow* row : elements.rows(kAttrOrderBy)) {
        out += (out.empty() ? "" : ", ") + textOf(row->expression);
        if (sameName(textOf(row->name1), "D")) {
            out += " DESC";
        }
    }
    return out;
}

std::string selectPredicate(const QueryElements& elements) {
    std::string out;
    if (elements.hasOption(kOptDistinct)) {
        out = "DISTINCT ";
    } else if (elements.hasOption(kOptDistinctRow)) {
        out = "DISTINCTROW ";
    }
    if (elements.hasOption(kOptTop)) {
        out +=
            "TOP " + elements.topValue() + (elements.hasOption(kOptTopPercent) ? " PERCENT " : " ");
    }
    return out;
}

std::string columnItem(const QueryRow& row) {
    std::string item = textOf(row.expression);
    if (hasText(row.name1)) {
        item += " AS " + bracketPart(*row.name1);
    }
    return item;
}

Result<std::string> selectBody(const QueryElements& elements, const BodyRows& rows) {
    Result<std::string> from = buildFromList(elements);
    if (!from) {
        return from.status();
    }
    std::string text = selectPredicate(elements) + selectList(elements, rows.columns) + rows.into;
    if (!from->empty()) {
        text += kCrLf + "FROM " + *from + fromSourceDatabase(elements);
    }
    text += conditionClause(elements, kAttrWhere, "WHERE ");
    if (!rows.groupBy.empty()) {
        text += kCrLf + "GROUP BY " + joinExpressions(rows.groupBy);
    }
    text += conditionClause(elements, kAttrHaving, "HAVING ");
    if (std::string order = orderByList(elements); !order.empty()) {
        text += kCrLf + "ORDER BY " + order;
    }
    return text;
}

std::string inDatabase(const std::string& path, const std::string& type) {
    if (path.empty() && type.empty()) {
        return {};
    }
    std::string text = " IN '" + path + "'";
    return type.empty() ? text : text + " [" + type + "]";
}

std::string queryEnd(const QueryElements& elements) {
    return elements.hasOption(kOptOwnerAccess) ? kCrLf + "WITH OWNERACCESS OPTION;" : ";";
}

}  // namespace jet
