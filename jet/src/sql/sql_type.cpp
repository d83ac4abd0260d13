#include "sql/sql_type.h"

#include <algorithm>
#include <map>

#include "jet/column.h"
#include "sql/token.h"

namespace jet::sql {

bool isNumeric(SqlType t) {
    return t >= SqlType::Boolean && t <= SqlType::Decimal;
}
bool isTextType(SqlType t) {
    return t == SqlType::Text || t == SqlType::Memo || t == SqlType::Guid;
}
bool isIntegral(SqlType t) {
    return t >= SqlType::Boolean && t <= SqlType::BigInt;
}

SqlType widerNumeric(SqlType a, SqlType b) {
    if (a == SqlType::Null)
        return b;
    if (b == SqlType::Null)
        return a;
    if (!isNumeric(a) || !isNumeric(b))
        return SqlType::Variant;
    auto rank = [](SqlType t) {
        switch (t) {
            case SqlType::Boolean:
                return 1;
            case SqlType::Byte:
                return 0;
            case SqlType::Integer:
                return 2;
            case SqlType::Long:
                return 3;
            case SqlType::BigInt:
                return 4;
            case SqlType::Single:
                return 5;
            case SqlType::Double:
                return 6;
            case SqlType::Currency:
                return 7;
            default:
                return 8;  // Decimal
        }
    };
    SqlType wide = rank(a) >= rank(b) ? a : b;
    if (wide == SqlType::Boolean)
        return SqlType::Integer;
    if ((a == SqlType::Single && (b == SqlType::Long || b == SqlType::BigInt)) ||
        (b == SqlType::Single && (a == SqlType::Long || a == SqlType::BigInt))) {
        return SqlType::Double;
    }
    return wide;
}

SqlType typeOfColumn(uint8_t code) {
    switch (static_cast<ColumnType>(code)) {
        case ColumnType::Boolean:
            return SqlType::Boolean;
        case ColumnType::Byte:
            return SqlType::Byte;
        case ColumnType::Integer:
            return SqlType::Integer;
        case ColumnType::Long:
            return SqlType::Long;
        case ColumnType::BigInt:
            return SqlType::BigInt;
        case ColumnType::Currency:
            return SqlType::Currency;
        case ColumnType::Single:
            return SqlType::Single;
        case ColumnType::Double:
            return SqlType::Double;
        case ColumnType::Decimal:
            return SqlType::Decimal;
        case ColumnType::DateTime:
        case ColumnType::DateTimeExtended:
            return SqlType::Date;
        case ColumnType::Text:
            return SqlType::Text;
        case ColumnType::Memo:
        case ColumnType::Complex:  // the cell's text: file names or values joined
            return SqlType::Memo;
        case ColumnType::Guid:
            return SqlType::Guid;
        default:
            return SqlType::Binary;
    }
}

ValueType valueTypeOf(SqlType t) {
    switch (t) {
        case SqlType::Boolean:
            return ValueType::Boolean;
        case SqlType::Byte:
            return ValueType::Byte;
        case SqlType::Integer:
            return ValueType::Integer;
        case SqlType::Long:
            return ValueType::Long;
        case SqlType::BigInt:
            return ValueType::BigInt;
        case SqlType::Currency:
            return ValueType::Currency;
        case SqlType::Single:
            return ValueType::Single;
        case SqlType::Double:
        case SqlType::Decimal:
            return ValueType::Double;
        case SqlType::Date:
            return ValueType::DateTime;
        case SqlType::Text:
        case SqlType::Memo:
            return ValueType::Text;
        case SqlType::Binary:
            return ValueType::Binary;
        case SqlType::Guid:
            return ValueType::Guid;
        default:
            return ValueType::Null;
    }
}

const char* sqliteDeclaration(SqlType t) {
    if (isIntegral(t))
        return "INTEGER";
    if (isNumeric(t) || t == SqlType::Date)
        return "REAL";
    if (isTextType(t))
        return "TEXT COLLATE ACCESS";
    if (t == SqlType::Binary)
        return "BLOB";
    return "";
}

SqlType typeOfParameterName(const std::string& typeName) {
    static const std::map<std::string, SqlType> names = {
        {"BIT", SqlType::Boolean},       {"BOOLEAN", SqlType::Boolean},
        {"LOGICAL", SqlType::Boolean},   {"LOGICAL1", SqlType::Boolean},
        {"YESNO", SqlType::Boolean},     {"BYTE", SqlType::Byte},
        {"TINYINT", SqlType::Byte},      {"INTEGER1", SqlType::Byte},
        {"SHORT", SqlType::Integer},     {"SMALLINT", SqlType::Integer},
        {"INTEGER2", SqlType::Integer},  {"LONG", SqlType::Long},
        {"INTEGER", SqlType::Long},      {"INT", SqlType::Long},
        {"INTEGER4", SqlType::Long},     {"CURRENCY", SqlType::Currency},
        {"MONEY", SqlType::Currency},    {"SINGLE", SqlType::Single},
        {"REAL", SqlType::Single},       {"FLOAT4", SqlType::Single},
        {"IEEESINGLE", SqlType::Single}, {"DOUBLE", SqlType::Double},
        {"FLOAT", SqlType::Double},      {"FLOAT8", SqlType::Double},
        {"IEEEDOUBLE", SqlType::Double}, {"NUMBER", SqlType::Double},
        {"DATETIME", SqlType::Date},     {"DATE", SqlType::Date},
        {"TIME", SqlType::Date},         {"TIMESTAMP", SqlType::Date},
        {"TEXT", SqlType::Text},         {"CHAR", SqlType::Text},
        {"VARCHAR", SqlType::Text},      {"STRING", SqlType::Text},
        {"ALPHANUMERIC", SqlType::Text}, {"CHARACTER", SqlType::Text},
        {"LONGTEXT", SqlType::Memo},     {"LONGCHAR", SqlType::Memo},
        {"MEMO", SqlType::Memo},         {"NOTE", SqlType::Memo},
        {"BINARY", SqlType::Binary},     {"VARBINARY", SqlType::Binary},
        {"LONGBINARY", SqlType::Binary}, {"OLEOBJECT", SqlType::Binary},
        {"GENERAL", SqlType::Binary},    {"IMAGE", SqlType::Binary},
        {"GUID", SqlType::Guid},         {"UNIQUEIDENTIFIER", SqlType::Guid},
        {"DECIMAL", SqlType::Decimal},   {"NUMERIC", SqlType::Decimal},
        {"DEC", SqlType::Decimal},
    };
    std::string first;
    for (char c : asciiUpper(typeName)) {
        if (c == ' ' || c == '(')
            break;
        first += c;
    }
    auto it = names.find(first);
    return it == names.end() ? SqlType::Variant : it->second;
}

}  // namespace jet::sql
