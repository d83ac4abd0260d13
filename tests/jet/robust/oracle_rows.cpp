#include "oracle_rows.h"

#include "oracle_format.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace jet {
namespace {

std::map<std::string, std::vector<std::string>>& columnOrders() {
    static std::map<std::string, std::vector<std::string>> orders;
    return orders;
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// Column names from the oracle's header line: every "name":"..." in order.
std::vector<std::string> headerNames(const std::string& header) {
    std::vector<std::string> names;
    const std::string key = "\"name\":\"";
    for (size_t pos = header.find(key); pos != std::string::npos; pos = header.find(key, pos)) {
        pos += key.size();
        size_t end = header.find('"', pos);
        names.push_back(header.substr(pos, end - pos));
    }
    return names;
}

std::string nodePath() {
    if (const char* env = std::getenv("TABLESCOPE_ORACLE_NODE_PATH"))
        return env;
    return TABLESCOPE_ORACLE_FALLBACK;
}

}  // namespace

Result<std::vector<std::string>> oracleRows(const std::string& path, const TableDef& table,
                                            const std::string& password) {
    std::string modules = nodePath();
    if (!std::filesystem::exists(modules + "/mdb-reader")) {
        return Status(ErrorCode::NotFound, "mdb-reader not installed in '" + modules +
                                               "' (set TABLESCOPE_ORACLE_NODE_PATH)");
    }
    std::string command =
        "NODE_PATH=" + shellQuote(modules) + " node " +
        shellQuote(std::string(TABLESCOPE_TESTDATA) + "/../tools/oracle-dump.mjs") + " " +
        shellQuote(path) + " " + shellQuote(table.name) + " --header --array --password " +
        shellQuote(password);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return Status(ErrorCode::Io, "cannot run node");
    std::vector<std::string> lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (lines.empty())
        return Status(ErrorCode::Io, "the oracle printed nothing for " + table.name);
    columnOrders()[path + "\n" + table.name] = headerNames(lines.front());
    lines.erase(lines.begin());
    return lines;
}

Result<std::vector<std::string>> rowsAsJson(const Database& db, const TableDef& table) {
    std::vector<int> order;
    auto known = columnOrders().find(db.path() + "\n" + table.name);
    for (size_t i = 0; i < table.columns.size(); ++i)
        order.push_back(static_cast<int>(i));
    if (known != columnOrders().end()) {
        order.clear();
        for (const std::string& name : known->second)
            order.push_back(table.columnIndex(name));
    }
    Result<std::unique_ptr<TableCursor>> cursor = db.openTable(table);
    if (!cursor)
        return cursor.status();
    std::vector<std::string> rows;
    while ((*cursor)->next()) {
        std::string row = "[";
        for (size_t k = 0; k < order.size(); ++k) {
            row += (k ? "," : "");
            row += order[k] < 0 ? "\"no such column\""
                                : jettest::oracleJson((*cursor)->get(order[k]),
                                                      table.columns[static_cast<size_t>(order[k])]);
        }
        rows.push_back(row + "]");
    }
    if (!(*cursor)->status())
        return (*cursor)->status();
    return rows;
}

}  // namespace jet
