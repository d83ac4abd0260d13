// An open database as the window uses it: table definitions, query
// definitions and record sets from a table name, a saved query name or SQL
// text. Shared between the window (the open database) and the data control
// the data control; close() releases the file for every holder.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/query_definitions.h"
#include "db/table_definition.h"
#include "jet/database.h"
#include "jet/recordset.h"
#include "jet/sql_session.h"
#include "jet/status.h"

namespace db {

class Database {
  public:
    // Opens `path`. `options` is accepted for callers that pass one; the
    // database is read-only towards its data whatever it says. `connect` may
    // carry the password as "...;PWD=secret;". Failures are the engine's
    // ("Not a valid password.", "Unrecognized database format ...").
    static jet::Result<std::shared_ptr<Database>> open(const std::string& path, int options = 0,
                                                       std::string_view connect = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The path the database was opened from.
    const std::string& name() const { return path_; }
    bool isOpen() const { return engine_ != nullptr; }

    // Every table as stored, system tables included, in the engine's order.
    int tableDefCount() const { return int(tables_.size()); }
    const TableDefinition& tableDef(int i) const { return tables_[std::size_t(i)]; }
    QueryDefinitions& queryDefs() { return queries_; }

    // Opens a table name, a saved query name or an SQL statement.
    jet::Result<std::unique_ptr<jet::Recordset>> openRecordset(
        const std::string& source, const jet::ParameterValues& parameters = {});
    // What `source` asks for, in the order it should be asked.
    jet::Result<std::vector<jet::QueryParameter>> parameters(const std::string& source);
    // Output field names of `source` without reading its rows.
    jet::Result<std::vector<std::string>> fields(const std::string& source);
    // Rows a table holds by its definition (a progress estimate); 0 otherwise.
    uint64_t estimatedRows(const std::string& source) const;

    // Whether `failure` of `source` is damage to rows that a salvaging read
    // gets past: a page or row that cannot be read, not a table definition
    // that cannot be read (nothing of that table can be shown).
    bool salvageable(const std::string& source, const jet::Status& failure) const;
    // Opens `source` salvaging: pages, rows and long values that cannot be
    // read are skipped and recorded in damage() instead of failing the read.
    // Each call starts a fresh record of what was skipped.
    jet::Result<std::unique_ptr<jet::Recordset>> openSalvaged(
        const std::string& source, const jet::ParameterValues& parameters = {});
    // The data and size of an attachment that a result read through
    // `holder`, one of the engines this database has opened (the current
    // one, one kept after a reload or a salvaging read). Fails once the
    // database is closed.
    jet::Result<std::string> attachmentData(const jet::Database* holder,
                                            const jet::Attachment& attachment) const;
    jet::Result<uint64_t> attachmentSize(const jet::Database* holder,
                                         const jet::Attachment& attachment) const;
    // What the last salvaging read skipped; empty before the first.
    const jet::DamageReport& damage() const;
    // The back-end file (as the link stores it) of the linked table `table`
    // when that file cannot be found; empty when it is found, when the table
    // is local and for links to other kinds of source.
    std::string missingBackEnd(const std::string& table) const;
    // Whether the linked table `table` can be read through its link: ok for
    // local tables, else the engine's reason.
    jet::Status linkStatus(const std::string& table) const;
    // Reads the back-end stored as `stored` from `file` for as long as this
    // database is open (reloads included); an empty `file` forgets the
    // choice. The table definitions are read again, so linked tables list the
    // chosen file's fields.
    void setBackEndFile(const std::string& stored, const std::string& file);

    // Re-reads the catalog from the file (after saved queries changed).
    jet::Status reload();
    // Releases the file; afterwards every call fails with "The database is closed."
    void close();

    const jet::Database* engine() const { return engine_.get(); }

  private:
    friend class QueryDefinitions;  // the writer needs the password

    // An engine replaced by reload(), kept with its session until close()
    // because record sets opened from it still read the file it opened.
    struct Retired {
        std::unique_ptr<jet::Database> engine;
        std::unique_ptr<jet::SqlSession> session;
    };

    Database(std::string path, std::string password, std::unique_ptr<jet::Database> engine);
    jet::Status startSession();
    void readTables();
    jet::Status closedError() const;
    bool holds(const jet::Database* engine) const;

    std::string path_;
    std::string password_;
    std::unique_ptr<jet::Database> engine_;
    std::unique_ptr<jet::SqlSession> session_;
    std::vector<TableDefinition> tables_;
    std::vector<Retired> retired_;
    // The file opened a second time to salvage, so that the strict reads of
    // the open database keep failing loudly on damage.
    Retired salvage_;
    std::map<std::string, std::string> backEndFiles_;  // stored link path -> chosen file
    QueryDefinitions queries_{*this};
};

}  // namespace db
