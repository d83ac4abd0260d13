#include "link_folders.h"

namespace cli {

namespace {

std::vector<std::string>& linkFolders() {
    static std::vector<std::string> folders;
    return folders;
}

}  // namespace

bool takeLinkFolders(std::vector<std::string>& args, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--link-dir") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "--link-dir needs a folder";
            return false;
        }
        linkFolders().push_back(args[++i]);
    }
    args = std::move(rest);
    return true;
}

jet::Result<std::unique_ptr<jet::Database>> openDatabase(const std::string& path,
                                                         const std::string& password,
                                                         jet::ReadMode mode) {
    auto db = jet::Database::open(path, password, mode);
    if (db)
        (*db)->setLinkFolders(linkFolders());
    return db;
}

}  // namespace cli
