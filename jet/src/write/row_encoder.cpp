#include "write/row_encoder.h"

#include <algorithm>
#include <cstring>

#include "write/byte_writer.h"

namespace jet::write {
namespace {

const Value& valueOf(const std::vector<Value>& byNumber, uint16_t number) {
    static const Value kNull;
    return number < byNumber.size() ? byNumber[number] : kNull;
}

bool decodeUtf8(std::string_view s, size_t& i, uint32_t& cp) {
    const auto b = static_cast<uint8_t>(s[i]);
    const int extra = b < 0x80         ? 0
                      : (b >> 5) == 6  ? 1
                      : (b >> 4) == 14 ? 2
                      : (b >> 3) == 30 ? 3
                                       : -1;
    if (extra < 0 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) {
        return false;
    }
    cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<uint8_t>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            return false;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += extra + 1;
    return true;
}

}  // namespace

bool utf8ToUcs2le(std::string_view utf8, std::string& out) {
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        if (!decodeUtf8(utf8, i, cp) || cp > 0x10FFFF) {
            return false;
        }
        auto put = [&out](uint32_t unit) {
            out.push_back(static_cast<char>(unit & 0xFF));
            out.push_back(static_cast<char>(unit >> 8));
        };
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return true;
}

Result<std::string> RowEncoder::storedText(std::string_view utf8) const {
    std::string out;
    if (!jet3_) {
        if (!utf8ToUcs2le(utf8, out)) {
            return Result<std::string>(ErrorCode::Invalid, "the text is not valid UTF-8");
        }
        return out;
    }
    out = codePage_.encode(utf8);
    if (codePage_.decode(out) != utf8) {
        return Result<std::string>(ErrorCode::Invalid,
                                   "the text '" + std::string(utf8) +
                                       "' has characters this database's code page cannot hold");
    }
    return out;
}

uint32_t RowEncoder::fixedAreaSize() const {
    uint32_t size = 0;
    for (const Column& column : table_.columns) {
        if (column.isFixed() && column.type() != ColumnType::Boolean) {
            size = std::max<uint32_t>(size, column.fixedOffset + column.length);
        }
    }
    return size;
}

void RowEncoder::putFixed(const Column& column, const Value& value, uint8_t* at) const {
    switch (column.type()) {
        case ColumnType::Byte:
            at[0] = static_cast<uint8_t>(value.i());
            break;
        case ColumnType::Integer:
            putLe16(at, static_cast<uint32_t>(value.i()));
            break;
        case ColumnType::Long:
            putLe32(at, static_cast<uint32_t>(value.i()));
            break;
        case ColumnType::Double:
        case ColumnType::DateTime: {
            const double d = value.d();
            std::memcpy(at, &d, 8);
            break;
        }
        default:
            std::memcpy(at, value.data().data(),
                        std::min<size_t>(value.data().size(), column.length));
    }
}

Result<std::string> RowEncoder::variableBytes(const Column& column, const Value& value) const {
    if (column.type() == ColumnType::Text) {
        auto text = storedText(value.data());
        if (text && text->size() > column.length) {
            return Result<std::string>(
                ErrorCode::Invalid,
                "the text '" + value.data() + "' is too long for column " + column.name);
        }
        return text;
    }
    return value.data();
}

Result<std::vector<uint8_t>> RowEncoder::encode(const std::vector<Value>& byNumber) const {
    const uint32_t countSize = jet3_ ? 1 : 2;
    const uint32_t columns = table_.maxColumns;
    std::vector<uint8_t> row(countSize + fixedAreaSize(), 0);
    row[0] = static_cast<uint8_t>(columns);
    if (!jet3_) {
        row[1] = static_cast<uint8_t>(columns >> 8);
    }
    std::vector<uint8_t> mask((columns + 7) / 8, 0);
    std::vector<std::string> variable(table_.varColumns);
    for (const Column& column : table_.columns) {
        const Value& value = valueOf(byNumber, column.number);
        bool present = !value.isNull();
        if (column.type() == ColumnType::Boolean) {
            present = present && value.i() != 0;
        } else if (present && column.isFixed()) {
            putFixed(column, value, row.data() + countSize + column.fixedOffset);
        } else if (present) {
            auto bytes = variableBytes(column, value);
            if (!bytes) {
                return bytes.status();
            }
            if (column.varIndex < variable.size()) {
                variable[column.varIndex] = std::move(*bytes);
            }
        }
        if (present && column.number < columns) {
            mask[column.number / 8] |= static_cast<uint8_t>(1u << (column.number % 8));
        }
    }
    std::vector<uint32_t> offsets;
    for (const std::string& bytes : variable) {
        offsets.push_back(static_cast<uint32_t>(row.size()));
        row.insert(row.end(), bytes.begin(), bytes.end());
    }
    offsets.push_back(static_cast<uint32_t>(row.size()));  // end of the variable data
    if (!variable.empty()) {
        for (size_t k = offsets.size(); k-- > 0;) {
            if (jet3_) {
                row.push_back(static_cast<uint8_t>(offsets[k]));
            } else {
                appendLe16(row, offsets[k]);
            }
        }
        if (jet3_) {
            row.push_back(static_cast<uint8_t>(variable.size()));
        } else {
            appendLe16(row, static_cast<uint32_t>(variable.size()));
        }
    }
    row.insert(row.end(), mask.begin(), mask.end());
    if (jet3_ && (row.size() > 256 || offsets.back() > 255)) {
        return Result<std::vector<uint8_t>>(ErrorCode::Unsupported,
                                            "a row of " + table_.name + " would need " +
                                                std::to_string(row.size()) +
                                                " bytes; Access 97 rows are kept under 256");
    }
    return row;
}

}  // namespace jet::write
