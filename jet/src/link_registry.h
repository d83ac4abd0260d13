// The other Access files a front-end reaches: back-ends of its linked tables
// and files named by FROM ... IN 'path'. Each is found once (the stored path
// as it is, the same file name in the front-end's folder, then the folders
// the user named; Windows drive and share paths by their file name), opened
// once with the front-end's password unless the link gives one, and shared by
// every database of the chain so that cycles meet the same objects.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jet/status.h"

namespace jet {

class Database;

// The files a stored link path may stand for on this machine, in the order
// they are tried: the path as stored when it is a path here, then its file
// name in `frontEndFolder`, then in each of `folders`.
std::vector<std::string> linkCandidates(const std::string& stored,
                                        const std::string& frontEndFolder,
                                        const std::vector<std::string>& folders);

// The first candidate that is a file; a file name differing only in letter
// case counts (Windows names are case-insensitive).
std::optional<std::string> findLinkedFile(const std::vector<std::string>& candidates);

// What a link's connect string names when it is not an Access file ("an Excel
// workbook", "a text file", "ODBC data source 'x'"); empty for Access files.
std::string linkedSourceName(const std::string& connect);

// The Access file a link names: the Database column, else DATABASE= of the
// connect string.
std::string linkedFilePath(const std::string& database, const std::string& connect);

class LinkRegistry {
  public:
    LinkRegistry(const Database& frontEnd, std::string password);
    LinkRegistry(const LinkRegistry&) = delete;
    LinkRegistry& operator=(const LinkRegistry&) = delete;
    ~LinkRegistry();

    void setFolders(std::vector<std::string> folders) { folders_ = std::move(folders); }
    const std::vector<std::string>& folders() const { return folders_; }
    // The file to read for the link path `stored`, tried before the others;
    // an empty `file` forgets it.
    void setFile(const std::string& stored, std::string file);

    // The database at `stored` as named by a link or IN clause of `from`
    // (whose folder is looked in), opened once. `password` empty: the
    // front-end's. NotFound names the file and where it was looked for.
    Result<const Database*> open(const std::string& stored, const std::string& password,
                                 const Database& from);

  private:
    const Database& frontEnd_;
    std::string password_;
    std::vector<std::string> folders_;
    std::map<std::string, std::string> files_;       // stored link path -> file chosen for it
    std::map<std::string, const Database*> byPath_;  // canonical path -> database
    std::vector<std::unique_ptr<Database>> owned_;
};

}  // namespace jet
