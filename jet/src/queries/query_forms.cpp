#include "queries/query_forms.h"

#include <vector>

#include "queries/from_list.h"
#include "queries/select_body.h"
#include "queries/sql_names.h"

namespace jet {
namespace {

const std::string kCrLf = "\r\n";

// Append rows flagged so hold the items of a VALUES list.
constexpr int32_t kValuesItem = 0x8000;

// Crosstab roles of column and GROUP BY rows.
constexpr int32_t kColumnHeading = 0x01;
constexpr int32_t kRowHeading = 0x02;

int32_t flagOf(const QueryRow* row) {
    return row->flag ? *row->flag : 0;
}

Result<std::string> withKeyword(const std::string& keyword, Result<std::string> body,
                                const QueryElements& elements) {
    if (!body) {
        return body.status();
    }
    return keyword + *body + queryEnd(elements);
}

// " IN 'path' [type]" of a make-table or append target database.
std::string targetDatabase(const QueryRow* typeRow) {
    return typeRow ? inDatabase(textOf(typeRow->name2), textOf(typeRow->expression))
                   : std::string();
}

std::string targetTable(const QueryElements& elements) {
    const QueryRow* typeRow = elements.first(kAttrType);
    return bracketName(typeRow ? textOf(typeRow->name1) : std::string()) + targetDatabase(typeRow);
}

std::string appendTargetColumns(const std::vector<const QueryRow*>& columns) {
    std::string list;
    for (const QueryRow* row : columns) {
        if (hasText(row->name2)) {
            list += (list.empty() ? "" : ", ") + bracketName(*row->name2);
        }
    }
    return list.empty() ? list : " ( " + list + " )";
}

}  // namespace

Result<std::string> selectQuerySql(const QueryElements& elements) {
    BodyRows rows{elements.rows(kAttrColumn), elements.rows(kAttrGroupBy), {}};
    return withKeyword("SELECT ", selectBody(elements, rows), elements);
}

Result<std::string> makeTableQuerySql(const QueryElements& elements) {
    BodyRows rows{elements.rows(kAttrColumn), elements.rows(kAttrGroupBy),
                  " INTO " + targetTable(elements)};
    return withKeyword("SELECT ", selectBody(elements, rows), elements);
}

Result<std::string> deleteQuerySql(const QueryElements& elements) {
    BodyRows rows{elements.rows(kAttrColumn), elements.rows(kAttrGroupBy), {}};
    return withKeyword("DELETE ", selectBody(elements, rows), elements);
}

Result<std::string> appendQuerySql(const QueryElements& elements) {
    std::vector<const QueryRow*> values, selected;
    for (const QueryRow* row : elements.rows(kAttrColumn)) {
        ((flagOf(row) & kValuesItem) ? values : selected).push_back(row);
    }
    std::string head = "INSERT INTO " + targetTable(elements);
    if (!values.empty()) {
        std::string items;
        for (const QueryRow* row : values) {
            items += (items.empty() ? "" : ", ") + textOf(row->expression);
        }
        return head + appendTargetColumns(values) + kCrLf + "VALUES (" + items + ")" +
               queryEnd(elements);
    }
    head += appendTargetColumns(selected) + kCrLf;
    BodyRows rows{selected, elements.rows(kAttrGroupBy), {}};
    return withKeyword(head + "SELECT ", selectBody(elements, rows), elements);
}

Result<std::string> updateQuerySql(const QueryElements& elements) {
    Result<std::string> from = buildFromList(elements);
    if (!from) {
        return from.status();
    }
    std::string text = "UPDATE " + *from;
    if (const QueryRow* source = elements.first(kAttrSourceDatabase)) {
        text += inDatabase(textOf(source->name1), textOf(source->expression));
    }
    std::string items;
    for (const QueryRow* row : elements.rows(kAttrColumn)) {
        items += (items.empty() ? "" : ", ") + bracketName(textOf(row->name2)) + " = " +
                 textOf(row->expression);
    }
    text += " SET " + items;
    if (const QueryRow* where = elements.first(kAttrWhere); where && hasText(where->expression)) {
        text += kCrLf + "WHERE " + *where->expression;
    }
    return text + queryEnd(elements);
}

Result<std::string> crosstabQuerySql(const QueryElements& elements) {
    std::vector<const QueryRow*> values, pivots, headings, groups;
    for (const QueryRow* row : elements.rows(kAttrColumn)) {
        int32_t role = flagOf(row);
        (role & kColumnHeading ? pivots : role & kRowHeading ? headings : values).push_back(row);
    }
    for (const QueryRow* row : elements.rows(kAttrGroupBy)) {
        if (!(flagOf(row) & kColumnHeading)) {
            groups.push_back(row);
        }
    }
    if (values.size() != 1 || pivots.size() != 1) {
        return Result<std::string>(ErrorCode::Corrupt,
                                   "crosstab query needs one value and one column heading, has " +
                                       std::to_string(values.size()) + " and " +
                                       std::to_string(pivots.size()));
    }
    Result<std::string> body = selectBody(elements, BodyRows{headings, groups, {}});
    if (!body) {
        return body.status();
    }
    return "TRANSFORM " + columnItem(*values.front()) + kCrLf + "SELECT " + *body + kCrLf +
           "PIVOT " + textOf(pivots.front()->expression) + queryEnd(elements);
}

}  // namespace jet
