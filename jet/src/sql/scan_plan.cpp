#include "sql/scan_plan.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "sql/sql_type.h"

namespace jet::sql {

namespace {

bool isComparison(int op) {
    return op == SQLITE_INDEX_CONSTRAINT_EQ || op == SQLITE_INDEX_CONSTRAINT_GT ||
           op == SQLITE_INDEX_CONSTRAINT_GE || op == SQLITE_INDEX_CONSTRAINT_LT ||
           op == SQLITE_INDEX_CONSTRAINT_LE;
}

// A stored column the scan can read and test (not a complex column, not a
// hidden subfield).
bool plainColumn(const TableDef& table, int column) {
    return column >= 0 && static_cast<std::size_t>(column) < table.columns.size() &&
           table.columns[static_cast<std::size_t>(column)].type() != ColumnType::Complex;
}

// Reads the numbers of `text` separated by commas into `out`.
bool readNumbers(std::string_view text, std::vector<uint64_t>& out) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        uint64_t n = 0;
        auto [next, ec] = std::from_chars(p, end, n);
        if (ec != std::errc())
            return false;
        out.push_back(n);
        p = next;
        if (p < end && *p++ != ',')
            return false;
    }
    return true;
}

int chooseLookup(const TableDef& table, const sqlite3_index_info* info,
                 const ScanChoices& choices) {
    if (choices.flattens)
        return -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (c.usable && c.op == SQLITE_INDEX_CONSTRAINT_EQ && plainColumn(table, c.iColumn) &&
            !(choices.noLookup && (*choices.noLookup)[static_cast<std::size_t>(c.iColumn)]))
            return i;
    }
    return -1;
}

void addTests(const TableDef& table, sqlite3_index_info* info, ScanPlan& plan, int& argv) {
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (!c.usable || !plainColumn(table, c.iColumn))
            continue;
        ScanPlan::Test test{c.iColumn, c.op, false, 0};
        if (isComparison(c.op)) {
            const char* collation = sqlite3_vtab_collation(info, i);
            test.accessText = collation && sqlite3_stricmp(collation, "ACCESS") == 0;
            if (!test.accessText && collation && sqlite3_stricmp(collation, "BINARY") != 0)
                continue;
        } else if (c.op != kLikeConstraint) {
            continue;
        }
        test.argv = argv++;
        info->aConstraintUsage[i].argvIndex = test.argv;
        info->aConstraintUsage[i].omit = 0;  // SQLite checks the rows the scan lets through
        plan.tests.push_back(test);
    }
}

// ORDER BY ... LIMIT n on a single table with no other constraint: the scan
// keeps the best n rows itself. With any other constraint SQLite would drop
// some kept rows after the scan and return fewer than n.
void addKeptOrder(const TableDef& table, sqlite3_index_info* info, ScanPlan& plan, int& argv) {
    if (info->nOrderBy == 0 || sqlite3_vtab_distinct(info) != 0)
        return;
    int limit = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const int op = info->aConstraint[i].op;
        if (op != SQLITE_INDEX_CONSTRAINT_LIMIT || !info->aConstraint[i].usable)
            return;
        limit = i;
    }
    sqlite3_value* value = nullptr;
    if (limit < 0 || sqlite3_vtab_rhs_value(info, limit, &value) != SQLITE_OK ||
        sqlite3_value_type(value) != SQLITE_INTEGER || sqlite3_value_int64(value) < 0 ||
        sqlite3_value_int64(value) > kMaxKeptRows)
        return;
    for (int k = 0; k < info->nOrderBy; ++k) {
        if (!plainColumn(table, info->aOrderBy[k].iColumn))
            return;
    }
    for (int k = 0; k < info->nOrderBy; ++k)
        plan.order.push_back({info->aOrderBy[k].iColumn, info->aOrderBy[k].desc != 0});
    plan.limitArgv = argv++;
    info->aConstraintUsage[limit].argvIndex = plan.limitArgv;
    info->orderByConsumed = 1;
}

// A GROUP BY on columns of a single table: the scan yields the rows group
// by group (SQLite then only compares each row with the one before), when
// what it must hold stays within kMostGroupedBytes.
void addGroupedOrder(const TableDef& table, sqlite3_index_info* info, ScanPlan& plan) {
    if (info->nOrderBy == 0 || sqlite3_vtab_distinct(info) != 1)
        return;
    std::vector<int> groupBy;
    for (int k = 0; k < info->nOrderBy; ++k) {
        const int column = info->aOrderBy[k].iColumn;
        if (!plainColumn(table, column))
            return;
        if (std::find(groupBy.begin(), groupBy.end(), column) == groupBy.end())
            groupBy.push_back(column);
    }
    if (!groupingFits(table, info->colUsed, groupBy))
        return;
    plan.groupBy = std::move(groupBy);
    info->orderByConsumed = 1;
}

}  // namespace

