#include "queries/output_fields.h"

#include <optional>
#include <string_view>

namespace jet {
namespace {

bool isNameChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c >= 0x80;
}

// Reads one name part at `pos` ("[Unit Price]" or "col1"); advances `pos`.
std::optional<std::string> readPart(std::string_view text, size_t& pos) {
    if (pos < text.size() && text[pos] == '[') {
        size_t close = text.find(']', pos + 1);
        if (close == std::string_view::npos || close == pos + 1) {
            return std::nullopt;
        }
        std::string part(text.substr(pos + 1, close - pos - 1));
        pos = close + 1;
        return part;
    }
    size_t start = pos;
    while (pos < text.size() && isNameChar(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    if (pos == start) {
        return std::nullopt;
    }
    return std::string(text.substr(start, pos - start));
}

// The last part of "a.b.c" when the whole text is such a reference.
std::optional<std::string> referencedColumn(std::string_view text) {
    size_t pos = 0;
    std::optional<std::string> part;
    while (true) {
        part = readPart(text, pos);
        if (!part) {
            return std::nullopt;
        }
        if (pos == text.size()) {
            return part;
        }
        if (text[pos] != '.' && text[pos] != '!') {
            return std::nullopt;
        }
        ++pos;
    }
}

bool isStar(std::string_view text) {
    return text == "*" || (text.size() > 2 && text.substr(text.size() - 2) == ".*");
}

}  // namespace

std::vector<std::string> outputFieldNames(const QueryElements& elements) {
    std::vector<std::string> names;
    int unnamed = 1000;
    for (const QueryRow* row : elements.rows(kAttrColumn)) {
        std::string expression = textOf(row->expression);
        if (hasText(row->name1)) {
            names.push_back(*row->name1);
        } else if (isStar(expression)) {
            names.push_back(expression);
        } else if (std::optional<std::string> column = referencedColumn(expression)) {
            names.push_back(*column);
        } else {
            names.push_back("Expr" + std::to_string(unnamed++));
        }
    }
    if (elements.hasOption(kOptAllFields)) {
        names.push_back("*");
    }
    return names;
}

}  // namespace jet
