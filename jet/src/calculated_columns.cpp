#include "calculated_columns.h"

#include <algorithm>
#include <set>

#include "byte_reader.h"
#include "property_map.h"
#include "table_definition_reader.h"
#include "table_scanner.h"

namespace jet {
namespace {

constexpr uint32_t kCatalogPage = 2;
constexpr size_t kLengthAt = 16;
constexpr size_t kValueAt = 20;

bool hasCalculated(const TableDef& t) {
    return std::any_of(t.columns.begin(), t.columns.end(),
                       [](const Column& c) { return c.isCalculated(); });
}

void applyProperties(const PropertyMap& properties, TableDef& table) {
    for (Column& c : table.columns) {
        if (!c.isCalculated())
            continue;
        if (const auto type = properties.integer(c.name, "ResultType"); type && *type > 0)
            c.typeCode = static_cast<uint8_t>(*type);
        c.expression = properties.text(c.name, "Expression").value_or("");
    }
}

}  // namespace

void resolveCalculatedColumns(const DatabaseFile& file, std::vector<TableDef>& tables) {
    std::set<int32_t> wanted;
    for (const TableDef& t : tables)
        if (!t.isLinked() && hasCalculated(t))
            wanted.insert(t.id);
    if (wanted.empty())
        return;
    TableDef catalog;
    catalog.name = "MSysObjects";
    if (!readTableDefinition(file, kCatalogPage, catalog))
        return;
    const int idColumn = catalog.columnIndex("Id");
    const int propertiesColumn = catalog.columnIndex("LvProp");
    TableScanner cursor(file, catalog);
    if (idColumn < 0 || propertiesColumn < 0 || !cursor.init())
        return;
    while (cursor.next()) {
        const auto id = static_cast<int32_t>(cursor.get(static_cast<size_t>(idColumn)).i);
        if (!wanted.count(id))
            continue;
        const ValueRef blob = cursor.get(static_cast<size_t>(propertiesColumn));
        Result<PropertyMap> properties = PropertyMap::parse(blob.data);
        if (!properties)
            continue;
        for (TableDef& t : tables)
            if (t.id == id && !t.isLinked())
                applyProperties(properties.value(), t);
    }
}

std::string_view unwrapCalculated(std::string_view stored) {
    if (stored.size() < kValueAt)
        return stored;
    const uint32_t length = le32(reinterpret_cast<const uint8_t*>(stored.data()) + kLengthAt);
    return stored.substr(kValueAt, std::min<size_t>(length, stored.size() - kValueAt));
}

bool decodeCalculatedDecimal(std::string_view bytes, Decimal& out) {
    if (bytes.size() < 4)
        return false;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t declared = le16(p);
    size_t digits = (declared > 0 ? declared : bytes.size() - 2) - 2;
    digits = std::min<size_t>(digits / 4 * 4, 16);
    if (4 + digits > bytes.size())
        return false;
    out = Decimal{};
    out.scale = p[2];
    out.negative = p[3] != 0;
    // The magnitude is stored most significant group first: a 4-byte group
    // when the length is not a multiple of 8, then 8-byte groups, each
    // little-endian.
    const uint8_t* m = p + 4;
    auto push = [&out](uint64_t group, int bits) {
        out.hi = bits == 64 ? out.lo : (out.hi << bits) | (out.lo >> (64 - bits));
        out.lo = bits == 64 ? group : (out.lo << bits) | group;
    };
    size_t at = 0;
    if (digits % 8 != 0) {
        push(le32(m), 32);
        at = 4;
    }
    for (; at + 8 <= digits; at += 8)
        push(static_cast<uint64_t>(le64s(m + at)), 64);
    return true;
}

}  // namespace jet
