// The values behind one cell of an ACE complex column: the attachments, the
// list of a multi-value field, or the versions of an append-only memo.
// Access keeps them in a hidden table per column; a row holds only a key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/value.h"

namespace jet {

enum class ComplexKind {
    Attachment,      // files with name, type, URL, time stamp, flags and bytes
    MultiValue,      // a list of values of one type
    VersionHistory,  // the texts an append-only memo held over time
    Unknown,         // a value table of a shape this reader does not know
};

struct Attachment {
    std::string name;  // FileName, as stored: untrusted for use as a path
    std::string type;  // FileType: the extension Access recorded
    std::string url;   // FileURL
    Value timeStamp;   // FileTimeStamp (Date/Time or Null)
    Value flags;       // FileFlags (Long or Null)
    // The FileData field as the row stores it (a long-value reference);
    // Database::attachmentData turns it into the file's bytes.
    std::string storedData;
};

struct ComplexCell {
    ComplexKind kind = ComplexKind::Unknown;
    // What the sheet, CSV and SQL show: attachments' names joined by "; ",
    // multi-values joined by ", ", the newest version of a memo.
    std::string text;
    std::vector<Attachment> attachments;  // Attachment kind
    std::vector<Value> values;            // MultiValue and Unknown kinds: one per value row
};

}  // namespace jet
