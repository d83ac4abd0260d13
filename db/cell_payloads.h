// CellPayloads: makes the payloads of a result's binary and attachment cells
// while its rows are read (on the reader's worker thread). Binary values are
// kept whole until the result's kept bytes pass kKeptBytes, so a table of
// big pictures cannot fill memory; later values keep their first
// kPrefixBytes, enough for the hex view. Attachments keep only where their
// data is; the viewer reads it through the database when asked.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "jet/complex_value.h"
#include "sheet/cell_payload.h"

namespace jet {
class Database;
}

namespace db {

class Database;

class CellPayloads {
  public:
    static constexpr uint64_t kKeptBytes = uint64_t{256} << 20;
    static constexpr std::size_t kPrefixBytes = std::size_t{64} << 10;

    // `database`: the open database the result came from (may be empty: then
    // attachments say the database is closed); `holder`: the engine whose
    // file holds the attachments' data (Recordset::complexDatabase).
    CellPayloads(std::weak_ptr<const Database> database, const jet::Database* holder);

    std::shared_ptr<const sheet::CellPayload> binary(std::string_view bytes);
    // Null when the cell is not an attachment cell or holds no file.
    std::shared_ptr<const sheet::CellPayload> attachments(const jet::ComplexCell& cell) const;
    bool readsAttachments() const { return holder_ != nullptr; }

  private:
    std::weak_ptr<const Database> database_;
    const jet::Database* holder_;
    uint64_t kept_ = 0;
};

}  // namespace db
