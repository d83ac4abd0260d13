#include "link_registry.h"

#include <filesystem>
#include <system_error>

#include "jet/database.h"

namespace jet {

namespace {

namespace filesystem = std::filesystem;

bool isWindowsPath(const std::string& stored) {
    const bool drive =
        stored.size() >= 2 && stored[1] == ':' &&
        ((stored[0] >= 'A' && stored[0] <= 'Z') || (stored[0] >= 'a' && stored[0] <= 'z'));
    return drive || stored.find('\\') != std::string::npos;
}

std::string fileNameOf(const std::string& stored) {
    const std::size_t slash = stored.find_last_of("\\/");
    return slash == std::string::npos ? stored : stored.substr(slash + 1);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

bool isFile(const filesystem::path& p) {
    std::error_code ec;
    return filesystem::is_regular_file(p, ec);
}

std::string canonical(const std::string& path) {
    std::error_code ec;
    const filesystem::path c = filesystem::weakly_canonical(path, ec);
    return ec ? path : c.string();
}

}  // namespace

std::vector<std::string> linkCandidates(const std::string& stored,
                                        const std::string& frontEndFolder,
                                        const std::vector<std::string>& folders) {
    std::vector<std::string> out;
    const std::string name = fileNameOf(stored);
    if (name.empty())
        return out;
    if (!isWindowsPath(stored))
        out.push_back(filesystem::path(stored).is_absolute()
                          ? stored
                          : (filesystem::path(frontEndFolder) / stored).string());
    out.push_back((filesystem::path(frontEndFolder) / name).string());
    for (const std::string& folder : folders)
        out.push_back((filesystem::path(folder) / name).string());
    return out;
}

std::optional<std::string> findLinkedFile(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        if (isFile(candidate))
            return candidate;
        const filesystem::path p(candidate);
        std::error_code ec;
        filesystem::directory_iterator it(
            p.parent_path().empty() ? filesystem::path(".") : p.parent_path(), ec);
        for (; !ec && it != filesystem::directory_iterator(); it.increment(ec)) {
            if (sameIgnoringCase(it->path().filename().string(), p.filename().string()) &&
                isFile(it->path()))
                return it->path().string();
        }
    }
    return std::nullopt;
}

std::string linkedSourceName(const std::string& connect) {
    std::string type = connect.substr(0, connect.find(';'));
    while (!type.empty() && type.back() == ' ')
        type.pop_back();
    std::string upper = type;
    for (char& c : upper)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    if (upper.empty() || upper == "MS ACCESS")
        return {};
    if (upper.rfind("ODBC", 0) == 0)
        return "an ODBC data source";
    if (upper.rfind("EXCEL", 0) == 0)
        return "an Excel workbook";
    if (upper == "TEXT")
        return "a text file";
    if (upper.rfind("HTML", 0) == 0)
        return "an HTML file";
    if (upper.rfind("DBASE", 0) == 0)
        return "a dBASE file";
    if (upper.rfind("PARADOX", 0) == 0)
        return "a Paradox file";
    if (upper.rfind("WSS", 0) == 0)
        return "a SharePoint list";
    return "a '" + type + "' source";
}

std::string linkedFilePath(const std::string& database, const std::string& connect) {
    if (!database.empty())
        return database;
    std::string upper = connect;
    for (char& c : upper)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    const std::size_t at = upper.find("DATABASE=");
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + 9, end = connect.find(';', start);
    return connect.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

LinkRegistry::LinkRegistry(const Database& frontEnd, std::string password)
    : frontEnd_(frontEnd), password_(std::move(password)) {}

LinkRegistry::~LinkRegistry() = default;

void LinkRegistry::setFile(const std::string& stored, std::string file) {
    if (file.empty())
        files_.erase(stored);
    else
        files_[stored] = std::move(file);
}

Result<const Database*> LinkRegistry::open(const std::string& stored, const std::string& password,
                                           const Database& from) {
    const std::string frontEndFolder = filesystem::path(from.path()).parent_path().string();
    std::vector<std::string> candidates = linkCandidates(stored, frontEndFolder, folders_);
    if (const auto chosen = files_.find(stored); chosen != files_.end())
        candidates.insert(candidates.begin(), chosen->second);
    const auto found = findLinkedFile(candidates);
    if (!found) {
        std::string where =
            "'" + (frontEndFolder.empty() ? std::string(".") : frontEndFolder) + "'";
        for (const std::string& folder : folders_)
            where += ", '" + folder + "'";
        return Status(ErrorCode::NotFound, "Cannot find the database '" + stored +
                                               "' (looked for '" + fileNameOf(stored) + "' in " +
                                               where + ").");
    }
    const std::string key = canonical(*found);
    if (byPath_.empty())
        byPath_[canonical(frontEnd_.path())] = &frontEnd_;
    if (auto it = byPath_.find(key); it != byPath_.end())
        return it->second;
    auto opened = Database::open(*found, password.empty() ? password_ : password);
    if (!opened) {
        if (opened.status().code() == ErrorCode::BadPassword)
            return Status(
                ErrorCode::BadPassword,
                "The database '" + *found +
                    "' needs another password than the one this database was opened with.");
        return opened.status();
    }
    (*opened)->shareLinks(this);
    owned_.push_back(std::move(opened.value()));
    byPath_[key] = owned_.back().get();
    return owned_.back().get();
}

}  // namespace jet
