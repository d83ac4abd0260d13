// Saving and deleting saved queries (query definitions) in a Jet 3 or Jet 4
// .mdb file: the only place the engine writes into a database. Both calls
// run the safe procedure (lock-file check, advisory lock, temporary copy,
// full verification, backup "NAME.mdb.bak" if none exists, atomic rename);
// any failure leaves the file byte for byte as it was. Messages are written
// for the user ("A query named 'X' already exists in this database.").
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
};

// Stores `sql` (a SELECT statement) as a new query named `name`. Failures:
//   Invalid       bad or taken name;
//   Syntax        the statement does not parse (the parser's message);
//   Unsupported   not a plain SELECT, an .accdb file, or a file layout the
//                 writer does not change (the message says which);
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
