#include "check_command.h"

#include <string>
#include <vector>

#include "cli_options.h"

namespace cli {
namespace {

struct CheckTally {
    size_t tables = 0, rows = 0, queries = 0;
    std::vector<std::string> findings;
};

// Reads every value of every row, long values included.
void readTable(const jet::Database& db, const jet::TableDef& table, CheckTally& tally) {
    if (!table.definitionError.empty()) {
        tally.findings.push_back(table.definitionError);
        return;
    }
    if (!table.indexError.empty())
        tally.findings.push_back(table.indexError);
    auto cursor = db.openTable(table);
    if (!cursor) {
        tally.findings.push_back(cursor.status().message());
        return;
    }
    jet::TableCursor& c = **cursor;
    while (c.next()) {
        for (size_t i = 0; i < c.columnCount(); ++i)
            (void)c.get(i);
        ++tally.rows;
    }
    if (!c.status())
        tally.findings.push_back(c.status().message());
}

}  // namespace

int checkDatabase(const jet::Database& db, std::FILE* out) {
    CheckTally tally;
    for (const jet::TableDef& table : db.tables()) {
        if (table.isLinked())
            continue;
        ++tally.tables;
        readTable(db, table, tally);
    }
    for (const jet::QueryDef& query : db.queries()) {
        ++tally.queries;
        if (!query.status)
            tally.findings.push_back(query.status.message());
    }
    for (const std::string& line : db.damage().lines())
        tally.findings.push_back(line);
    std::fprintf(out, "Checked %zu tables (%zu rows) and %zu saved queries.\n", tally.tables,
                 tally.rows, tally.queries);
    if (tally.findings.empty()) {
        std::fprintf(out, "No damage found.\n");
        return kOk;
    }
    for (const std::string& finding : tally.findings)
        std::fprintf(out, "%s\n", finding.c_str());
    for (const std::string& line : db.damage().summary())
        std::fprintf(out, "%s\n", line.c_str());
    std::fprintf(out, "Damage found: %zu %s.\n", tally.findings.size(),
                 tally.findings.size() == 1 ? "problem" : "problems");
    return kReadError;
}

}  // namespace cli
