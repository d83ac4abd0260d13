#include "db/connect_text.h"

#include <algorithm>
#include <cctype>

namespace db {

std::string ConnectText::forPassword(std::string_view password) {
    std::string text = "ODBC;UID=sa;PWD=";
    text.append(password);
    text.push_back(';');
    return text;
}

std::string ConnectText::password(std::string_view connect) {
    static constexpr std::string_view kKey = "PWD=";
    const auto upper = [](char c) { return char(std::toupper(static_cast<unsigned char>(c))); };
    // The key stands at the start or after a ";"; searching from the left
    // keeps a password that itself holds "PWD=" whole.
    for (std::size_t at = 0; at + kKey.size() <= connect.size(); ++at) {
        if (at > 0 && connect[at - 1] != ';') {
            continue;
        }
        const bool match = std::equal(kKey.begin(), kKey.end(), connect.begin() + long(at),
                                      [&](char k, char c) { return k == upper(c); });
        if (!match) {
            continue;
        }
        std::string_view value = connect.substr(at + kKey.size());
        if (!value.empty() && value.back() == ';') {
            value.remove_suffix(1);
        }
        return std::string(value);
    }
    return {};
}

}  // namespace db
