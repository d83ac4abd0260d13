#include "index_definition_reader.h"

#include "byte_reader.h"
#include "text_decoder.h"

namespace jet {
namespace {

// Block sizes and offsets that differ between Jet 3 and Jet 4 / ACE.
struct IndexLayout {
    size_t realSize, keysAt, flagsAt, logicalSize, realNumberAt, typeAt;
};
constexpr IndexLayout kJet3Index{39, 0, 38, 20, 4, 19};
constexpr IndexLayout kJet4Index{52, 4, 46, 28, 8, 23};

constexpr int kKeySlots = 10;
constexpr uint16_t kUnusedSlot = 0xFFFF;
constexpr uint8_t kUniqueFlag = 0x01;
constexpr uint8_t kIgnoreNullsFlag = 0x02;
constexpr uint8_t kPrimaryKeyType = 0x01;
constexpr uint8_t kForeignKeyType = 0x02;
// More than any table can have (Access allows 32 indexes); anything bigger is damage.
constexpr uint32_t kMaxIndexes = 1000;

struct RealIndex {
    std::vector<IndexDef::Key> keys;
    uint8_t flags = 0;
};

int columnWithNumber(const TableDef& table, uint16_t number) {
    for (size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].number == number)
            return static_cast<int>(i);
    return -1;
}

RealIndex readRealIndex(const uint8_t* block, const IndexLayout& L, const TableDef& table) {
    RealIndex index;
    for (int slot = 0; slot < kKeySlots; ++slot) {
        const uint8_t* key = block + L.keysAt + static_cast<size_t>(slot) * 3;
        const uint16_t number = le16(key);
        if (number == kUnusedSlot)
            continue;
        index.keys.push_back({columnWithNumber(table, number), key[2] == 0x01});
    }
    index.flags = block[L.flagsAt];
    return index;
}

}  // namespace

bool readDefinitionName(const std::vector<uint8_t>& buf, size_t& pos, const DatabaseFile& file,
                        std::string& name) {
    const bool jet3 = file.jet3();
    const size_t lengthSize = jet3 ? 1 : 2;
    if (pos + lengthSize > buf.size())
        return false;
    const size_t length = jet3 ? buf[pos] : le16(&buf[pos]);
    pos += lengthSize;
    if (pos + length > buf.size())
        return false;
    name.clear();
    if (jet3) {
        file.codePage().append(&buf[pos], length, name);
    } else {
        appendJet4Text(&buf[pos], length, name);
    }
    pos += length;
    return true;
}

void readIndexDefinitions(const std::vector<uint8_t>& buf, size_t pos, const DatabaseFile& file,
                          IndexCounts counts, TableDef& table) {
    table.indexes.clear();
    table.indexError.clear();
    const IndexLayout& L = file.jet3() ? kJet3Index : kJet4Index;
    auto unreadable = [&](const std::string& why) {
        table.indexes.clear();
        table.indexError = "The indexes of table '" + table.name + "' cannot be read: " + why + ".";
    };
    if (counts.real > kMaxIndexes || counts.logical > kMaxIndexes)
        return unreadable("the definition claims too many indexes");
    const size_t logicalAt = pos + counts.real * L.realSize;
    if (logicalAt + counts.logical * L.logicalSize > buf.size())
        return unreadable("the index blocks run past the definition");
    std::vector<RealIndex> real;
    for (uint32_t i = 0; i < counts.real; ++i)
        real.push_back(readRealIndex(&buf[pos + i * L.realSize], L, table));
    size_t namePos = logicalAt + counts.logical * L.logicalSize;
    for (uint32_t i = 0; i < counts.logical; ++i) {
        const uint8_t* entry = &buf[logicalAt + i * L.logicalSize];
        const uint32_t realNumber = le32(entry + L.realNumberAt);
        if (realNumber >= real.size())
            return unreadable("an index refers to a missing index block");
        IndexDef index;
        if (!readDefinitionName(buf, namePos, file, index.name))
            return unreadable("the index names run past the definition");
        const RealIndex& r = real[realNumber];
        index.keys = r.keys;
        index.unique = (r.flags & kUniqueFlag) != 0;
        index.ignoreNulls = (r.flags & kIgnoreNullsFlag) != 0;
        index.primaryKey = entry[L.typeAt] == kPrimaryKeyType;
        index.foreignKey = entry[L.typeAt] == kForeignKeyType;
        table.indexes.push_back(std::move(index));
    }
}

}  // namespace jet
