#include "sql/table_module.h"

#include <cstring>
#include <memory>
#include <vector>

#include "jet/number_text.h"
#include "sql/complex_subfields.h"
#include "sql/function_registry.h"
#include "sql/grouped_rows.h"
#include "sql/kept_rows.h"
#include "sql/scan_filter.h"
#include "sql/scan_plan.h"
#include "sql/sql_type.h"
#include "sql/table_lookup.h"
#include "sql/translator.h"

namespace jet::sql {

namespace {

struct Lookups {
    std::vector<std::unique_ptr<TableLookup>> byColumn;  // built on demand
    std::vector<int> filterCalls;                        // equality filters seen per column
    std::vector<bool> tooBig;
};

// A hidden column "<column>.<subfield>" after the table's own columns.
struct SubfieldColumn {
    std::size_t column = 0;
    Subfield subfield = Subfield::Value;
};

struct JetTable {
    sqlite3_vtab base{};
    const Database* db = nullptr;
    const TableDef* def = nullptr;
    Lookups lookups;
    std::vector<SubfieldColumn> subfields;
};

struct JetCursor {
    sqlite3_vtab_cursor base{};
    std::unique_ptr<TableCursor> cursor;
    ScanFilter filter;
    const TableLookup* lookup = nullptr;
    int64_t lookupRow = -1;
    // ORDER BY ... LIMIT served from the kept rows, in order.
    std::unique_ptr<KeptRows> kept;
    std::size_t keptRow = 0;
    // A GROUP BY's rows, group by group.
    std::unique_ptr<GroupedRows> grouped;
    bool eof = true;
    // Flattening: the complex column whose subfields the statement reads;
    // the scan then yields one row per attachment or value (one for none).
    int flatColumn = -1;
    const ComplexCell* cell = nullptr;
    std::size_t item = 0;
};

JetTable* tableOf(sqlite3_vtab_cursor* c) {
    return reinterpret_cast<JetTable*>(c->pVtab);
}
JetCursor* cursorOf(sqlite3_vtab_cursor* c) {
    return reinterpret_cast<JetCursor*>(c);
}

std::string hexDecode(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(parseInt(std::string_view(hex).substr(i, 2), 16).value_or(0));
    return out;
}

std::string hexEncode(const std::string& s) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The complex column to flatten by: the first whose subfields `used` names.
// Columns past the 63rd share one bit of `used` and never flatten.
int flattenedColumn(const JetTable* t, uint64_t used) {
    const std::size_t first = t->def->columns.size();
    for (std::size_t k = 0; k < t->subfields.size() && first + k < 63; ++k)
        if (used >> (first + k) & 1)
            return static_cast<int>(t->subfields[k].column);
    return -1;
}

std::size_t itemCount(const ComplexCell* cell) {
    if (!cell)
        return 0;
    return cell->kind == ComplexKind::Attachment ? cell->attachments.size() : cell->values.size();
}

int setError(sqlite3_vtab* vtab, const std::string& message, int code = SQLITE_ERROR) {
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", message.c_str());
    return code;
}

// Damage to the file's pages goes up as SQLITE_CORRUPT, so the statement
// fails as Corrupt and the caller can offer to read past it.
int setError(sqlite3_vtab* vtab, const Status& status) {
    return setError(vtab, status.message(),
                    status.code() == ErrorCode::Corrupt ? SQLITE_CORRUPT : SQLITE_ERROR);
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out,
            char** err) {
    const auto* database = static_cast<const Database*>(aux);
    if (argc < 4) {
        *err = sqlite3_mprintf("jet_table needs a table name");
        return SQLITE_ERROR;
    }
    std::string arg = argv[3];
    if (arg.size() >= 2 && arg.front() == '\'' && arg.back() == '\'')
        arg = arg.substr(1, arg.size() - 2);
    const std::string name = hexDecode(arg);
    const TableDef* def = database->findTable(name);
    if (!def) {
        *err = sqlite3_mprintf("no table '%s'", name.c_str());
        return SQLITE_ERROR;
    }
    std::string schema = "CREATE TABLE x(";
    std::vector<SubfieldColumn> subfields;
    for (std::size_t i = 0; i < def->columns.size(); ++i) {
        schema += (i ? ", " : "") + quoteIdentifier(def->columns[i].name) + " " +
                  sqliteDeclaration(typeOfColumn(def->columns[i].typeCode));
        if (def->columns[i].type() == ColumnType::Complex)
            for (int k = 0; k < kSubfieldCount; ++k)
                subfields.push_back({i, static_cast<Subfield>(k)});
    }
    for (const SubfieldColumn& sub : subfields)
        schema +=
            ", " +
            quoteIdentifier(def->columns[sub.column].name + "." + subfieldName(sub.subfield)) +
            " HIDDEN " + sqliteDeclaration(subfieldType(sub.subfield));
    schema += ")";
    if (sqlite3_declare_vtab(db, schema.c_str()) != SQLITE_OK) {
        *err = sqlite3_mprintf("cannot declare table '%s': %s", name.c_str(), sqlite3_errmsg(db));
        return SQLITE_ERROR;
    }
    auto* t = new JetTable();
    t->db = database;
    t->def = def;
    t->subfields = std::move(subfields);
    t->lookups.byColumn.resize(def->columns.size());
    t->lookups.filterCalls.assign(def->columns.size(), 0);
    t->lookups.tooBig.assign(def->columns.size(), false);
    *out = &t->base;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vtab) {
    delete reinterpret_cast<JetTable*>(vtab);
    return SQLITE_OK;
}

// Whether the statement reads subfields of a complex column (bit 63 stands
// for every column from the 64th on).
bool readsSubfields(const JetTable* t, uint64_t used) {
    const std::size_t first = t->def->columns.size();
    if (t->subfields.empty())
        return false;
    return first >= 63 ? (used >> 63) != 0 : (used >> first) != 0;
}

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
    auto* t = reinterpret_cast<JetTable*>(vtab);
    ScanChoices choices;
    // A flattened scan yields rows a lookup does not hold.
    choices.flattens = flattenedColumn(t, info->colUsed) >= 0;
    choices.hiddenUsed = readsSubfields(t, info->colUsed);
    choices.noLookup = &t->lookups.tooBig;
    const ScanPlan plan = chooseScanPlan(*t->def, info, choices);
    info->idxStr = sqlite3_mprintf("%s", plan.encode().c_str());
    info->needToFreeIdxStr = 1;
    info->idxNum = 0;
    return info->idxStr ? SQLITE_OK : SQLITE_NOMEM;
}

int open(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out) {
    auto* t = reinterpret_cast<JetTable*>(vtab);
    auto cursor = t->db->openTable(*t->def);
    if (!cursor)
        return setError(vtab, cursor.status());
    auto* c = new JetCursor();
    c->cursor = std::move(cursor.value());
    *out = &c->base;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cur) {
    delete cursorOf(cur);
    return SQLITE_OK;
}

int scanNext(JetCursor* c) {
    if (c->flatColumn >= 0 && c->item + 1 < itemCount(c->cell)) {
        ++c->item;
        return SQLITE_OK;
    }
    do {
        c->eof = !c->cursor->next();
    } while (!c->eof && !c->filter.admits(*c->cursor));
    if (!c->eof && c->flatColumn >= 0) {
        c->cell = c->cursor->complexCell(static_cast<std::size_t>(c->flatColumn));
        c->item = 0;
    }
    if (!c->cursor->status().isOk())
        return setError(c->base.pVtab, c->cursor->status());
    return SQLITE_OK;
}

// Equality filters use a lookup from their second call on; the first call
// (and any table too big for the budget) is served by a plain scan, which
// SQLite filters itself.
const TableLookup* lookupFor(JetTable* t, JetCursor* c, int column, uint64_t used) {
    Lookups& l = t->lookups;
    auto& lookup = l.byColumn[static_cast<std::size_t>(column)];
    if (lookup && (lookup->columns() & used) == used)
        return lookup.get();
    if (++l.filterCalls[static_cast<std::size_t>(column)] < 2 ||
        l.tooBig[static_cast<std::size_t>(column)])
        return nullptr;
    auto built = std::make_unique<TableLookup>();
    const SqlType type = typeOfColumn(t->def->columns[static_cast<std::size_t>(column)].typeCode);
    if (!built->build(*c->cursor, column, used, isNumeric(type) || type == SqlType::Date)) {
        l.tooBig[static_cast<std::size_t>(column)] = true;
        return nullptr;
    }
    lookup = std::move(built);
    return lookup.get();
}

// The scan keeps the best rows of an ORDER BY ... LIMIT and yields them.
int startKept(JetTable* t, JetCursor* c, const ScanPlan& plan, sqlite3_value** argv) {
    const long long limit = sqlite3_value_int64(argv[plan.limitArgv - 1]);
    c->kept = std::make_unique<KeptRows>(*t->def, plan.order, limit, plan.columnsUsed);
    if (Status st = c->kept->collect(*c->cursor, c->filter); !st)
        return setError(&t->base, st);
    c->keptRow = 0;
    c->eof = c->kept->size() == 0;
    return SQLITE_OK;
}

// The scan yields its rows grouped by the plan's GROUP BY columns.
int startGrouped(JetTable* t, JetCursor* c, const ScanPlan& plan) {
    for (const int column : plan.groupBy) {
        if (column < 0 || static_cast<std::size_t>(column) >= t->def->columns.size())
            return setError(&t->base, "unreadable scan plan");
    }
    c->grouped = std::make_unique<GroupedRows>(*t->def, plan.groupBy, plan.columnsUsed);
    if (Status st = c->grouped->collect(*c->cursor, c->filter); !st)
        return setError(&t->base, st);
    c->eof = c->grouped->atEnd();
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* cur, int, const char* idxStr, int argc, sqlite3_value** argv) {
    JetCursor* c = cursorOf(cur);
    JetTable* t = tableOf(cur);
    c->lookup = nullptr;
    c->kept.reset();
    c->grouped.reset();
    const std::optional<ScanPlan> plan = ScanPlan::decode(idxStr ? idxStr : "");
    if (!plan)
        return setError(cur->pVtab, "unreadable scan plan");
    c->flatColumn = flattenedColumn(t, plan->columnsUsed);
    c->cell = nullptr;
    c->item = 0;
    c->filter.prepare(plan->tests, argv, argc);
    if (plan->limitArgv >= 1 && plan->limitArgv <= argc)
        return startKept(t, c, *plan, argv);
    if (!plan->groupBy.empty())
        return startGrouped(t, c, *plan);
    if (plan->lookupColumn >= 0 && argc >= 1) {
        uint64_t used = plan->columnsUsed;
        if (used >> 63)
            used = ~uint64_t{0};
        c->lookup = lookupFor(t, c, plan->lookupColumn, used);
        if (c->lookup) {
            c->lookupRow = c->lookup->first(argv[0]);
            c->eof = c->lookupRow < 0;
            return SQLITE_OK;
        }
    }
    c->cursor->rewind();
    return scanNext(c);
}

int next(sqlite3_vtab_cursor* cur) {
    JetCursor* c = cursorOf(cur);
    if (c->kept) {
        c->eof = ++c->keptRow >= c->kept->size();
        return SQLITE_OK;
    }
    if (c->grouped) {
        c->grouped->next();
        c->eof = c->grouped->atEnd();
        return SQLITE_OK;
    }
    if (c->lookup) {
        c->lookupRow = c->lookup->next(c->lookupRow);
        c->eof = c->lookupRow < 0;
        return SQLITE_OK;
    }
    return scanNext(c);
}

int eof(sqlite3_vtab_cursor* cur) {
    return cursorOf(cur)->eof ? 1 : 0;
}

// A subfield of the current row's complex cell: of the item being
// flattened, or of the first item when the scan is not flattened by it.
int subfieldResult(JetTable* t, JetCursor* c, sqlite3_context* ctx, const SubfieldColumn& sub) {
    const bool flat = static_cast<int>(sub.column) == c->flatColumn;
    const ComplexCell* cell = flat ? c->cell : c->cursor->complexCell(sub.column);
    if (!c->cursor->status().isOk())
        return setError(&t->base, c->cursor->status());
    const std::size_t item = flat ? c->item : 0;
    if (item >= itemCount(cell)) {
        sqlite3_result_null(ctx);
        return SQLITE_OK;
    }
    if (cell->kind != ComplexKind::Attachment) {
        if (sub.subfield == Subfield::Value)
            resultFromValue(ctx, cell->values[item].ref());
        else
            sqlite3_result_null(ctx);
        return SQLITE_OK;
    }
    const Attachment& a = cell->attachments[item];
    switch (sub.subfield) {
        case Subfield::FileData: {
            Result<std::string> data = t->db->attachmentData(a);
            if (!data)
                return setError(&t->base, data.status());
            sqlite3_result_blob64(ctx, data->data(), data->size(), SQLITE_TRANSIENT);
            break;
        }
        case Subfield::FileFlags:
            resultFromValue(ctx, a.flags.ref());
            break;
        case Subfield::FileTimeStamp:
            resultFromValue(ctx, a.timeStamp.ref());
            break;
        case Subfield::FileName:
        case Subfield::FileType:
        case Subfield::FileURL: {
            const std::string& text = sub.subfield == Subfield::FileName   ? a.name
                                      : sub.subfield == Subfield::FileType ? a.type
                                                                           : a.url;
            // The reader keeps no difference between Null and "" here; Access
            // leaves an unset field Null.
            if (text.empty())
                sqlite3_result_null(ctx);
            else
                sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()),
                                    SQLITE_TRANSIENT);
            break;
        }
        case Subfield::Value:
            sqlite3_result_null(ctx);
            break;
    }
    return SQLITE_OK;
}

