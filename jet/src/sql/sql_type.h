// The static type of a column or expression as the translator tracks it, so
// that dates stay dates and Yes/No stays Boolean through SQLite, where both
// are plain numbers.
#pragma once

#include <cstdint>
#include <string>

#include "jet/value.h"

namespace jet::sql {

enum class SqlType : uint8_t {
    Null,
    Boolean,  // stored -1 / 0
    Byte,
    Integer,
    Long,
    BigInt,
    Currency,  // stored as a double
    Single,
    Double,
    Decimal,  // stored as a double
    Date,     // stored as the double serial
    Text,
    Memo,
    Binary,
    Guid,     // stored as "{...}" text
    Variant,  // unknown until a row is read
};

bool isNumeric(SqlType t);   // Boolean .. Decimal
bool isTextType(SqlType t);  // Text, Memo, Guid
bool isIntegral(SqlType t);  // Boolean .. BigInt
// The wider of two numeric types (VBA order of precision).
SqlType widerNumeric(SqlType a, SqlType b);
// The type a Jet column type code reads as.
SqlType typeOfColumn(uint8_t jetTypeCode);
// The record-set value type for a static type; Variant maps to Null
// (decided per row).
ValueType valueTypeOf(SqlType t);
// The SQLite column declaration for a virtual table column of this type.
const char* sqliteDeclaration(SqlType t);
// A PARAMETERS type name ("Text ( 255 )", "Long", "DateTime") as a type;
// Variant for "Value" or an unknown name.
SqlType typeOfParameterName(const std::string& typeName);

}  // namespace jet::sql
