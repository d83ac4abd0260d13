#include "jet/value.h"

namespace jet {
namespace {

using u128 = unsigned __int128;

u128 magnitude(const Decimal& d) {
    return (static_cast<u128>(d.hi) << 64) | d.lo;
}

}  // namespace

std::string Decimal::toString() const {
    u128 m = magnitude(*this);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
        m /= 10;
    } while (m != 0);
    if (digits.size() <= scale)
        digits.insert(0, scale + 1 - digits.size(), '0');
    if (scale > 0)
        digits.insert(digits.size() - scale, 1, '.');
    const bool zero = magnitude(*this) == 0;
    return (negative && !zero ? "-" : "") + digits;
}

double Decimal::toDouble() const {
    double v = static_cast<double>(hi) * 18446744073709551616.0 + static_cast<double>(lo);
    for (int k = 0; k < scale; ++k)
        v /= 10.0;
    return negative ? -v : v;
}

Value ValueRef::toValue() const {
    switch (type) {
        case ValueType::Null:
            return Value::null();
        case ValueType::Boolean:
            return Value::boolean(i != 0);
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
        case ValueType::BigInt:
        case ValueType::Currency:
            return Value::integer(type, i);
        case ValueType::Single:
        case ValueType::Double:
        case ValueType::DateTime:
            return Value::real(type, d);
        case ValueType::Text:
            return Value::text(std::string(data));
        case ValueType::Binary:
            return Value::binary(std::string(data));
        case ValueType::Guid:
            return Value::guid(std::string(data));
        case ValueType::Decimal:
            return Value::decimal(dec);
        case ValueType::Unsupported:
            return Value::unsupported(static_cast<int>(i), std::string(data));
    }
    return Value::null();
}

Value Value::boolean(bool b) {
    Value v;
    v.type_ = ValueType::Boolean;
    v.i_ = b ? 1 : 0;
    return v;
}

Value Value::integer(ValueType type, int64_t i) {
    Value v;
    v.type_ = type;
    v.i_ = i;
    return v;
}

Value Value::real(ValueType type, double d) {
    Value v;
    v.type_ = type;
    v.d_ = d;
    return v;
}

Value Value::text(std::string utf8) {
    Value v;
    v.type_ = ValueType::Text;
    v.data_ = std::move(utf8);
    return v;
}

void Value::setText(std::string_view utf8) {
    type_ = ValueType::Text;
    i_ = 0;
    d_ = 0.0;
    data_.assign(utf8);
    dec_ = {};
}

Value Value::binary(std::string bytes) {
    Value v;
    v.type_ = ValueType::Binary;
    v.data_ = std::move(bytes);
    return v;
}

Value Value::guid(std::string sixteenBytes) {
    Value v;
    v.type_ = ValueType::Guid;
    v.data_ = std::move(sixteenBytes);
    return v;
}

Value Value::decimal(const Decimal& dec) {
    Value v;
    v.type_ = ValueType::Decimal;
    v.dec_ = dec;
    return v;
}

Value Value::unsupported(int typeCode, std::string bytes) {
    Value v;
    v.type_ = ValueType::Unsupported;
    v.i_ = typeCode;
    v.data_ = std::move(bytes);
    return v;
}

}  // namespace jet
