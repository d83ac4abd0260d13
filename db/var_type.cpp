#include "db/var_type.h"

namespace db {

int VarType::of(jet::ValueType type) {
    using T = jet::ValueType;
    switch (type) {
        case T::Boolean:
            return kBoolean;
        case T::Byte:
            return kByte;
        case T::Integer:
            return kInteger;
        case T::Long:
            return kLong;
        case T::BigInt:
            return kLongLong;
        case T::Currency:
            return kCurrency;
        case T::Single:
            return kSingle;
        case T::Double:
            return kDouble;
        case T::DateTime:
            return kDate;
        case T::Decimal:
            return kDecimal;
        case T::Binary:
        case T::Unsupported:
            return kByteArray;
        case T::Text:
        case T::Guid:
        case T::Null:
            break;
    }
    return kString;
}

}  // namespace db
