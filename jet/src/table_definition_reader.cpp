#include "table_definition_reader.h"

#include <unordered_set>
#include <vector>

#include "byte_reader.h"
#include "index_definition_reader.h"

namespace jet {
namespace {

// Offsets that differ between Jet 3 and Jet 4 / ACE.
struct Layout {
    uint32_t rowCount, tableType, maxColumns, varColumns, columnCount, logicalIndexes, realIndexes,
        ownedMap, headerEnd, realIndexSize, descriptorSize;
};
constexpr Layout kJet3{12, 20, 21, 23, 25, 27, 31, 35, 43, 8, 18};
constexpr Layout kJet4{16, 40, 41, 43, 45, 47, 51, 55, 63, 12, 25};

constexpr uint32_t kMaxDefinitionPages = 64;

Status corrupt(const TableDef& table, uint32_t page, const std::string& what) {
    return Status(ErrorCode::Corrupt, "Table '" + table.name + "': " + what +
                                          " (definition on page " + std::to_string(page) + ").");
}

// The definition's pages joined: the first page whole, the others from offset 8.
Status assemble(const DatabaseFile& file, uint32_t tdefPage, const TableDef& table,
                std::vector<uint8_t>& buffer) {
    const uint32_t size = file.pageSize();
    std::vector<uint8_t> page(size);
    std::unordered_set<uint32_t> seen;
    uint32_t number = tdefPage;
    while (number != 0) {
        if (!seen.insert(number).second || seen.size() > kMaxDefinitionPages)
            return corrupt(table, tdefPage, "the definition's page chain loops or is too long");
        if (Status s = file.readPage(number, page.data()); !s)
            return corrupt(table, number, s.message());
        if (page[0] != 0x02)
            return corrupt(table, number, "not a table definition page");
        if (buffer.empty()) {
            buffer.assign(page.begin(), page.end());
        } else {
            buffer.insert(buffer.end(), page.begin() + 8, page.end());
        }
        number = le32(&page[4]);
    }
    return Status::ok();
}

Column readDescriptor(const uint8_t* d, bool jet3) {
    Column c;
    c.typeCode = d[0];
    if (jet3) {
        c.number = le16(d + 1);
        c.varIndex = le16(d + 3);
        if (c.type() == ColumnType::Text || c.type() == ColumnType::Memo)
            c.codePage = le16(d + 11);
        c.flags = d[13];
        c.fixedOffset = le16(d + 14);
        c.length = le16(d + 16);
    } else {
        c.number = le16(d + 5);
        c.varIndex = le16(d + 7);
        // Bytes 11.. mean precision and scale for Decimal, the complex id for
        // complex columns, and a sort order for text.
        if (c.type() == ColumnType::Decimal) {
            c.precision = d[11];
            c.scale = d[12];
        } else if (c.type() == ColumnType::Complex) {
            c.complexId = static_cast<int32_t>(le32(d + 11));
        }
        c.flags = d[15];
        c.extFlags = d[16];
        c.fixedOffset = le16(d + 21);
        c.length = le16(d + 23);
    }
    return c;
}

}  // namespace

Status readTableDefinition(const DatabaseFile& file, uint32_t tdefPage, TableDef& table) {
    std::vector<uint8_t> buf;
    if (Status s = assemble(file, tdefPage, table, buf); !s)
        return s;
    const Layout& L = file.jet3() ? kJet3 : kJet4;
    if (buf.size() < L.headerEnd)
        return corrupt(table, tdefPage, "definition too short");
    table.tdefPage = tdefPage;
    table.storedRowCount = le32(&buf[L.rowCount]);
    table.systemType = buf[L.tableType] == 0x53;
    table.maxColumns = le16(&buf[L.maxColumns]);
    table.varColumns = le16(&buf[L.varColumns]);
    const uint32_t columnCount = le16(&buf[L.columnCount]);
    const uint32_t logicalIndexes = le32(&buf[L.logicalIndexes]);
    const uint32_t realIndexes = le32(&buf[L.realIndexes]);
    table.ownedPagesMap = le32(&buf[L.ownedMap]);
    size_t pos = L.headerEnd + static_cast<size_t>(realIndexes) * L.realIndexSize;
    if (realIndexes > 1000 ||
        pos + static_cast<size_t>(columnCount) * L.descriptorSize > buf.size())
        return corrupt(table, tdefPage, "column descriptors run past the definition");
    table.columns.clear();
    table.columns.reserve(columnCount);
    for (uint32_t i = 0; i < columnCount; ++i, pos += L.descriptorSize)
        table.columns.push_back(readDescriptor(&buf[pos], file.jet3()));
    for (Column& column : table.columns) {
        if (!readDefinitionName(buf, pos, file, column.name))
            return corrupt(table, tdefPage, "column names run past the definition");
        if (column.number >= table.maxColumns && table.maxColumns != 0)
            table.maxColumns = static_cast<uint16_t>(column.number + 1);
    }
    readIndexDefinitions(buf, pos, file, {realIndexes, logicalIndexes}, table);
    return Status::ok();
}

}  // namespace jet
