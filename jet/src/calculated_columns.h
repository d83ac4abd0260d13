// Calculated columns (ACE 14+) store their last result in a wrapper, typed
// by the column's "ResultType" property rather than by its descriptor. This
// reads those properties and unwraps the stored results.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "database_file.h"
#include "jet/table_def.h"
#include "jet/value.h"

namespace jet {

// Gives every calculated column of `tables` its result type and expression
// from the tables' property lists (MSysObjects.LvProp). A table whose
// properties cannot be read keeps the stored descriptors: its calculated
// values then read as the descriptor's type.
void resolveCalculatedColumns(const DatabaseFile& file, std::vector<TableDef>& tables);

// The stored result inside a calculated value's wrapper (16 bytes, a 4-byte
// length, the value, padding); the bytes as they are when there is no wrapper.
std::string_view unwrapCalculated(std::string_view stored);

// A calculated Decimal result: a 2-byte length, the scale, the sign, then the
// magnitude in 4-byte groups. False when the bytes do not hold one.
bool decodeCalculatedDecimal(std::string_view bytes, Decimal& out);

}  // namespace jet
