// The data control: a database, a record source (table name, query
// name or SQL text) and a refresh that opens the source and hands the record
// set to whatever is bound to it, in bulk. An already opened record set (a
// parameter query's) can be bound in place of the record source; it is
// shown by the next refresh, and later refreshes run the same query with
// the same parameter values again.
#pragma once

#include <memory>
#include <string>

#include "db/recordset_sink.h"
#include "jet/recordset.h"
#include "jet/sql_session.h"
#include "jet/status.h"

namespace db {

class Database;

class DataControl {
  public:
    // The database the record source is opened in; its path is the
    // control's database name. Null detaches it (and any bound record set).
    void setDatabase(std::shared_ptr<Database> database);
    std::string databaseName() const;
    const std::shared_ptr<Database>& database() const { return database_; }

    void setRecordSource(std::string source);
    const std::string& recordSource() const { return source_; }
    const jet::ParameterValues& parameterValues() const { return parameters_; }

    // Binds an opened record set of `source` run with `parameters`.
    void setRecordset(std::unique_ptr<jet::Recordset> records, std::string source,
                      jet::ParameterValues parameters);

    // While salvaging, refreshes read the record source past damaged pages
    // and rows (see Database::openSalvaged). A new record source or bound
    // record set ends it.
    void setSalvaging(bool salvaging);
    bool salvaging() const { return salvaging_; }

    // The sheet (or any other sink) that takes the rows.
    void bind(RecordsetSink* sink) { sink_ = sink; }

    // Opens the record source (or takes the bound record set) and hands it
    // to the sink. Fails with the engine's description when the source
    // cannot be opened; then the sink is unchanged. A failure while rows are
    // read leaves the rows read so far in the sink (Outcome::replaced).
    RecordsetSink::Outcome refresh();

  private:
    std::shared_ptr<Database> database_;
    std::string source_;
    jet::ParameterValues parameters_;
    std::unique_ptr<jet::Recordset> bound_;
    bool salvaging_ = false;
    RecordsetSink* sink_ = nullptr;
};

}  // namespace db
