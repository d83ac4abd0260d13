#include "attachment_file_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace cli {
namespace {

constexpr size_t kMaxNameBytes = 200;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Names Windows reserves for devices, with or without an extension; a file
// carrying one cannot be opened there, so it gets a prefix everywhere.
bool isDeviceName(const std::string& name) {
    static const std::array<std::string_view, 6> plain = {"con", "prn",    "aux",
                                                          "nul", "conin$", "conout$"};
    const std::string stem = lower(name.substr(0, name.find('.')));
    if (std::find(plain.begin(), plain.end(), stem) != plain.end())
        return true;
    return stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

std::string cleaned(const std::string& stored) {
    const size_t slash = stored.find_last_of("/\\");
    std::string name = slash == std::string::npos ? stored : stored.substr(slash + 1);
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            c = '_';
    }
    // Leading dots would hide the file or make ".."; trailing dots and
    // spaces are dropped by Windows.
    name.erase(0, name.find_first_not_of(". "));
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    if (name.size() > kMaxNameBytes) {
        size_t cut = kMaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;  // keep whole UTF-8 characters
        name.resize(cut);
    }
    if (name.empty())
        return "attachment";
    return isDeviceName(name) ? "_" + name : name;
}

}  // namespace

std::string AttachmentFileNames::next(const std::string& stored) {
    const std::string base = cleaned(stored);
    std::string name = base;
    const size_t dot = base.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
    const std::string ext = stem.size() == base.size() ? "" : base.substr(stem.size());
    for (int n = 2; given_.count(lower(name)); ++n)
        name = stem + " (" + std::to_string(n) + ")" + ext;
    given_.insert(lower(name));
    return name;
}

}  // namespace cli
