// Saving and deleting saved queries (query definitions) in a Jet 3, Jet 4 or
// ACE (.accdb) file: the only place the engine writes into a database. Both
// calls run the safe procedure (lock-file check, advisory lock, a streamed
// temporary copy with the changed pages, verification of those pages and
// the catalog, atomic exchange, the old file kept as "NAME.bak" if asked and
// none exists); any failure leaves the file byte for byte as it was. A
// symbolic link is followed: the file it names is changed, the link stays.
// Messages are written for the user ("A query named 'X' already exists in
// this database.").
#pragma once

#include <string>

#include "jet/status.h"

namespace jet {

namespace write {
class FileSystem;
}

struct QueryWriteOptions {
    std::string password;                     // the database password, if it has one
    write::FileSystem* fileSystem = nullptr;  // tests inject faults here; null: the real one
    bool keepBackup = true;  // keep the file as it was in "NAME.bak" when no such file exists
};

// Where a save keeps the database as it was: "PATH.bak" beside the file the
// path names (through symbolic links).
std::string queryBackupPath(const std::string& path);

// Stores `sql` (a SELECT statement) as a new query named `name`. Failures:
//   Invalid       bad or taken name;
//   Syntax        the statement does not parse (the parser's message);
//   Unsupported   not a SELECT or UNION, an encryption the writer cannot
//                 write, or a file layout it does not change (the message
//                 says which);
//   Syntax, Semantic, Parameter  the statement would not run (the engine's
//                 own message: it is prepared before anything is written);
//   Io            lock file present, read-only file or folder, another
//                 program changed the file, a write failed;
//   Corrupt       the written copy failed verification (the file is unchanged).
Status createQueryDef(const std::string& path, const std::string& name, const std::string& sql,
                      const QueryWriteOptions& options = {});

// Deletes the saved query `name`. NotFound when there is none; Invalid when
// the name belongs to a table; otherwise as createQueryDef.
Status deleteQueryDef(const std::string& path, const std::string& name,
                      const QueryWriteOptions& options = {});

}  // namespace jet
