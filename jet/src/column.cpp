#include "jet/column.h"
#include <algorithm>

namespace jet {

bool Column::isAutoNumber() const {
    return (typeCode == 0x04 && (flags & 0x04)) || (typeCode == 0x0F && (flags & 0x40));
}

ValueType Column::valueType() const {
    switch (type()) {
        case ColumnType::Boolean:
            return ValueType::Boolean;
        case ColumnType::Byte:
            return ValueType::Byte;
        case ColumnType::Integer:
            return ValueType::Integer;
        case ColumnType::Long:
            return ValueType::Long;
        case ColumnType::Currency:
            return ValueType::Currency;
        case ColumnType::Single:
            return ValueType::Single;
        case ColumnType::Double:
            return ValueType::Double;
        case ColumnType::DateTime:
            return ValueType::DateTime;
        case ColumnType::Text:
        case ColumnType::Memo:
            return ValueType::Text;
        case ColumnType::Guid:
            return ValueType::Guid;
        case ColumnType::Decimal:
            return ValueType::Decimal;
        case ColumnType::BigInt:
            return ValueType::BigInt;
        case ColumnType::DateTimeExtended:
            return ValueType::DateTime;
        case ColumnType::Complex:
            return ValueType::Unsupported;
        default:
            return ValueType::Binary;
    }
}

int Column::daoType() const {
    switch (type()) {
        case ColumnType::Guid:
            return 15;
        case ColumnType::Decimal:
            return 20;
        case ColumnType::BigInt:
            return 16;
        case ColumnType::Complex:
            return 104;  // dbComplexLong and friends: shown as a key
        case ColumnType::DateTimeExtended:
            return 26;
        default:
            return typeCode <= 0x0C ? typeCode : 9;
    }
}

int fixedSize(ColumnType type) {
    switch (type) {
        case ColumnType::Boolean:
        case ColumnType::Byte:
            return 1;
        case ColumnType::Integer:
            return 2;
        case ColumnType::Long:
        case ColumnType::Single:
        case ColumnType::Complex:
            return 4;
        case ColumnType::Currency:
        case ColumnType::Double:
        case ColumnType::DateTime:
        case ColumnType::BigInt:
            return 8;
        case ColumnType::Guid:
            return 16;
        case ColumnType::Decimal:
            return 17;
        case ColumnType::DateTimeExtended:
            return 42;
        default:
            return 0;
    }
}

std::string_view Column::typeName() const {
    switch (type()) {
        case ColumnType::Boolean:
            return "Yes/No";
        case ColumnType::Byte:
            return "Byte";
        case ColumnType::Integer:
            return "Integer";
        case ColumnType::Long:
            return "Long Integer";
        case ColumnType::Currency:
            return "Currency";
        case ColumnType::Single:
            return "Single";
        case ColumnType::Double:
            return "Double";
        case ColumnType::DateTime:
            return "Date/Time";
        case ColumnType::Binary:
            return "Binary";
        case ColumnType::Text:
            return "Text";
        case ColumnType::Ole:
            return "OLE Object";
        case ColumnType::Memo:
            return isHyperlink() ? "Hyperlink" : "Memo";
        case ColumnType::Guid:
            return "Replication ID";
        case ColumnType::Decimal:
            return "Decimal";
        case ColumnType::Complex:
            return "Complex";
        case ColumnType::BigInt:
            return "Large Number";
        case ColumnType::DateTimeExtended:
            return "Date/Time Extended";
    }
    return "Unknown";
}

int Column::size(bool jet3) const {
    // A calculated column's stored length includes the result's wrapper.
    constexpr int kCalculatedWrapper = 23;
    if (isCalculated() && type() != ColumnType::Text && type() != ColumnType::Memo &&
        type() != ColumnType::Boolean)
        return fixedSize(type());
    switch (type()) {
        case ColumnType::Text:
            if (isCalculated())
                return std::max(0, length - kCalculatedWrapper) / 2;
            return jet3 ? length : length / 2;
        case ColumnType::Memo:
        case ColumnType::Ole:
            return 0;
        case ColumnType::Boolean:
            return 1;
        default:
            return length;
    }
}

}  // namespace jet
