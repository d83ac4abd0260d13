#include "queries/sql_names.h"

#include <vector>

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

}  // namespace

std::string bracketPart(std::string_view part) {
    if (isBracketed(part)) {
        return std::string(part);
    }
    for (unsigned char c : part) {
        if (!isPlainChar(c)) {
            return "[" + std::string(part) + "]";
        }
    }
    return std::string(part);
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
