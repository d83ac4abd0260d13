#include "queries/sql_names.h"

#include <vector>

#include "sql/parser.h"

namespace jet {
namespace {

bool isPlainChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool isBracketed(std::string_view part) {
    return part.size() >= 2 && part.front() == '[' && part.back() == ']';
}

// Dots inside brackets belong to the name ("[Sales 1.5].Total" has two parts).
std::vector<std::string_view> splitAtDots(std::string_view name) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    bool inBracket = false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '[') {
            inBracket = true;
        } else if (name[i] == ']') {
            inBracket = false;
        } else if (name[i] == '.' && !inBracket) {
            parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(name.substr(start));
    return parts;
}

unsigned char lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

// Words the parser reads as keywords, and names that start with a digit,
// are only names inside brackets ("[Table]", "[2020]").
bool needsBrackets(std::string_view part) {
    if (part.empty() || (part.front() >= '0' && part.front() <= '9')) {
        return true;
    }
    std::string upper;
    for (unsigned char c : part) {
        if (!isPlainChar(c)) {
            return true;
        }
        upper.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
    }
    return sql::isReservedWord(upper);
}

}  // namespace

std::string bracketPart(std::string_view part) {
    if (isBracketed(part)) {
        return std::string(part);
    }
    return needsBrackets(part) ? "[" + std::string(part) + "]" : std::string(part);
}

std::string bracketName(std::string_view name) {
    std::string out;
    bool first = true;
    for (std::string_view part : splitAtDots(name)) {
        if (!first) {
            out += '.';
        }
        out += bracketPart(part);
        first = false;
    }
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace jet
