// The key bytes of one row in one index: per key column a flag byte and the
// encoded value, for the column types the system-table indexes use (Byte,
// Integer, Long, Binary, Text in the General collations).
#pragma once

#include <cstdint>
#include <vector>

#include "jet/status.h"
#include "jet/table_def.h"
#include "jet/value.h"
#include "write/table_layout.h"
#include "write/text_index_key.h"

namespace jet::write {

// `byNumber` holds the row's values indexed by row column number. Unsupported
// for a descending column, another column type, or text without plain codes.
// Text columns are keyed in `collation`.
Result<std::vector<uint8_t>> indexKey(const RealIndex& index, const TableDef& table,
                                      const std::vector<Value>& byNumber, NameCollation collation);
inline Result<std::vector<uint8_t>> indexKey(const RealIndex& index, const TableDef& table,
                                             const std::vector<Value>& byNumber, bool jet3) {
    return indexKey(index, table, byNumber, legacyCollation(jet3));
}

// Binary key encoding: 8-byte segments each followed by 9 ("more follows") or
// the count of bytes used in the last one.
void appendBinaryKey(const std::string& bytes, std::vector<uint8_t>& out);

}  // namespace jet::write
