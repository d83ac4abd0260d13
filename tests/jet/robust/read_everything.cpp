#include "read_everything.h"

#include <cstring>

namespace jet {
namespace {

// FNV-1a over the bytes of a value.
void mix(uint64_t& digest, const void* bytes, size_t size) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < size; ++i) {
        digest = (digest ^ p[i]) * 1099511628211ull;
    }
}

void mixValue(uint64_t& digest, const ValueRef& v) {
    uint8_t type = static_cast<uint8_t>(v.type);
    mix(digest, &type, 1);
    mix(digest, &v.i, sizeof v.i);
    uint64_t bits = 0;
    std::memcpy(&bits, &v.d, sizeof bits);
    mix(digest, &bits, sizeof bits);
    mix(digest, v.data.data(), v.data.size());
}

}  // namespace

std::string ReadOutcome::describe() const {
    std::string text = open.isOk() ? "" : "open: " + open.message() + "\n";
    for (size_t i = 0; i < failures.size(); ++i) {
        text += tables[i] + ": " + failures[i].message() + "\n";
    }
    return text;
}

ReadOutcome readEverything(const std::string& path, const std::string& password) {
    ReadOutcome outcome;
    outcome.digest = 14695981039346656037ull;
    Result<std::unique_ptr<Database>> db = Database::open(path, password);
    if (!db) {
        outcome.open = db.status();
        return outcome;
    }
    for (const TableDef& table : (*db)->tables()) {
        if (table.isLinked()) {
            continue;
        }
        Result<std::unique_ptr<TableCursor>> cursor = (*db)->openTable(table);
        Status status = cursor ? Status::ok() : cursor.status();
        while (cursor && (*cursor)->next()) {
            for (size_t i = 0; i < (*cursor)->columnCount(); ++i) {
                mixValue(outcome.digest, (*cursor)->get(i));
                ++outcome.values;
            }
            ++outcome.rows;
        }
        if (cursor && !(*cursor)->status()) {
            status = (*cursor)->status();
        }
        if (!status) {
            outcome.tables.push_back(table.name);
            outcome.failures.push_back(status);
        }
    }
    for (const QueryDef& query : (*db)->queries()) {
        if (!query.status) {
            outcome.tables.push_back("query " + query.name);
            outcome.failures.push_back(query.status);
        }
    }
    return outcome;
}

}  // namespace jet