int column(sqlite3_vtab_cursor* cur, sqlite3_context* ctx, int i) {
    JetCursor* c = cursorOf(cur);
    JetTable* t = tableOf(cur);
    const std::size_t base = t->def->columns.size();
    if (c->kept) {
        c->kept->result(ctx, c->keptRow, i);
        return SQLITE_OK;
    }
    if (c->grouped) {
        c->grouped->result(ctx, i);
        return SQLITE_OK;
    }
    if (static_cast<std::size_t>(i) >= base)
        return subfieldResult(t, c, ctx, t->subfields[static_cast<std::size_t>(i) - base]);
    if (c->lookup) {
        if (!c->lookup->has(i) && i < 63)
            return setError(cur->pVtab, "column missing from the lookup");
        c->lookup->result(ctx, c->lookupRow, i);
        return SQLITE_OK;
    }
    resultFromValue(ctx, c->cursor->get(static_cast<std::size_t>(i)));
    if (!c->cursor->status().isOk())
        return setError(cur->pVtab, c->cursor->status());
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cur, sqlite3_int64* out) {
    JetCursor* c = cursorOf(cur);
    if (c->kept) {
        *out = static_cast<sqlite3_int64>(c->kept->rowId(c->keptRow));
        return SQLITE_OK;
    }
    if (c->grouped) {
        *out = static_cast<sqlite3_int64>(c->grouped->rowId());
        return SQLITE_OK;
    }
    // A flattened row's id keeps the stored row's id apart from its item.
    const uint64_t stored = c->cursor->rowId();
    *out = c->lookup
               ? c->lookup->rowId(c->lookupRow)
               : static_cast<sqlite3_int64>(c->flatColumn < 0 ? stored : stored << 16 | c->item);
    return SQLITE_OK;
}

