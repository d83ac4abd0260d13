#include "sql/parameter_names.h"

#include "sql/token.h"

namespace jet::sql {

namespace {

std::string unbracketed(std::string part) {
    if (part.size() >= 2 && part.front() == '[' && part.back() == ']')
        return part.substr(1, part.size() - 2);
    return part;
}

// Splits at '!' and '.' outside brackets.
std::vector<std::string> referenceParts(const std::string& name) {
    std::vector<std::string> parts(1);
    bool inBracket = false;
    for (char c : name) {
        if (c == '[' || c == ']')
            inBracket = c == '[';
        if (!inBracket && (c == '!' || c == '.'))
            parts.emplace_back();
        else
            parts.back() += c;
    }
    for (std::string& part : parts)
        part = unbracketed(part);
    return parts;
}

}  // namespace

std::string referenceName(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts)
        out += (out.empty() ? "[" : "]![") + part;
    return out + "]";
}

bool isFormOrReport(const std::string& part) {
    const std::string upper = asciiUpper(part);
    return upper == "FORMS" || upper == "REPORTS";
}

std::string parameterName(const std::string& name) {
    if (name.find('!') == std::string::npos)
        return name;
    const std::vector<std::string> parts = referenceParts(name);
    if (parts.size() < 2 || !isFormOrReport(parts[0]))
        return name;
    for (const std::string& part : parts) {
        if (part.empty())
            return name;
    }
    return referenceName(parts);
}

}  // namespace jet::sql
