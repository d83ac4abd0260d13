// Typed column values. ValueRef is the allocation-free view a cursor hands out
// for the current row; Value owns its bytes and can be kept.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jet {

// What a value holds. Memo reads as Text, OLE Object as Binary.
enum class ValueType : uint8_t {
    Null,
    Boolean,      // i: 0 or 1
    Byte,         // i: 0..255
    Integer,      // i: signed 16-bit
    Long,         // i: signed 32-bit
    BigInt,       // i: signed 64-bit (Large Number)
    Currency,     // i: amount x 10000, exact
    Single,       // d: the float value, widened
    Double,       // d
    DateTime,     // d: the Access date (days since 1899-12-30, time as fraction)
    Text,         // data: UTF-8
    Binary,       // data: raw bytes
    Guid,         // data: the 16 bytes as stored
    Decimal,      // dec: exact
    Unsupported,  // i: the Jet type code; data: the stored bytes (not interpreted)
};

// An exact decimal: (negative ? -1 : 1) * (hi * 2^64 + lo) / 10^scale.
struct Decimal {
    uint64_t hi = 0;
    uint64_t lo = 0;
    uint8_t scale = 0;
    uint8_t precision = 0;
    bool negative = false;

    // Plain digits with exactly `scale` decimals, e.g. "-12.3400"; no exponent.
    std::string toString() const;
    double toDouble() const;
    bool operator==(const Decimal&) const = default;
};

class Value;

// A view of one value of the current row. `data` points into buffers owned by
// the cursor and stays valid until the cursor moves (next(), rewind()) or is
// destroyed.
struct ValueRef {
    ValueType type = ValueType::Null;
    int64_t i = 0;
    double d = 0.0;
    std::string_view data;
    Decimal dec;

    bool isNull() const { return type == ValueType::Null; }
    Value toValue() const;
};

// An owned value: same fields as ValueRef, with the bytes copied.
class Value {
  public:
    Value() = default;
    static Value null() { return Value(); }
    static Value boolean(bool b);
    static Value integer(ValueType type, int64_t i);  // Byte, Integer, Long, BigInt, Currency
    static Value real(ValueType type, double d);      // Single, Double, DateTime
    static Value text(std::string utf8);
    static Value binary(std::string bytes);
    static Value guid(std::string sixteenBytes);
    static Value decimal(const Decimal& dec);
    static Value unsupported(int typeCode, std::string bytes);

    ValueType type() const { return type_; }
    bool isNull() const { return type_ == ValueType::Null; }
    int64_t i() const { return i_; }
    double d() const { return d_; }
    const std::string& data() const { return data_; }
    const Decimal& dec() const { return dec_; }
    ValueRef ref() const { return ValueRef{type_, i_, d_, data_, dec_}; }
    // Makes this a Text value holding a copy of utf8, keeping the buffer it
    // has: a cursor refilling one row spares an allocation per text.
    void setText(std::string_view utf8);

    bool operator==(const Value&) const = default;

  private:
    ValueType type_ = ValueType::Null;
    int64_t i_ = 0;
    double d_ = 0.0;
    std::string data_;
    Decimal dec_;
};

}  // namespace jet
