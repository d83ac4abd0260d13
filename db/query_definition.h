// One saved query of an open database: its name, SQL text, output fields and
// parameters. Parameter values are set as text and converted by the engine to
// each parameter's declared type when the record set is opened.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/query_def.h"
#include "jet/recordset.h"
#include "jet/status.h"

namespace db {

class Database;

class QueryDefinition {
  public:
    struct Parameter {
        std::string name;
        std::string value;  // as typed; empty when the prompt was cancelled
    };

    // `owner` must outlive the definition; `def` is copied.
    QueryDefinition(Database& owner, const jet::QueryDef& def);

    const std::string& name() const { return name_; }
    // The statement as the database stores it (CR LF between clauses). Empty
    // when the query's rows could not be rebuilt.
    const std::string& sql() const { return sql_; }
    jet::QueryKind kind() const { return kind_; }
    // Output field names; empty for queries that return no rows.
    const std::vector<std::string>& fields() const { return fields_; }

    // The parameters the query asks for: declared ones first, then the other
    // unresolved names in order of appearance. Worked out on first use; a
    // query the engine cannot read reports none (opening it then fails).
    std::vector<Parameter>& parameters();

    // Opens the query with the current parameter values.
    jet::Result<std::unique_ptr<jet::Recordset>> openRecordset();

  private:
    Database& owner_;
    std::string name_;
    std::string sql_;
    jet::QueryKind kind_;
    std::vector<std::string> fields_;
    std::vector<Parameter> parameters_;
    bool parametersRead_ = false;
};

}  // namespace db
