// Builds the stored bytes of one table row from its values: column count,
// fixed area (space for every fixed column, NULL or not), variable data,
// offset table and null mask, in the Jet 4 or the Jet 3 layout. Jet 3 rows
// are limited to 256 bytes, which keeps them free of a jump table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "jet/status.h"
#include "jet/table_def.h"
#include "jet/value.h"
#include "text_decoder.h"

namespace jet::write {

class RowEncoder {
  public:
    RowEncoder(const TableDef& table, bool jet3, const CodePageDecoder& codePage)
        : table_(table), jet3_(jet3), codePage_(codePage) {}

    // `byNumber` holds a value per row column number (missing ones are NULL).
    // Text and Binary columns take Value::text / Value::binary; Memo and OLE
    // columns take their 12-byte long-value field (plus inline data) as
    // Value::binary; Boolean columns go to the null mask.
    Result<std::vector<uint8_t>> encode(const std::vector<Value>& byNumber) const;

    // The stored form of a text value: UCS-2 in Jet 4, code-page bytes in
    // Jet 3. Invalid when a character cannot be stored.
    Result<std::string> storedText(std::string_view utf8) const;

  private:
    Result<std::string> variableBytes(const Column& column, const Value& value) const;
    void putFixed(const Column& column, const Value& value, uint8_t* at) const;
    uint32_t fixedAreaSize() const;

    const TableDef& table_;
    bool jet3_;
    const CodePageDecoder& codePage_;
};

// UTF-8 to UTF-16 little-endian bytes; false on malformed UTF-8.
bool utf8ToUcs2le(std::string_view utf8, std::string& out);

}  // namespace jet::write
