#include "write/query_name_rules.h"

#include <cctype>
#include <string_view>

#include "write/text_index_key.h"

namespace jet::write {
namespace {

size_t characterCount(std::string_view s) {
    size_t count = 0;
    for (char c : s) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

Status invalid(const std::string& name, const std::string& why) {
    return {ErrorCode::Invalid, "'" + name + "' is not a valid query name: " + why};
}

std::string folded(const std::string& s) {
    std::string out = s;
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

Status checkQueryName(const std::string& name, bool jet3) {
    if (name.find_first_not_of(' ') == std::string::npos) {
        return {ErrorCode::Invalid, "A query name cannot be empty."};
    }
    if (characterCount(name) > 64) {
        return invalid(name, "it is longer than 64 characters.");
    }
    if (name.front() == ' ') {
        return invalid(name, "it begins with a space.");
    }
    if (name.front() == '~' || folded(name.substr(0, 4)) == "msys") {
        return invalid(name, "names beginning with '~' or 'MSys' are reserved for Access.");
    }
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::string_view(".!`[]").find(c) != std::string_view::npos) {
            return invalid(name, "it may not contain . ! ` [ ] or control characters.");
        }
    }
    for (char c : name) {
        if (!hasPlainIndexCode(c, jet3)) {
            const std::string shown = static_cast<unsigned char>(c) >= 0x80
                                          ? "non-ASCII letters"
                                          : std::string("'") + c + "'";
            return invalid(name, "this program cannot yet store names with " + shown +
                                     " in this database; use letters, digits, spaces and "
                                     "simple punctuation.");
        }
    }
    return Status::ok();
}

bool sameObjectName(const std::string& a, const std::string& b) {
    return folded(a) == folded(b);
}

}  // namespace jet::write
