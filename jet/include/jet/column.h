// One field of a table as its definition stores it: name, Jet type code,
// size and flags, plus where its value lives in a row.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jet/value.h"

namespace jet {

// Jet column type codes as stored. Codes not listed here are possible in a
// file; they read as ValueType::Binary.
enum class ColumnType : uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Decimal = 0x10,
    Complex = 0x12,
    BigInt = 0x13,
    DateTimeExtended = 0x14,
};

// Bytes a value of a fixed-size type takes in a row; 0 for variable types
// (Text, Memo, OLE, Binary, unknown codes).
int fixedSize(ColumnType type);

struct Column {
    std::string name;
    uint8_t typeCode = 0;      // Jet type code, see ColumnType
    uint16_t number = 0;       // position in the row's null mask
    uint16_t varIndex = 0;     // slot in the row's variable area (variable columns)
    uint16_t fixedOffset = 0;  // offset in the row's fixed area (fixed columns)
    uint16_t length = 0;       // stored maximum length in bytes (0 for Memo/OLE)
    uint8_t flags = 0;         // 0x01 fixed, 0x04 AutoNumber, 0x40 GUID AutoNumber, 0x80 hyperlink
    uint8_t extFlags = 0;      // 0x01 compressed text allowed, 0xC0 calculated
    uint8_t precision = 0;     // Decimal
    uint8_t scale = 0;         // Decimal
    uint16_t codePage = 0;     // Jet3 Text/Memo
    int32_t complexId = 0;     // ACE complex columns
    // Calculated columns (ACE 14+): the expression Access computes the value
    // from; typeCode is then the result type.
    std::string expression;

    ColumnType type() const { return static_cast<ColumnType>(typeCode); }
    bool isFixed() const { return (flags & 0x01) != 0; }
    bool isAutoNumber() const;
    bool isHyperlink() const { return typeCode == 0x0C && (flags & 0x80) != 0; }
    bool isCalculated() const { return (extFlags & 0xC0) == 0xC0; }
    bool isLongValue() const { return typeCode == 0x0B || typeCode == 0x0C; }
    // The kind of value a cursor yields for this column (Null aside).
    ValueType valueType() const;
    // The DAO DataTypeEnum value of a field of this type (dbText = 10, ...).
    int daoType() const;
    // The Access type name: "Text", "Long Integer", "Yes/No", "Memo", ...
    std::string_view typeName() const;
    // The field size Access shows: characters for Text, bytes for fixed types,
    // 0 for Memo and OLE Object.
    int size(bool jet3) const;
};

}  // namespace jet
