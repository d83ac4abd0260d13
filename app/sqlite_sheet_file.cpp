#include "app/sqlite_sheet_file.h"

#include <sqlite3.h>

#include <memory>
#include <string>

#include "app/sheet_export_columns.h"

namespace app {

namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabasePtr = std::unique_ptr<sqlite3, CloseDatabase>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

jet::Status failure(sqlite3* db, const char* doing) {
    return jet::Status(jet::ErrorCode::Io, std::string("Cannot write the SQLite database (") +
                                               doing + "): " + sqlite3_errmsg(db));
}

std::string quoted(const QString& name) {
    std::string out = "\"";
    for (const char c : name.toStdString()) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + '"';
}

const char* declaredType(SheetExportColumns::Kind kind) {
    using Kind = SheetExportColumns::Kind;
    switch (kind) {
        case Kind::Integer:
            return "INTEGER";
        case Kind::Number:
            return "REAL";
        case Kind::Boolean:
            return "BOOLEAN";
        case Kind::Date:
            return "DATETIME";
        case Kind::Text:
            break;
    }
    return "TEXT";
}

std::string createTable(const SheetExportColumns& columns, const QString& table) {
    std::string sql = "CREATE TABLE " + quoted(table) + " (";
    for (int c = 0; c < columns.count(); ++c) {
        sql += (c ? ", " : "") + quoted(columns.names()[std::size_t(c)]) + ' ' +
               declaredType(columns.kind(c));
    }
    return sql + ")";
}

std::string insertRow(const SheetExportColumns& columns, const QString& table) {
    std::string sql = "INSERT INTO " + quoted(table) + " VALUES (";
    for (int c = 0; c < columns.count(); ++c) {
        sql += c ? ",?" : "?";
    }
    return sql + ")";
}

void bind(sqlite3_stmt* insert, int index, const SheetExportColumns::Cell& cell) {
    using Cell = SheetExportColumns::Cell;
    switch (cell.type) {
        case Cell::Null:
            sqlite3_bind_null(insert, index);
            break;
        case Cell::Integer:
            sqlite3_bind_int64(insert, index, cell.integer);
            break;
        case Cell::Number:
            sqlite3_bind_double(insert, index, cell.number);
            break;
        case Cell::Boolean:
            sqlite3_bind_int(insert, index, cell.truth ? 1 : 0);
            break;
        case Cell::Text:
            sqlite3_bind_text64(insert, index, cell.text.data(), cell.text.size(), SQLITE_TRANSIENT,
                                SQLITE_UTF8);
            break;
    }
}

jet::Status insertRows(sqlite3* db, const SheetExportColumns& columns, const QString& table) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, insertRow(columns, table).c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        return failure(db, "insert");
    }
    const StatementPtr insert(raw);
    std::string scratch;
    for (int r = 1; r <= columns.rows(); ++r) {
        for (int c = 0; c < columns.count(); ++c) {
            bind(raw, c + 1, columns.cell(r, c, scratch, true));
        }
        if (sqlite3_step(raw) != SQLITE_DONE) {
            return failure(db, "insert");
        }
        sqlite3_reset(raw);
    }
    return jet::Status::ok();
}

jet::Status run(sqlite3* db, const std::string& sql, const char* doing) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK
               ? jet::Status::ok()
               : failure(db, doing);
}

jet::Result<QByteArray> serialized(sqlite3* db) {
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    if (!bytes) {
        return failure(db, "out of memory");
    }
    QByteArray file(reinterpret_cast<const char*>(bytes), qsizetype(size));
    sqlite3_free(bytes);
    return file;
}

}  // namespace

QString SqliteSheetFile::tableName(const QString& source) {
    QString name;
    for (const QChar c : source.trimmed()) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'_';
        if (plain) {
            name += c;
        } else if (!name.endsWith(u'_')) {
            name += u'_';
        }
    }
    while (name.endsWith(u'_')) {
        name.chop(1);
    }
    while (name.startsWith(u'_')) {
        name.remove(0, 1);
    }
    if (name.isEmpty()) {
        return QStringLiteral("Sheet");
    }
    if (name.front().isDigit() || name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)) {
        name.prepend(QLatin1String("T_"));
    }
    return name;
}

jet::Result<QByteArray> SqliteSheetFile::save(const sheet::Grid& sheet, const QString& tableName) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open(":memory:", &raw);
    const DatabasePtr db(raw);
    if (opened != SQLITE_OK) {
        return jet::Status(jet::ErrorCode::Io, "Cannot create the SQLite database.");
    }
    const SheetExportColumns columns(sheet);
    if (columns.count() == 0) {
        return jet::Status(jet::ErrorCode::Invalid, "The sheet has no columns to make a table of.");
    }
    jet::Status status = run(raw, createTable(columns, tableName), "create the table");
    if (status.isOk()) {
        status = run(raw, "BEGIN", "begin");
    }
    if (status.isOk()) {
        status = insertRows(raw, columns, tableName);
    }
    if (status.isOk()) {
        status = run(raw, "COMMIT", "commit");
    }
    if (!status.isOk()) {
        return status;
    }
    return serialized(raw);
}

}  // namespace app
