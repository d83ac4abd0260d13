#include "cli_commands.h"

#include <algorithm>
#include <memory>
#include <numeric>

#include "check_command.h"
#include "damage_output.h"
#include "jet/database.h"
#include "link_folders.h"
#include "parallel_export.h"
#include "read_ahead.h"
#include "row_batch.h"

namespace cli {
namespace {

int fail(std::FILE* err, int code, const std::string& message) {
    std::fprintf(err, "tablescope-cli: %s\n", message.c_str());
    return code;
}

// A table whose definition cannot be read is listed, and why on `err`.
int listTables(const jet::Database& db, bool system, std::FILE* out, std::FILE* err) {
    for (const jet::TableDef& t : db.tables()) {
        if (!system && t.isSystem())
            continue;
        std::fprintf(out, "%s\n", t.name.c_str());
        if (!t.definitionError.empty())
            std::fprintf(err, "tablescope-cli: %s\n", t.definitionError.c_str());
    }
    return kOk;
}

int listQueries(const jet::Database& db, std::FILE* out) {
    for (const jet::QueryDef& q : db.queries())
        std::fprintf(out, "%s\n", q.name.c_str());
    return kOk;
}

int printSql(const jet::Database& db, const std::string& name, std::FILE* out, std::FILE* err) {
    const jet::QueryDef* q = db.findQuery(name);
    if (!q)
        return fail(err, kReadError, "no saved query named '" + name + "'");
    if (!q->status)
        return fail(err, kReadError, q->status.message());
    std::fprintf(out, "%s\n", q->info.sql.c_str());
    return kOk;
}

void printTableSchema(const jet::Database& db, const jet::TableDef& t, std::FILE* out) {
    std::fprintf(out, "%s%s\n", t.name.c_str(),
                 t.isLinked() ? (" (linked: " + t.linkedDatabase + t.connect + ")").c_str() : "");
    // A linked table shows its back-end's columns when the back-end is there.
    auto source = db.resolveTable(t);
    if (!source)
        return;
    const bool jet3 = source->database->format() == jet::FileFormat::Jet3;
    for (const jet::Column& c : source->table->columns) {
        std::fprintf(out, "\t%s\t%.*s\t%d", c.name.c_str(), static_cast<int>(c.typeName().size()),
                     c.typeName().data(), c.size(jet3));
        if (c.isCalculated())
            std::fprintf(out, "\t= %s", c.expression.c_str());
        std::fputc('\n', out);
    }
}

int printSchema(const jet::Database& db, const Options& o, std::FILE* out, std::FILE* err) {
    if (o.operands.size() > 1) {
        const jet::TableDef* t = db.findTable(o.operands[1]);
        if (!t)
            return fail(err, kReadError, "no table named '" + o.operands[1] + "'");
        printTableSchema(db, *t, out);
        return kOk;
    }
    for (const jet::TableDef& t : db.tables())
        printTableSchema(db, t, out);
    return kOk;
}

// A complex cell in its JSON form; attachments' sizes come from their data.
jet::Status writeComplex(const jet::Database& db, jet::TableCursor& cursor, size_t column,
                         RowWriter& writer) {
    const jet::ComplexCell* cell = cursor.complexCell(column);
    if (!cursor.status())
        return cursor.status();
    std::vector<uint64_t> sizes;
    for (size_t i = 0; cell && i < cell->attachments.size(); ++i) {
        jet::Result<uint64_t> size = db.attachmentSize(cell->attachments[i]);
        if (!size)
            return size.status();
        sizes.push_back(*size);
    }
    writer.complexValue(cell, sizes);
    return jet::Status::ok();
}

// Writes every row of `cursor` with two threads at work, and returns the
// rows' status: a row whose value failed is written as far as it was read,
// as the single-thread loop did, and ends the rows.
jet::Status writeRows(jet::TableCursor& cursor, RowWriter& writer) {
    if (ParallelExport::possible(cursor))
        return ParallelExport::write(cursor, writer);
    // One cursor: it reads on a second thread while this one writes.
    std::vector<size_t> columns(cursor.columnCount());
    std::iota(columns.begin(), columns.end(), size_t{0});
    ReadAhead<RowBatch> rows(cursor, columns, FailedRow::Keep);
    while (const RowBatch* batch = rows.next()) {
        for (size_t r = 0; r < batch->rows(); ++r) {
            writer.beginRow();
            for (size_t i = 0; i < columns.size(); ++i)
                writer.value(batch->value(r, i));
            writer.endRow();
        }
    }
    return rows.status();
}

int exportTable(const jet::Database& db, const Options& o, std::FILE* out, std::FILE* err) {
    const std::string& name = o.operands[1];
    const jet::TableDef* t = db.findTable(name);
    if (!t) {
        if (db.findQuery(name))
            return fail(err, kStatementError,
                        "exporting saved queries is not supported yet: '" + name + "'");
        return fail(err, kReadError, "no table named '" + name + "'");
    }
    auto source = db.resolveTable(*t);
    if (!source)
        return fail(err, kReadError, source.status().message());
    auto cursor = source->database->openTable(*source->table);
    if (!cursor)
        return reportReadFailure(db, cursor.status(), err);
    std::vector<std::string> names;
    for (const jet::Column& c : source->table->columns)
        names.push_back(c.name);
    RowWriter writer(out, o.format, names, o.csv);
    jet::TableCursor& c = **cursor;
    const size_t columns = c.columnCount();
    // The cursor reads the back-end's definition, which for a linked table
    // need not match the front-end's: columns and attachments come from it.
    std::vector<uint8_t> complexJson;  // columns written in their JSON array form
    for (const jet::Column& column : source->table->columns)
        complexJson.push_back(o.format == ExportFormat::JsonLines &&
                              column.type() == jet::ColumnType::Complex);
    const bool anyComplexJson =
        std::find(complexJson.begin(), complexJson.end(), 1) != complexJson.end();
    jet::Status failure;
    jet::Status rows;
    if (anyComplexJson) {
        // Attachment sizes are read from the database between rows, so
        // these rows are read and written on one thread.
        while (c.next() && failure) {
            writer.beginRow();
            for (size_t i = 0; i < columns && failure; ++i) {
                if (i < complexJson.size() && complexJson[i])
                    failure = writeComplex(*source->database, c, i, writer);
                else
                    writer.value(c.get(i));
            }
            writer.endRow();
        }
        rows = c.status();
    } else {
        rows = writeRows(c, writer);
    }
    const bool written = writer.flush();
    if (!failure)
        return fail(err, kReadError, failure.message());
    if (!rows)
        return reportReadFailure(db, rows, err);
    if (!written)
        return fail(err, kReadError, writer.failure());
    return kOk;
}

}  // namespace

int runCommand(const Options& o, std::FILE* out, std::FILE* err) {
    const bool salvage = o.salvage || o.command == "check";
    auto db = openDatabase(o.operands[0], o.password,
                           salvage ? jet::ReadMode::Salvage : jet::ReadMode::Strict);
    if (!db) {
        // A file that is an Access file but too damaged to open is damage.
        const bool damaged = o.command == "check" && db.status().code() == jet::ErrorCode::Corrupt;
        return fail(err, damaged ? kReadError : kCannotOpen, db.status().message());
    }
    if (o.command == "check")
        return checkDatabase(**db, out);
    if (o.command == "tables")
        return listTables(**db, o.systemTables, out, err);
    if (o.command == "queries")
        return listQueries(**db, out);
    if (o.command == "sql")
        return printSql(**db, o.operands[1], out, err);
    if (o.command == "schema")
        return printSchema(**db, o, out, err);
    return reportDamage(**db, err, exportTable(**db, o, out, err));
}

}  // namespace cli