// What one row costs at worst: its columns read (text at three bytes of
// UTF-8 per stored UCS-2 code unit) and, as if it opened a group of its own,
// the group's keys and bookkeeping. Long values have no bound.
bool groupingFits(const TableDef& table, uint64_t columnsUsed, const std::vector<int>& groupBy) {
    double perRow = 16;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (!((columnsUsed >> std::min<std::size_t>(c, 63)) & 1))
            continue;
        const Column& column = table.columns[c];
        if (column.isLongValue() || column.type() == ColumnType::Complex)
            return false;
        perRow += 10 + 1.5 * column.length;
    }
    for (const int c : groupBy)
        perRow += 200 + 3.5 * table.columns[static_cast<std::size_t>(c)].length;
    return perRow * std::max<double>(1.0, table.storedRowCount) <= kMostGroupedBytes;
}

std::string ScanPlan::encode() const {
    std::string out = "u" + std::to_string(columnsUsed);
    if (lookupColumn >= 0)
        out += ";k" + std::to_string(lookupColumn);
    for (const Test& t : tests) {
        out += ";t" + std::to_string(t.column) + "," + std::to_string(t.op) + "," +
               (t.accessText ? "1," : "0,") + std::to_string(t.argv);
    }
    for (const OrderKey& o : order)
        out += ";o" + std::to_string(o.column) + (o.descending ? ",1" : ",0");
    if (limitArgv >= 0)
        out += ";n" + std::to_string(limitArgv);
    for (const int g : groupBy)
        out += ";g" + std::to_string(g);
    return out;
}

std::optional<ScanPlan> ScanPlan::decode(std::string_view text) {
    ScanPlan plan;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(';'), text.size());
        const char kind = text[0];
        std::vector<uint64_t> n;
        if (!readNumbers(text.substr(1, end - 1), n) || n.empty())
            return std::nullopt;
        if (kind == 'u' && n.size() == 1) {
            plan.columnsUsed = static_cast<uint64_t>(n[0]);
        } else if (kind == 'k' && n.size() == 1) {
            plan.lookupColumn = static_cast<int>(n[0]);
        } else if (kind == 't' && n.size() == 4) {
            plan.tests.push_back({static_cast<int>(n[0]), static_cast<int>(n[1]), n[2] != 0,
                                  static_cast<int>(n[3])});
        } else if (kind == 'o' && n.size() == 2) {
            plan.order.push_back({static_cast<int>(n[0]), n[1] != 0});
        } else if (kind == 'n' && n.size() == 1) {
            plan.limitArgv = static_cast<int>(n[0]);
        } else if (kind == 'g' && n.size() == 1) {
            plan.groupBy.push_back(static_cast<int>(n[0]));
        } else {
            return std::nullopt;
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return plan;
}

ScanPlan chooseScanPlan(const TableDef& table, sqlite3_index_info* info,
                        const ScanChoices& choices) {
    ScanPlan plan;
    plan.columnsUsed = info->colUsed;
    const double rows = std::max<double>(1.0, table.storedRowCount);
    int argv = 1;
    const int lookup = chooseLookup(table, info, choices);
    if (lookup >= 0) {
        // An equality lookup costs little per call, but more on big tables,
        // so that the lookup is built on the smaller side of a join.
        plan.lookupColumn = info->aConstraint[lookup].iColumn;
        info->aConstraintUsage[lookup].argvIndex = argv++;
        info->aConstraintUsage[lookup].omit = 0;  // SQLite checks the match again
        const double scale = rows / 10000.0;
        info->estimatedCost = 1.0 + scale * scale;
        info->estimatedRows = 10;
        return plan;
    }
    info->estimatedCost = rows;
    info->estimatedRows = static_cast<sqlite3_int64>(rows);
    if (choices.flattens)
        return plan;
    addTests(table, info, plan, argv);
    // Kept rows are served from copies, which hold no complex cells.
    if (plan.tests.empty() && !choices.hiddenUsed)
        addKeptOrder(table, info, plan, argv);
    if (plan.limitArgv < 0 && !choices.hiddenUsed)
        addGroupedOrder(table, info, plan);
    return plan;
}

}  // namespace jet::sql
