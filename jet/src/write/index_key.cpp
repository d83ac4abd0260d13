#include "write/index_key.h"

#include <string>

#include "write/text_index_key.h"

namespace jet::write {
namespace {

const Column* columnByNumber(const TableDef& table, uint16_t number) {
    for (const Column& column : table.columns) {
        if (column.number == number) {
            return &column;
        }
    }
    return nullptr;
}

void appendSignedBigEndian(int64_t value, int bytes, std::vector<uint8_t>& out) {
    const uint64_t bits = static_cast<uint64_t>(value);
    for (int i = bytes - 1; i >= 0; --i) {
        uint8_t byte = static_cast<uint8_t>(bits >> (8 * i));
        if (i == bytes - 1) {
            byte ^= 0x80;  // the sign bit flips so negatives sort first
        }
        out.push_back(byte);
    }
}

Status appendValue(const Column& column, const Value& value, NameCollation collation,
                   std::vector<uint8_t>& out) {
    switch (column.type()) {
        case ColumnType::Byte:
            out.push_back(static_cast<uint8_t>(value.i()));
            return Status::ok();
        case ColumnType::Integer:
            appendSignedBigEndian(value.i(), 2, out);
            return Status::ok();
        case ColumnType::Long:
            appendSignedBigEndian(value.i(), 4, out);
            return Status::ok();
        case ColumnType::Binary:
            appendBinaryKey(value.data(), out);
            return Status::ok();
        case ColumnType::Text: {
            auto key = textIndexKey(value.data(), collation);
            if (!key) {
                return {ErrorCode::Unsupported,
                        "the name '" + value.data() + "' holds characters the index cannot sort"};
            }
            out.insert(out.end(), key->begin(), key->end());
            return Status::ok();
        }
        default:
            return {ErrorCode::Unsupported,
                    "index column '" + column.name + "' has a type the writer does not index"};
    }
}

}  // namespace

void appendBinaryKey(const std::string& bytes, std::vector<uint8_t>& out) {
    size_t at = 0;
    do {
        const size_t used = std::min<size_t>(8, bytes.size() - at);
        for (size_t i = 0; i < 8; ++i) {
            out.push_back(i < used ? static_cast<uint8_t>(bytes[at + i]) : 0);
        }
        at += used;
        out.push_back(at < bytes.size() ? 9 : static_cast<uint8_t>(used));
    } while (at < bytes.size());
}

Result<std::vector<uint8_t>> indexKey(const RealIndex& index, const TableDef& table,
                                      const std::vector<Value>& byNumber, NameCollation collation) {
    std::vector<uint8_t> key;
    for (const IndexColumn& part : index.columns) {
        const Column* column = columnByNumber(table, part.number);
        if (!column || !part.ascending) {
            return Result<std::vector<uint8_t>>(
                ErrorCode::Unsupported,
                "an index of " + table.name + " has a key column the writer cannot encode");
        }
        const Value& value = part.number < byNumber.size() ? byNumber[part.number] : Value();
        if (value.isNull()) {
            key.push_back(0x00);
            continue;
        }
        key.push_back(0x7F);
        if (Status status = appendValue(*column, value, collation, key); !status) {
            return status;
        }
    }
    return key;
}

}  // namespace jet::write
