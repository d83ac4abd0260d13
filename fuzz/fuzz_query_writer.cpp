// libFuzzer target: any bytes as a database file given to the saved-query
// writer, the only code that writes into a user's file. A query over the
// first user table is saved and then deleted again; the first byte of the
// input picks a plain SELECT or a UNION (the writer stores them differently). The properties
// checked: a refused write leaves the file byte for byte as it was, and a write reported as done
// reads back (the query is there after saving, gone after deleting). Crashes, hangs and broken
// properties are findings.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "jet/database.h"
#include "jet/query_writer.h"

namespace {

const std::string& folder() {
    static const std::string path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fuzz-writer-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            __builtin_trap();
        }
        return pattern;
    }();
    return path;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first local user table, or a made-up name when the file does not open.
std::string firstTable(const std::string& path) {
    auto db = jet::Database::open(path, "");
    if (db) {
        for (const jet::TableDef& table : (*db)->tables()) {
            if (!table.isSystem() && !table.isLinked()) {
                return table.name;
            }
        }
    }
    return "Table1";
}

bool hasQuery(const std::string& path, const std::string& name) {
    auto db = jet::Database::open(path, "");
    if (!db) {
        return false;
    }
    for (const jet::QueryDef& query : (*db)->queries()) {
        if (query.name == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = folder() + "/db.mdb";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    const std::string before = contents(path);
    const std::string table = firstTable(path);
    const std::string name = "Fuzz Query";
    const std::string source = "[" + table + "]";
    const std::string sql = size > 0 && (data[0] & 1)
                                ? "SELECT * FROM " + source + " UNION ALL SELECT * FROM " + source
                                : "SELECT * FROM " + source;
    jet::QueryWriteOptions options;
    options.keepBackup = false;
    const jet::Status saved = jet::createQueryDef(path, name, sql, options);
    if (!saved.isOk()) {
        if (contents(path) != before) {
            __builtin_trap();  // a refused write changed the file
        }
        return 0;
    }
    if (!hasQuery(path, name)) {
        __builtin_trap();  // saved, yet not in the file
    }
    const std::string afterSave = contents(path);
    const jet::Status deleted = jet::deleteQueryDef(path, name, options);
    if (!deleted.isOk()) {
        if (contents(path) != afterSave) {
            __builtin_trap();
        }
        return 0;
    }
    if (hasQuery(path, name)) {
        __builtin_trap();  // deleted, yet still in the file
    }
    return 0;
}
