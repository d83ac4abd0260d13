#include "jet/sql_session.h"

#include <map>

#include <sqlite3.h>

#include "sql/access_collation.h"
#include "sql/function_registry.h"
#include "sql/parser.h"
#include "sql/statement_runner.h"
#include "sql/table_module.h"
#include "sql/table_recordset.h"
#include "sql/token.h"
#include "sql/translator.h"

namespace jet {

using sql::SqlType;

namespace {

ValueType fieldType(SqlType t) {
    const ValueType v = sql::valueTypeOf(t);
    if (t == SqlType::Guid)
        return ValueType::Text;  // shown as braced text
    return v == ValueType::Null ? ValueType::Text : v;
}

std::vector<RecordsetField> fieldsOf(const std::vector<sql::OutputColumn>& columns) {
    std::vector<RecordsetField> out;
    for (const auto& c : columns)
        out.push_back({c.name, fieldType(c.type)});
    return out;
}

class SqliteRecordset : public Recordset {
  public:
    explicit SqliteRecordset(std::unique_ptr<sql::StatementRunner> runner)
        : runner_(std::move(runner)), fields_(fieldsOf(runner_->columns())) {}
    const std::vector<RecordsetField>& fields() const override { return fields_; }
    bool next() override { return runner_->next(); }
    const std::vector<Value>& row() const override { return runner_->row(); }
    const Status& status() const override { return runner_->status(); }

  private:
    std::unique_ptr<sql::StatementRunner> runner_;
    std::vector<RecordsetField> fields_;
};

}  // namespace

class SqlSession::Impl : public sql::SqlCatalog {
  public:
    explicit Impl(const Database& db) : db_(db) {}
    ~Impl() override { sqlite3_close(connection_); }

