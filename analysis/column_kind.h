// Which sheet columns the statistics treat as numbers. Text, date, Boolean
// and binary columns and the flag column are not numeric; every other column is,
// whatever its type (columns loaded from delimited text carry no type).
#pragma once

#include "sheet/column_types.h"

namespace analysis {

using sheet::kBooleanType;
using sheet::kByteArrayType;
using sheet::kDateType;
using sheet::kTextType;

// `isFlagColumn`: the column is the flag column while the flag column is
// present.
bool isNumericColumn(int dataType, bool isFlagColumn);

}  // namespace analysis
