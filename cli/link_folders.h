// --link-dir DIR (repeatable, any command): folders where the back-ends of
// linked tables and the files of FROM ... IN are looked for, after the path
// the link stores and the database's own folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/database.h"

namespace cli {

// Removes every "--link-dir DIR" from `args` and keeps the folders for
// openDatabase. False (and `error` set) when one lacks its folder.
bool takeLinkFolders(std::vector<std::string>& args, std::string& error);

// Opens `path` with the link folders given on the command line.
jet::Result<std::unique_ptr<jet::Database>> openDatabase(
    const std::string& path, const std::string& password,
    jet::ReadMode mode = jet::ReadMode::Strict);

}  // namespace cli