// acc_like(column, pattern) becomes a constraint the scan tests itself. The
// function SQLite runs stays acc_like.
int findFunction(sqlite3_vtab*, int argc, const char* name,
                 void (**function)(sqlite3_context*, int, sqlite3_value**), void** data) {
    if (argc != 2 || sqlite3_stricmp(name, "acc_like") != 0)
        return 0;
    *function = accessLike;
    *data = nullptr;
    return kLikeConstraint;
}

sqlite3_module makeModule() {
    sqlite3_module m{};
    m.iVersion = 0;
    m.xCreate = connect;
    m.xConnect = connect;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xDestroy = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    m.xFindFunction = findFunction;
    return m;
}

const sqlite3_module kModule = makeModule();

}  // namespace

Status registerTableModule(sqlite3* connection, const Database& db, const std::string& module) {
    if (sqlite3_create_module_v2(connection, module.c_str(), &kModule, const_cast<Database*>(&db),
                                 nullptr) != SQLITE_OK) {
        return Status(ErrorCode::Invalid, std::string("Cannot register the table module: ") +
                                              sqlite3_errmsg(connection));
    }
    return Status::ok();
}

std::string createTableStatement(const std::string& sqlName, const TableDef& table,
                                 const std::string& module) {
    return "CREATE VIRTUAL TABLE temp." + sqlName + " USING " + module + "('" +
           hexEncode(table.name) + "')";
}

}  // namespace jet::sql
