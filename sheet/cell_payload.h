// CellPayload: what a cell of a database result holds beyond its text: the
// bytes of a binary (OLE Object) value, or the files of an attachment cell.
// A payload never changes once made and is shared: sorting, moving rows and
// undo pass the same one around. Editing the cell's text drops it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "jet/status.h"

namespace sheet {

// One file of an attachment cell. Its bytes stay in the database until asked
// for; the readers fail with a reason once that database has been closed.
struct CellAttachment {
    std::string name;  // as stored: untrusted as a path
    std::string type;  // the extension Access recorded
    std::function<jet::Result<uint64_t>()> size;
    std::function<jet::Result<std::string>()> read;
};

struct CellPayload {
    enum class Kind { Binary, Attachments };

    Kind kind = Kind::Binary;
    // Binary: the value's bytes, or only its first part when the result's
    // binary values were too many to keep whole (then bytes.size() < size).
    std::string bytes;
    uint64_t size = 0;
    std::vector<CellAttachment> attachments;

    bool complete() const { return bytes.size() == size; }
};

// A size in B, KB, MB or GB (of 1024), with one decimal above bytes:
// "512 B", "12.3 KB".
std::string byteSizeText(uint64_t size);
// What a binary cell shows in the sheet: "(binary, 12.3 KB)".
std::string binaryCellText(uint64_t size);

}  // namespace sheet
