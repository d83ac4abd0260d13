#include "queries/stored_text_forms.h"

#include "queries/select_body.h"
#include "queries/sql_names.h"

namespace jet {
namespace {

// The names under which the two halves of a union's text are stored.
constexpr const char* kUnionFirst = "X7YZ_____1";
constexpr const char* kUnionSecond = "X7YZ_____2";

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n";
    size_t begin = text.find_first_not_of(space);
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(space) - begin + 1);
}

const QueryRow* unionPart(const QueryElements& elements, const char* name) {
    for (const QueryRow* row : elements.rows(kAttrInput)) {
        if (sameName(textOf(row->name2), name)) {
            return row;
        }
    }
    return nullptr;
}

}  // namespace

Result<std::string> unionQuerySql(const QueryElements& elements) {
    const QueryRow* first = unionPart(elements, kUnionFirst);
    const QueryRow* second = unionPart(elements, kUnionSecond);
    if (!first || !second) {
        return Result<std::string>(ErrorCode::Corrupt, "union query lacks its stored text");
    }
    std::string text = trimmed(textOf(first->expression)) + "\r\nUNION ";
    if (!elements.hasOption(kOptDistinct)) {
        text += "ALL ";
    }
    text += trimmed(textOf(second->expression));
    if (std::string order = orderByList(elements); !order.empty()) {
        text += "\r\nORDER BY " + order;
    }
    return text + queryEnd(elements);
}

Result<std::string> storedQuerySql(const QueryElements& elements) {
    const QueryRow* typeRow = elements.first(kAttrType);
    std::string text = typeRow ? textOf(typeRow->expression) : std::string();
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

}  // namespace jet