    Status start() {
        if (sqlite3_open_v2(":memory:", &connection_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            return Status(ErrorCode::Invalid, "Cannot start SQLite.");
        }
        if (Status st = sql::registerAccessFunctions(connection_); !st)
            return st;
        return sql::registerTableModule(connection_, db_);
    }

    Result<sql::CatalogTable> table(std::string_view name) override {
        const TableDef* def = db_.findTable(name);
        if (!def)
            return Status(ErrorCode::NotFound, "no table");
        return exposed(db_, *def);
    }

    Result<sql::CatalogTable> externalTable(const std::string& path, const std::string& password,
                                            std::string_view name) override {
        auto other = db_.otherDatabase(path, password);
        if (!other)
            return Status(ErrorCode::Semantic, other.status().message());
        const TableDef* def = (*other)->findTable(name);
        if (!def) {
            return Status(ErrorCode::Semantic, "The database engine cannot find the input table '" +
                                                   std::string(name) + "' in '" + (*other)->path() +
                                                   "'.");
        }
        return exposed(**other, *def);
    }

    // `def` of `db` as a virtual table, a linked table through its back-end.
    // Failures to follow a link are not NotFound: the name itself was found.
    Result<sql::CatalogTable> exposed(const Database& db, const TableDef& def) {
        auto source = db.resolveTable(def);
        if (!source) {
            const Status& st = source.status();
            return Status(st.code() == ErrorCode::NotFound ? ErrorCode::Semantic : st.code(),
                          st.message());
        }
        const TableDef& local = *source->table;
        if (!local.definitionError.empty())
            return Status(ErrorCode::Corrupt, local.definitionError);
        auto module = moduleFor(*source->database);
        if (!module)
            return module.status();
        const std::string key = *module + '\x1f' + local.name;
        auto it = tables_.find(key);
        if (it == tables_.end()) {
            const std::string sqlName =
                sql::quoteIdentifier("tbl" + std::to_string(tables_.size() + 1));
            const std::string create = sql::createTableStatement(sqlName, local, *module);
            char* err = nullptr;
            if (sqlite3_exec(connection_, create.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
                std::string msg = err ? err : "unknown error";
                sqlite3_free(err);
                return Status(ErrorCode::Corrupt,
                              "Cannot read the table '" + def.name + "': " + msg);
            }
            sql::CatalogTable t{"temp." + sqlName, {}, &local};
            for (const Column& c : local.columns)
                t.columns.push_back(
                    {c.name, sql::typeOfColumn(c.typeCode), c.type() == ColumnType::Complex});
            it = tables_.emplace(key, std::move(t)).first;
        }
        return it->second;
    }

    // The table module reading `db`: "jet_table" for this file, one more
    // for each other file a statement reaches.
    Result<std::string> moduleFor(const Database& db) {
        if (&db == &db_)
            return std::string("jet_table");
        auto it = modules_.find(&db);
        if (it != modules_.end())
            return it->second;
        const std::string name = "jet_table_" + std::to_string(modules_.size() + 1);
        if (Status st = sql::registerTableModule(connection_, db, name); !st)
            return st;
        return modules_.emplace(&db, name).first->second;
    }

    std::optional<sql::CatalogQuery> query(std::string_view name) override {
        return sql::savedQuery(db_, name);
    }

    Result<std::vector<sql::PivotValue>> pivotValues(
        const std::string& text, const std::vector<sql::ParameterRef>& parameters) override {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(connection_, text.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            return Status(ErrorCode::Semantic,
                          std::string("The crosstab cannot run: ") + sqlite3_errmsg(connection_));
        }
        Status st = sql::StatementRunner::bindParameters(stmt, parameters, values_);
        if (!st && lenient_)
            st = Status::ok();
        std::vector<sql::PivotValue> out;
        int rc = SQLITE_ROW;
        while (st && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            sql::PivotValue v;
            const int t = sqlite3_column_type(stmt, 0);
            v.isNull = t == SQLITE_NULL;
            v.isText = t == SQLITE_TEXT;
            if (v.isText)
                v.text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            v.number = sqlite3_column_double(stmt, 0);
            out.push_back(v);
        }
        if (st && rc != SQLITE_DONE)
            st = sql::stepError(connection_, rc);
        sqlite3_finalize(stmt);
        if (!st)
            return st;
        return out;
    }

    // The SQL text a source stands for.
    Result<std::string> sourceText(const std::string& source) {
        if (const TableDef* t = db_.findTable(source))
            return "SELECT * FROM [" + t->name + "]";
        if (const QueryDef* q = db_.findQuery(source)) {
            if (!q->status.isOk())
                return q->status;
            switch (q->info.kind) {
                case QueryKind::Select:
                case QueryKind::Union:
                case QueryKind::Crosstab:
                    return q->info.sql;
                case QueryKind::PassThrough:
                    return Status(
                        ErrorCode::Unsupported,
                        "The query '" + q->name +
                            "' is a pass-through query for an ODBC server; it cannot be run here.");
                default:
                    return Status(ErrorCode::ReadOnly, sql::kActionQueryMessage);
            }
        }
        return source;
    }

    // `lenient`: parameters without a value read as Null (listing parameters
    // of a crosstab still needs its pivot values).
    Result<sql::Translation> translateSource(const std::string& source,
                                             const ParameterValues& values, bool lenient = false) {
        lenient_ = lenient;
        auto text = sourceText(source);
        if (!text)
            return text.status();
        auto parsed = sql::parseStatement(*text);
        if (!parsed)
            return parsed.status();
        values_ = values;
        return sql::translate(*parsed, *this);
    }

    sqlite3* connection() const { return connection_; }

    // The local table a source names, when its translation is the table's
    // plain scan and can be read without SQLite.
    const TableDef* plainTable(const std::string& source, const sql::Translation& t) const {
        const TableDef* def = db_.findTable(source);
        if (!def || def->isLinked() || !t.parameters.empty() || t.hiddenColumns != 0 ||
            t.topWithTies || t.columns.size() != def->columns.size())
            return nullptr;
        return def;
    }

    Result<std::unique_ptr<TableCursor>> openTable(const TableDef& def) const {
        return db_.openTable(def);
    }
    const Database& database() const { return db_; }

  private:
    const Database& db_;
    sqlite3* connection_ = nullptr;
    std::map<std::string, sql::CatalogTable> tables_;
    std::map<const Database*, std::string> modules_;
    ParameterValues values_;
    bool lenient_ = false;
};

SqlSession::SqlSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SqlSession::~SqlSession() = default;

Result<std::unique_ptr<SqlSession>> SqlSession::open(const Database& db) {
    auto impl = std::make_unique<Impl>(db);
    if (Status st = impl->start(); !st)
        return st;
    return std::unique_ptr<SqlSession>(new SqlSession(std::move(impl)));
}

Result<std::unique_ptr<Recordset>> SqlSession::openRecordset(const std::string& source,
                                                             const ParameterValues& parameters) {
    auto t = impl_->translateSource(source, parameters);
    if (!t)
        return t.status();
    if (const TableDef* def = impl_->plainTable(source, *t)) {
        return std::unique_ptr<Recordset>(new sql::TableRecordset(
            impl_->openTable(*def), t->columns, fieldsOf(t->columns), &impl_->database()));
    }
    auto runner =
        sql::StatementRunner::start(impl_->connection(), std::move(t.value()), parameters);
    if (!runner)
        return runner.status();
    return std::unique_ptr<Recordset>(new SqliteRecordset(std::move(runner.value())));
}

Result<std::vector<QueryParameter>> SqlSession::parameters(const std::string& source) {
    auto t = impl_->translateSource(source, {}, true);
    if (!t)
        return t.status();
    std::vector<QueryParameter> out;
    for (const auto& p : t->parameters)
        out.push_back({p.name, p.typeName, 0});
    return out;
}

Result<std::vector<RecordsetField>> SqlSession::fields(const std::string& source) {
    auto t = impl_->translateSource(source, {});
    if (!t)
        return t.status();
    return fieldsOf(t->columns);
}

}  // namespace jet
