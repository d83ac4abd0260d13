// The data type codes a sheet column carries for a database field: the
// VarType numbers of the field's values (Boolean 11, Long 3, Text 8, ...).
// Columns loaded from text files and the flag column carry 0.
#pragma once

#include "jet/value.h"
#include "sheet/column_types.h"

namespace db {

class VarType {
  public:
    static constexpr int kEmpty = sheet::kEmptyType;
    static constexpr int kInteger = 2;
    static constexpr int kLong = 3;
    static constexpr int kSingle = 4;
    static constexpr int kDouble = 5;
    static constexpr int kCurrency = 6;
    static constexpr int kDate = sheet::kDateType;
    static constexpr int kString = sheet::kTextType;
    static constexpr int kBoolean = sheet::kBooleanType;
    static constexpr int kDecimal = 14;
    static constexpr int kByte = 17;
    static constexpr int kLongLong = 20;
    static constexpr int kByteArray = sheet::kByteArrayType;  // vbArray + vbByte: Binary and OLE

    static int of(jet::ValueType type);
};

}  // namespace db
