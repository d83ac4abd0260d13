#include "table_rows.h"

#include <algorithm>
#include <cstring>

namespace jet {
namespace {

uint64_t digestOf(const ValueRef& v) {
    uint64_t digest = 14695981039346656037ull;
    auto mix = [&digest](const void* bytes, size_t size) {
        const auto* p = static_cast<const unsigned char*>(bytes);
        for (size_t i = 0; i < size; ++i)
            digest = (digest ^ p[i]) * 1099511628211ull;
    };
    const auto type = static_cast<uint8_t>(v.type);
    mix(&type, 1);
    mix(&v.i, sizeof v.i);
    uint64_t bits = 0;
    std::memcpy(&bits, &v.d, sizeof bits);
    mix(&bits, sizeof bits);
    mix(v.data.data(), v.data.size());
    return digest;
}

}  // namespace

std::map<std::string, TableRows> readTables(const Database& db) {
    std::map<std::string, TableRows> out;
    for (const TableDef& table : db.tables()) {
        if (table.isLinked())
            continue;
        TableRows& rows = out[table.name];
        for (const Column& c : table.columns)
            rows.columns.push_back(c.name);
        auto cursor = db.openTable(table);
        if (!cursor) {
            rows.status = cursor.status();
            continue;
        }
        while ((*cursor)->next()) {
            std::vector<uint64_t>& values = rows.rows[(*cursor)->rowId()];
            for (size_t i = 0; i < (*cursor)->columnCount(); ++i)
                values.push_back(digestOf((*cursor)->get(i)));
        }
        rows.status = (*cursor)->status();
    }
    return out;
}

size_t rowsOnPages(const TableRows& intact, const std::vector<uint32_t>& pages) {
    size_t n = 0;
    for (const auto& [id, values] : intact.rows)
        n += std::binary_search(pages.begin(), pages.end(), static_cast<uint32_t>(id >> 8)) ? 1 : 0;
    return n;
}

}  // namespace jet
